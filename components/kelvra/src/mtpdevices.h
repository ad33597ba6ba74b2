#pragma once

// The MTP devices attached now, shared by the device list and the file
// system sessions on them.

#include "kelvra_p.h"
#include "mtptransport.h"

#include <chrono>

namespace kelvra {

struct MtpDevice
{
    MtpRawDevice raw;
    // Serialises the calls on the connection: libmtp handles one operation
    // on a device at a time.
    std::mutex io;
    std::unique_ptr<MtpConnection> connection; // null while it cannot be opened
    MtpFailure openFailure = MtpFailure::None;
    std::atomic<bool> gone{false};
    QString serialNumber, friendlyName, manufacturer, model;

    // The storages as last read; guarded by cacheMutex, so that memory values
    // can be answered while a copy holds io.
    std::mutex cacheMutex;
    QList<MtpStorage> storages;
    std::chrono::steady_clock::time_point lastTry;

    QList<MtpStorage> cachedStorages()
    {
        std::lock_guard<std::mutex> lock(cacheMutex);
        return storages;
    }
    // Reads the storages afresh; io must be held.
    bool readStorages();
};

// The device with that key, or null when it has gone.
std::shared_ptr<MtpDevice> mtpDevice(const QString &key);
// The descriptor the device watcher waits on for USB changes, or -1.
int mtpHotplugFd();
// Called by the watcher when that descriptor is readable.
void mtpHotplugEvent();
// Whether MTP devices are looked for at all.
bool mtpEnabled();

// The library's code for a failure of libmtp; otherwise is used when the
// failure says nothing more precise.
KELV_RESULT mtpResult(MtpFailure failure, KELV_RESULT otherwise);

} // namespace kelvra
