// MTP devices as phones: detection, opening, and the records the device list
// reports for them.

#include "mtpdevices.h"

#include <QRegularExpression>
#include <QSet>

#include <poll.h>

#include <algorithm>
#include <map>

namespace kelvra {

namespace {

using Clock = std::chrono::steady_clock;

// A device that could not be opened, or has no storages yet (a locked
// phone), is tried again this often, so that it appears soon after the
// user has unlocked it or chosen "File transfer".
constexpr auto s_retryEvery = std::chrono::milliseconds(1500);
// Without hot-plug events, devices are looked for this often.
constexpr auto s_detectEvery = std::chrono::milliseconds(1500);

struct Registry
{
    std::mutex mutex;
    bool chosen = false;
    std::shared_ptr<MtpTransport> transport;
    std::map<QString, std::shared_ptr<MtpDevice>> devices;
    bool detected = false;
    bool hotplugDirty = true;
    Clock::time_point lastDetect;
};

Registry &registry()
{
    static Registry r;
    return r;
}

// Must hold the registry's mutex.
std::shared_ptr<MtpTransport> transportLocked(Registry &r)
{
    if (!r.chosen) {
        r.chosen = true;
        if (qEnvironmentVariable("KELVRA_MTP") != QLatin1String("off"))
            r.transport = makeLibmtpTransport();
    }
    return r.transport;
}

QString cleanName(QString text, const QString &fallback)
{
    // Manufacturer and model become part of a configuration file name.
    static const QRegularExpression forbidden(QStringLiteral("[/\\\\;:*?\"<>|\\x00-\\x1f]"));
    text.replace(forbidden, QStringLiteral(" "));
    text = text.simplified().left(64);
    while (text.startsWith(QLatin1Char('.')))
        text.remove(0, 1);
    return text.isEmpty() ? fallback : text;
}

QString cleanSerial(const QString &text)
{
    QString serial = text.trimmed();
    static const QRegularExpression other(QStringLiteral("[^A-Za-z0-9._-]"));
    serial.replace(other, QStringLiteral("_"));
    while (serial.startsWith(QLatin1Char('.')))
        serial.remove(0, 1);
    return serial.left(64);
}

// Whether the transport has told of a USB change that the device watcher
// has not taken yet. A caller who asks right after a phone was unplugged
// gets the list without it, however soon the watcher wakes; the event is
// left for the watcher, which announces the change.
bool hotplugPending(MtpTransport &transport)
{
    const int fd = transport.hotplugFd();
    if (fd < 0)
        return false;
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN);
}

// Tries to open the device (again); the registry's mutex is held.
void openDevice(MtpTransport &transport, MtpDevice &device)
{
    device.lastTry = Clock::now();
    MtpFailure why = MtpFailure::None;
    std::unique_ptr<MtpConnection> connection = transport.open(device.raw, why);
    // Sessions read the connection and the failure under io alone.
    std::lock_guard<std::mutex> io(device.io);
    if (!connection) {
        device.openFailure = why == MtpFailure::None ? MtpFailure::Refused : why;
        return;
    }
    device.connection = std::move(connection);
    device.openFailure = MtpFailure::None;
    // The USB serial number stays the same whether the device opens or
    // not, so the phone keeps its serial number when it opens later.
    QString serial = cleanSerial(device.raw.usbSerial);
    if (serial.isEmpty())
        serial = cleanSerial(device.connection->serialNumber());
    if (!serial.isEmpty())
        device.serialNumber = serial;
    device.manufacturer = cleanName(device.connection->manufacturer(), device.manufacturer);
    device.model = cleanName(device.connection->model(), device.model);
    QString friendly = device.connection->friendlyName().simplified().left(128);
    device.friendlyName = friendly.isEmpty() ? device.model : friendly;
    device.readStorages();
}

std::shared_ptr<MtpDevice> newDevice(const MtpRawDevice &raw)
{
    auto device = std::make_shared<MtpDevice>();
    device->raw = raw;
    device->serialNumber = cleanSerial(raw.usbSerial);
    if (device->serialNumber.isEmpty())
        device->serialNumber = cleanSerial(QStringLiteral("mtp-%1-%2-").arg(raw.vendorId, 4, 16, QLatin1Char('0'))
                                               .arg(raw.productId, 4, 16, QLatin1Char('0'))
                                           + raw.key);
    device->manufacturer = cleanName(raw.vendor, QStringLiteral("Unknown"));
    device->model = cleanName(raw.product, QStringLiteral("MTP device"));
    device->friendlyName = device->model;
    return device;
}

// Brings the device list up to date; the registry's mutex is held.
void update(Registry &r)
{
    const std::shared_ptr<MtpTransport> transport = transportLocked(r);
    if (!transport)
        return;
    const Clock::time_point now = Clock::now();
    const bool periodic = transport->hotplugFd() < 0 && now - r.lastDetect >= s_detectEvery;
    if (!r.detected || r.hotplugDirty || periodic || hotplugPending(*transport)) {
        r.detected = true;
        r.hotplugDirty = false;
        r.lastDetect = now;
        std::map<QString, std::shared_ptr<MtpDevice>> next;
        const QList<MtpRawDevice> raws = transport->detect();
        for (const MtpRawDevice &raw : raws) {
            auto it = r.devices.find(raw.key);
            if (it != r.devices.end() && !it->second->gone.load()) {
                next.emplace(raw.key, it->second);
                r.devices.erase(it);
                continue;
            }
            auto device = newDevice(raw);
            openDevice(*transport, *device);
            next.emplace(raw.key, std::move(device));
        }
        // What is left has been unplugged: sessions on it end.
        for (auto &entry : r.devices)
            entry.second->gone.store(true);
        r.devices = std::move(next);
    }
    for (auto &entry : r.devices) {
        MtpDevice &device = *entry.second;
        if (now - device.lastTry < s_retryEvery)
            continue;
        if (!device.connection) {
            openDevice(*transport, device);
        } else if (device.cachedStorages().isEmpty()) {
            // A locked phone shows its storages once it is unlocked. A copy
            // that holds the device is left alone.
            std::unique_lock<std::mutex> io(device.io, std::try_to_lock);
            if (io.owns_lock()) {
                device.lastTry = now;
                device.readStorages();
            }
        }
    }
}

Phone phoneOf(MtpDevice &device)
{
    Phone phone;
    phone.kind = PhoneKind::Mtp;
    phone.deviceKey = device.raw.key;
    phone.serialNumber = device.serialNumber;
    phone.friendlyName = device.friendlyName;
    phone.manufacturer = device.manufacturer;
    phone.model = device.model;
    phone.media = {KELV_MEDIA_USB};
    // The first fixed storage is the phone memory "C:"; the others follow in
    // the device's order.
    QList<MtpStorage> storages = device.cachedStorages();
    std::stable_partition(storages.begin(), storages.end(), [](const MtpStorage &s) { return !s.removable(); });
    if (storages.size() > KELV_MAX_MEMORIES)
        storages.resize(KELV_MAX_MEMORIES);
    QByteArray fingerprint = "mtp\n" + device.raw.key.toUtf8() + '\n' + phone.serialNumber.toUtf8() + '\n'
        + phone.friendlyName.toUtf8() + '\n' + QByteArray::number(int(device.openFailure)) + '\n';
    QSet<QString> types;
    for (const MtpStorage &s : std::as_const(storages)) {
        Memory memory;
        QString type = s.description;
        type.replace(QLatin1Char(','), QLatin1Char(' '));
        type = type.simplified().left(60);
        if (type.isEmpty() || type == QLatin1String("N/A"))
            type = s.removable() ? QStringLiteral("Memory card") : QStringLiteral("Phone memory");
        const QString base = type;
        for (int n = 2; types.contains(type); ++n)
            type = base + QLatin1Char(' ') + QString::number(n);
        types.insert(type);
        memory.type = type;
        memory.path = QString::number(s.id);
        memory.capacity = qint64(s.capacity);
        phone.memories.append(memory);
        fingerprint += QByteArray::number(s.id) + ' ' + type.toUtf8() + '\n';
    }
    phone.manifest = fingerprint;
    applyVideoDefaults(phone);
    return phone;
}

} // namespace

bool MtpDevice::readStorages()
{
    QList<MtpStorage> list;
    const bool ok = connection && connection->storages(list);
    if (!ok && connection && connection->failure() == MtpFailure::Gone)
        gone.store(true);
    std::lock_guard<std::mutex> lock(cacheMutex);
    storages = ok ? list : QList<MtpStorage>();
    return ok;
}

QList<Phone> mtpPhones()
{
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    update(r);
    QList<Phone> phones;
    for (auto &entry : r.devices) {
        if (!entry.second->gone.load())
            phones.append(phoneOf(*entry.second));
    }
    return phones;
}

std::shared_ptr<MtpDevice> mtpDevice(const QString &key)
{
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    const auto it = r.devices.find(key);
    if (it == r.devices.end() || it->second->gone.load())
        return nullptr;
    return it->second;
}

std::shared_ptr<MtpTransport> mtpTransport()
{
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    return transportLocked(r);
}

void setMtpTransport(std::shared_ptr<MtpTransport> transport)
{
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    for (auto &entry : r.devices)
        entry.second->gone.store(true);
    r.devices.clear();
    r.transport = std::move(transport);
    r.chosen = true;
    r.detected = false;
}

bool mtpEnabled()
{
    return mtpTransport() != nullptr;
}

int mtpHotplugFd()
{
    const auto transport = mtpTransport();
    return transport ? transport->hotplugFd() : -1;
}

void mtpHotplugEvent()
{
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    if (r.transport)
        r.transport->drainHotplug();
    r.hotplugDirty = true;
}

KELV_RESULT mtpResult(MtpFailure failure, KELV_RESULT otherwise)
{
    switch (failure) {
    case MtpFailure::Busy:
        return KELV_ERR_CONNECTION_TAKEN;
    case MtpFailure::NotMtp:
        return KELV_ERR_MEDIA_NOT_ACTIVE;
    case MtpFailure::Gone:
        return KELV_ERR_CONNECTION_LOST;
    case MtpFailure::Full:
        return KELV_ERR_MEMORY_FULL;
    case MtpFailure::TooLarge:
        return KELV_ERR_FILE_TOO_BIG;
    case MtpFailure::Cancelled:
        return KELV_ERR_CANCELLED;
    case MtpFailure::None:
    case MtpFailure::Refused:
        break;
    }
    return otherwise;
}

} // namespace kelvra
