#include "phonesinfo.h"
#include "kelvra.h"
#include "phoneinfo.h"

namespace Orvak_API {

PhonesInfo::PhonesInfo() : m_records(new KELV_DEVICE_INFO[MaxDevices]()) {}

PhonesInfo::~PhonesInfo()
{
    release();
    delete[] m_records;
}

void PhonesInfo::release()
{
    for (PhoneInfo *phone : std::as_const(*this)) {
        phone->closeFileSystem();
        delete phone;
    }
    clear();
    if (m_count > 0)
        Kelv::FreeDeviceStructure(m_count, m_records);
    // Whatever the library left, nothing may point to released strings.
    std::fill(m_records, m_records + MaxDevices, KELV_DEVICE_INFO{});
    m_count = 0;
}

PhoneInfo *PhonesInfo::findBySerial(const QString &serial) const
{
    if (serial.isEmpty())
        return nullptr;
    for (PhoneInfo *phone : *this) {
        if (phone->serialNumber() == serial)
            return phone;
    }
    return nullptr;
}

PhoneInfo *PhonesInfo::bestConnected() const
{
    PhoneInfo *best = nullptr;
    uint bestMedia = 0;
    for (PhoneInfo *phone : *this) {
        const uint media = phone->bestMedia();
        if (media > bestMedia) {
            best = phone;
            bestMedia = media;
        }
        if (bestMedia >= KELV_MEDIA_USB)
            break;
    }
    return best;
}

} // namespace Orvak_API
