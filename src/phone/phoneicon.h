#pragma once

#include <QImage>
#include <QList>
#include <QPixmap>

namespace Orvak_API {

class PhoneInfo;

// The pictures of a phone, fetched from the phone itself at the place its
// configuration files name, in the order of the icon file's entries. Empty
// when the phone has no picture or it cannot be read. Building one reads from
// the phone and may run on any thread; pictures() makes pixmaps and belongs
// to the GUI thread.
class API_PhoneIcon
{
public:
    explicit API_PhoneIcon(PhoneInfo *phone);

    QList<QImage> images() const { return m_images; }
    QList<QPixmap> pictures() const;

private:
    QList<QImage> m_images;
};

} // namespace Orvak_API
