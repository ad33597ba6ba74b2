#pragma once

// A scripted MTP device, put in libmtp's place at the library's MTP
// boundary (mtptransport.h). This is a fake because no USB phone is
// reachable on a build machine: everything above the boundary (detection,
// storages as memories, paths, copies, errors) is the library's real code.

#include "mtptransport.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace FakeMtp {

using namespace kelvra;

struct Object
{
    uint32_t id = 0;
    uint32_t parent = 0;
    uint32_t storage = 0;
    QString name;
    QByteArray data;
    bool folder = false;
    qint64 modified = 1700000000;
};

// One phone: its storages and objects, and what it does wrong on purpose.
struct Device
{
    MtpRawDevice raw;
    QString serial, friendly, manufacturer, model;
    QList<MtpStorage> storages;
    std::atomic<bool> locked{false};         // answers with no storages
    MtpFailure openFailure = MtpFailure::None; // open fails with this
    std::atomic<bool> plugged{true};
    // Called from a transfer after each chunk with the bytes done so far.
    std::function<void(uint64_t)> duringTransfer;
    std::atomic<int> sends{0};
    // A transfer fails with failWith once this many bytes are done (0: never).
    std::atomic<uint64_t> failAt{0};
    MtpFailure failWith = MtpFailure::Refused;

    std::mutex mutex;
    std::map<uint32_t, Object> objects;
    uint32_t nextId = 100;

    uint32_t add(uint32_t storage, uint32_t parent, const QString &name, bool folder, const QByteArray &data = {})
    {
        std::lock_guard<std::mutex> lock(mutex);
        Object o;
        o.id = nextId++;
        o.parent = parent;
        o.storage = storage;
        o.name = name;
        o.folder = folder;
        o.data = data;
        objects[o.id] = o;
        return o.id;
    }
    // The object at a path of names from a storage's root, or null.
    const Object *find(uint32_t storage, const QStringList &path)
    {
        std::lock_guard<std::mutex> lock(mutex);
        uint32_t parent = 0;
        const Object *found = nullptr;
        for (const QString &name : path) {
            found = nullptr;
            for (const auto &entry : objects) {
                if (entry.second.storage == storage && entry.second.parent == parent && entry.second.name == name)
                    found = &entry.second;
            }
            if (!found)
                return nullptr;
            parent = found->id;
        }
        return found;
    }
    // The names in a folder (a path of names; empty: the storage's root),
    // or ["?"] when the folder is not there.
    QStringList names(uint32_t storage, const QStringList &folder)
    {
        uint32_t parent = 0;
        if (!folder.isEmpty()) {
            const Object *o = find(storage, folder);
            if (!o)
                return {QStringLiteral("?")};
            parent = o->id;
        }
        std::lock_guard<std::mutex> lock(mutex);
        QStringList out;
        for (const auto &entry : objects) {
            if (entry.second.storage == storage && entry.second.parent == parent)
                out.append(entry.second.name);
        }
        out.sort();
        return out;
    }
    QByteArray data(uint32_t storage, const QStringList &path)
    {
        const Object *o = find(storage, path);
        std::lock_guard<std::mutex> lock(mutex);
        return o ? o->data : QByteArray("?");
    }
    int count()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return int(objects.size());
    }
};

class Connection final : public MtpConnection
{
public:
    explicit Connection(std::shared_ptr<Device> d) : m_d(std::move(d)) {}
    QString serialNumber() override { return m_d->serial; }
    QString friendlyName() override { return m_d->friendly; }
    QString manufacturer() override { return m_d->manufacturer; }
    QString model() override { return m_d->model; }

    bool storages(QList<MtpStorage> &out) override
    {
        if (!alive())
            return false;
        if (!m_d->locked) {
            std::lock_guard<std::mutex> lock(m_d->mutex);
            out = m_d->storages;
        }
        return true;
    }
    bool list(uint32_t storage, uint32_t parent, QList<MtpObject> &out) override
    {
        if (!alive())
            return false;
        std::lock_guard<std::mutex> lock(m_d->mutex);
        for (const auto &entry : m_d->objects) {
            const Object &o = entry.second;
            if (o.storage == storage && o.parent == parent)
                out.append({o.id, o.parent, o.storage, o.name, uint64_t(o.data.size()), o.modified, o.folder});
        }
        return true;
    }
    uint32_t createFolder(const QString &name, uint32_t parent, uint32_t storage) override
    {
        return alive() ? m_d->add(storage, parent, name, true) : 0;
    }
    bool remove(uint32_t id) override
    {
        if (!alive())
            return false;
        std::lock_guard<std::mutex> lock(m_d->mutex);
        return m_d->objects.erase(id) == 1 || refuse();
    }
    bool rename(uint32_t id, const QString &name) override
    {
        if (!alive())
            return false;
        std::lock_guard<std::mutex> lock(m_d->mutex);
        auto it = m_d->objects.find(id);
        if (it == m_d->objects.end())
            return refuse();
        it->second.name = name;
        return true;
    }
    bool send(int fd, MtpObject &object, const MtpProgress &progress) override
    {
        if (!alive())
            return false;
        ++m_d->sends;
        object.id = m_d->add(object.storage, object.parent, object.name, false);
        QByteArray data;
        char buffer[64 * 1024];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0)
                return refuse();
            if (n == 0)
                break;
            data.append(buffer, n);
            if (m_d->duringTransfer)
                m_d->duringTransfer(uint64_t(data.size()));
            if (!alive())
                return false;
            if (failing(uint64_t(data.size())))
                return false;
            if (progress && progress(uint64_t(data.size()), object.size)) {
                m_failure = MtpFailure::Cancelled;
                return false;
            }
        }
        std::lock_guard<std::mutex> lock(m_d->mutex);
        m_d->objects[object.id].data = data;
        for (MtpStorage &s : m_d->storages) {
            if (s.id == object.storage)
                s.free -= std::min<uint64_t>(s.free, uint64_t(data.size()));
        }
        return true;
    }
    bool receive(uint32_t id, int fd, const MtpProgress &progress) override
    {
        if (!alive())
            return false;
        QByteArray data;
        {
            std::lock_guard<std::mutex> lock(m_d->mutex);
            auto it = m_d->objects.find(id);
            if (it == m_d->objects.end())
                return refuse();
            data = it->second.data;
        }
        for (qsizetype done = 0; done < data.size();) {
            const qsizetype n = std::min<qsizetype>(64 * 1024, data.size() - done);
            if (::write(fd, data.constData() + done, size_t(n)) != n)
                return refuse();
            done += n;
            if (m_d->duringTransfer)
                m_d->duringTransfer(uint64_t(done));
            if (!alive())
                return false;
            if (failing(uint64_t(done)))
                return false;
            if (progress && progress(uint64_t(done), uint64_t(data.size()))) {
                m_failure = MtpFailure::Cancelled;
                return false;
            }
        }
        return true;
    }
    MtpFailure failure() override { return m_failure; }
    QString failureText() override { return QStringLiteral("scripted failure"); }

private:
    bool alive()
    {
        m_failure = m_d->plugged.load() ? MtpFailure::None : MtpFailure::Gone;
        return m_d->plugged.load();
    }
    bool failing(uint64_t done)
    {
        const uint64_t at = m_d->failAt.load();
        if (at == 0 || done < at)
            return false;
        m_failure = m_d->failWith;
        return true;
    }
    bool refuse()
    {
        m_failure = MtpFailure::Refused;
        return false;
    }

    std::shared_ptr<Device> m_d;
    MtpFailure m_failure = MtpFailure::None;
};

// The USB bus: devices are plugged in and out by the test, and the library
// hears of it as of a hot-plug event.
class Transport final : public MtpTransport
{
public:
    Transport() : m_event(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}
    ~Transport() override { ::close(m_event); }

    void plug(const std::shared_ptr<Device> &device)
    {
        device->plugged.store(true);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_devices.append(device);
        }
        signal();
    }
    void unplug(const std::shared_ptr<Device> &device)
    {
        device->plugged.store(false);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_devices.removeAll(device);
        }
        signal();
    }

    QList<MtpRawDevice> detect() override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        QList<MtpRawDevice> out;
        for (const auto &d : std::as_const(m_devices))
            out.append(d->raw);
        return out;
    }
    std::unique_ptr<MtpConnection> open(const MtpRawDevice &raw, MtpFailure &why) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const auto &d : std::as_const(m_devices)) {
            if (d->raw.key != raw.key)
                continue;
            if (d->openFailure != MtpFailure::None) {
                why = d->openFailure;
                return nullptr;
            }
            return std::make_unique<Connection>(d);
        }
        why = MtpFailure::Gone;
        return nullptr;
    }
    int hotplugFd() override { return m_event; }
    void drainHotplug() override
    {
        uint64_t value;
        while (::read(m_event, &value, sizeof value) > 0) {
        }
    }

private:
    void signal()
    {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_event, &one, sizeof one);
    }

    int m_event;
    std::mutex m_mutex;
    QList<std::shared_ptr<Device>> m_devices;
};

// A phone as an Android phone of today shows itself: internal storage and a
// memory card, with a few folders of its own.
inline std::shared_ptr<Device> androidPhone(const QString &serial, int address = 5)
{
    auto d = std::make_shared<Device>();
    d->raw.key = QStringLiteral("1:%1").arg(address);
    d->raw.usbSerial = serial;
    d->raw.vendor = QStringLiteral("Vendor");
    d->raw.product = QStringLiteral("Phone");
    d->serial = serial;
    d->friendly = QStringLiteral("Anna's phone");
    d->manufacturer = QStringLiteral("Orvak");
    d->model = QStringLiteral("Nova 7");
    // The card comes first in the device's order, as some phones tell it.
    d->storages = {{0x00020001, 4, 32ULL << 30, 20ULL << 30, QStringLiteral("SD card")},
                   {0x00010001, 3, 128ULL << 30, 50ULL << 30, QStringLiteral("Internal shared storage")}};
    d->add(0x00010001, 0, QStringLiteral("DCIM"), true);
    d->add(0x00010001, 0, QStringLiteral("Download"), true);
    return d;
}

} // namespace FakeMtp
