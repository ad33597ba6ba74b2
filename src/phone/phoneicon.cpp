#include "phoneicon.h"
#include "confserver.h"
#include "icodecoder.h"
#include "phoneinfo.h"
#include "videocapabilities.h"

namespace Orvak_API {

API_PhoneIcon::API_PhoneIcon(PhoneInfo *phone)
{
    if (!phone)
        return;
    const API_ConfServer conf(phone->serialNumber());
    if (!conf.isLoaded())
        return;
    Phone_VideoCapabilities caps;
    if (!conf.readVideoCapabilities(caps))
        return;
    QByteArray data;
    if (!phone->readFile(caps.imageFile, conf.phonePictureFolder(), data))
        return;
    m_images = IcoDecoder::decode(data);
}

QList<QPixmap> API_PhoneIcon::pictures() const
{
    QList<QPixmap> pixmaps;
    pixmaps.reserve(m_images.size());
    for (const QImage &image : m_images)
        pixmaps.append(QPixmap::fromImage(image));
    return pixmaps;
}

} // namespace Orvak_API
