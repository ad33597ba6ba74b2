#pragma once

#include "kelvraapi.h"

#include <QList>
#include <QString>

namespace Orvak_API {

class PhoneInfo;

// The attached phones as one PhoneManagement::getPhones saw them: it owns the
// PhoneInfo objects and the device records they point into. A snapshot; it
// changes only when refilled. Use it from one thread at a time.
class PhonesInfo : public QList<PhoneInfo *>
{
public:
    static constexpr uint32_t MaxDevices = 32;

    PhonesInfo();
    ~PhonesInfo();
    PhonesInfo(const PhonesInfo &) = delete;
    PhonesInfo &operator=(const PhonesInfo &) = delete;

    // The first phone whose serial number equals serial (case-sensitive), or
    // null; null for an empty serial.
    PhoneInfo *findBySerial(const QString &serial) const;
    // The phone with the best connection medium, the first of equals; USB
    // (16) or better ends the search. Null when no phone has a connection.
    PhoneInfo *bestConnected() const;

    // Closes every phone's file system, deletes the phones and releases the
    // device records.
    void release();

    KELV_DEVICE_INFO *records() { return m_records; }
    uint32_t &recordCount() { return m_count; }

private:
    KELV_DEVICE_INFO *m_records;
    uint32_t m_count = 0;
};

} // namespace Orvak_API
