#pragma once

// The boundary between the MTP backend and libmtp. The library talks to MTP
// devices only through these two interfaces; libmtptransport.cpp implements
// them on libmtp, and tests put a scripted device in its place (no USB phone
// is reachable on a build machine).

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace kelvra {

// An attached USB device that speaks MTP, before it is opened.
struct MtpRawDevice
{
    QString key;        // "<bus>:<address>", unique while it stays plugged in
    QString usbSerial;  // the USB serial number, when the system tells it
    QString vendor;     // names from libmtp's device list, may be empty
    QString product;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
};

struct MtpStorage
{
    uint32_t id = 0;
    uint16_t type = 0; // 1 fixed ROM, 2 removable ROM, 3 fixed RAM, 4 removable RAM
    uint64_t capacity = 0;
    uint64_t free = 0;
    QString description;

    bool removable() const { return type == 2 || type == 4; }
};

struct MtpObject
{
    uint32_t id = 0;
    uint32_t parent = 0; // 0: the storage's root
    uint32_t storage = 0;
    QString name;
    uint64_t size = 0;
    qint64 modified = 0; // seconds since 1970, UTC
    bool folder = false;
};

// What went wrong in the last call, as far as the library needs to know.
enum class MtpFailure {
    None,
    Busy,       // another program holds the device
    NotMtp,     // the device does not offer its files (charging or PTP mode)
    Gone,       // unplugged, or it stopped answering
    Full,       // the storage is full
    TooLarge,   // the storage cannot hold an object that big
    Cancelled,  // the progress callback asked to stop
    Refused,    // the device refused the operation
};

// Called during transfers with the bytes done and the total; returning true
// stops the transfer.
using MtpProgress = std::function<bool(uint64_t done, uint64_t total)>;

// One opened device. Not thread-safe: the backend serialises the calls.
class MtpConnection
{
public:
    virtual ~MtpConnection() = default;
    virtual QString serialNumber() = 0;
    virtual QString friendlyName() = 0;
    virtual QString manufacturer() = 0;
    virtual QString model() = 0;
    // Reads the storages afresh; a locked phone has none.
    virtual bool storages(QList<MtpStorage> &out) = 0;
    virtual bool list(uint32_t storage, uint32_t parent, QList<MtpObject> &out) = 0;
    // The new folder's id, or 0.
    virtual uint32_t createFolder(const QString &name, uint32_t parent, uint32_t storage) = 0;
    virtual bool remove(uint32_t id) = 0;
    virtual bool rename(uint32_t id, const QString &name) = 0;
    // Sends fd's data as object (name, size, parent, storage); object.id is
    // set as soon as the device has made the object, also when the transfer
    // then fails, so that the caller can remove it.
    virtual bool send(int fd, MtpObject &object, const MtpProgress &progress) = 0;
    virtual bool receive(uint32_t id, int fd, const MtpProgress &progress) = 0;
    virtual MtpFailure failure() = 0;
    // The device's or libmtp's own words about the last failure, for the log.
    virtual QString failureText() = 0;
};

class MtpTransport
{
public:
    virtual ~MtpTransport() = default;
    virtual QList<MtpRawDevice> detect() = 0;
    // Null on failure, with the reason in why.
    virtual std::unique_ptr<MtpConnection> open(const MtpRawDevice &device, MtpFailure &why) = 0;
    // A descriptor that becomes readable when USB devices may have come or
    // gone, or -1 when the transport cannot tell (then devices are looked
    // for periodically).
    virtual int hotplugFd() = 0;
    virtual void drainHotplug() = 0;
};

// The transport in use: libmtp's unless one was set. Null when MTP is
// switched off ($KELVRA_MTP=off).
std::shared_ptr<MtpTransport> mtpTransport();
// Replaces the transport (tests); the devices found so far are forgotten.
void setMtpTransport(std::shared_ptr<MtpTransport> transport);
// libmtptransport.cpp
std::shared_ptr<MtpTransport> makeLibmtpTransport();

} // namespace kelvra
