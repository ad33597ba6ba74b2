// KelvDevices: the device list, device-management sessions, and the watcher
// that turns changes of the devices folder into device events.

#include "kelvra_p.h"
#include "mtpdevices.h"
#include "kelvrapaths.h"

#include <QDir>
#include <QHash>
#include <QObject>
#include <QThread>

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <thread>
#include <vector>

namespace kelvra {

std::atomic<int> g_devicesUsers{0};
std::atomic<int> g_filesUsers{0};
std::atomic<int> g_commonUsers{0};

namespace {

// One registered sink. Events reach it through a QObject living on the
// thread that registered it, so the sink runs on that thread's event loop.
struct Registration
{
    KELVHANDLE session = nullptr;
    IKelvDevicesNotify *sink = nullptr;
    QObject *context = nullptr;
    // Held while the sink runs, so that unregistering from another thread
    // waits for a running call; recursive because the sink may unregister.
    std::recursive_mutex delivering;
    bool alive = true;
};

struct DmSession
{
};

enum class Event { ListUpdated, Added, Removed, Updated };

struct Devices
{
    std::mutex control; // serialises initialise and terminate
    std::mutex mutex;   // guards registrations
    std::vector<std::shared_ptr<Registration>> registrations;
    HandleTable<DmSession> sessions;
    std::thread watcher;
    int stopFd = -1;

    // A process may exit with the module still initialised.
    ~Devices()
    {
        if (!watcher.joinable())
            return;
        const uint64_t one = 1;
        if (write(stopFd, &one, sizeof one) == sizeof one)
            watcher.join();
        else
            watcher.detach();
    }
};

Devices &devices()
{
    static Devices d;
    return d;
}

void deliver(const std::shared_ptr<Registration> &reg, Event event, const QString &serial, uint32_t status)
{
    std::lock_guard<std::recursive_mutex> lock(reg->delivering);
    if (!reg->alive)
        return;
    std::unique_ptr<wchar_t, decltype(&std::free)> sn(dupWide(serial), &std::free);
    switch (event) {
    case Event::ListUpdated:
        reg->sink->OnDeviceListUpdated();
        break;
    case Event::Added:
        reg->sink->OnDeviceAdded(sn.get(), status);
        break;
    case Event::Removed:
        reg->sink->OnDeviceRemoved(sn.get(), status);
        break;
    case Event::Updated:
        reg->sink->OnDeviceUpdated(sn.get(), status);
        break;
    }
}

void post(Event event, const QString &serial = QString(), uint32_t status = 0)
{
    Devices &d = devices();
    std::lock_guard<std::mutex> lock(d.mutex);
    for (const auto &reg : d.registrations) {
        QMetaObject::invokeMethod(
            reg->context, [reg, event, serial, status] { deliver(reg, event, serial, status); },
            Qt::QueuedConnection);
    }
}

// Compares two snapshots of the devices folder and posts what changed.
void announceChanges(const QList<Phone> &before, const QList<Phone> &after)
{
    QHash<QString, const Phone *> old;
    for (const Phone &p : before)
        old.insert(p.serialNumber, &p);
    bool changed = false;
    for (const Phone &p : after) {
        const Phone *was = old.take(p.serialNumber);
        if (!was) {
            post(Event::Added, p.serialNumber, KELV_DEVICE_STATUS_CONNECTED);
            changed = true;
        } else if (was->manifest != p.manifest || was->folder != p.folder) {
            post(Event::Updated, p.serialNumber, KELV_DEVICE_STATUS_CONNECTED | KELV_DEVICE_STATUS_CHANGED);
            changed = true;
        }
    }
    for (const Phone &p : before) {
        if (old.contains(p.serialNumber)) {
            post(Event::Removed, p.serialNumber, KELV_DEVICE_STATUS_DISCONNECTED);
            changed = true;
        }
    }
    if (changed)
        post(Event::ListUpdated);
}

// Watches the devices folder and each phone folder's manifest. Any change is
// followed by a short quiet period (so that a folder copied in with its
// manifest is one arrival), then a rescan compared with the last one.
void watch(int stopFd, QList<Phone> known)
{
    const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0) {
        std::perror("kelvra: inotify_init1");
        return;
    }
    const QString root = KelvraPaths::devicesFolder();
    int rootWatch = -1;
    QHash<int, QString> phoneWatches;
    const auto syncWatches = [&] {
        if (rootWatch < 0) {
            rootWatch = inotify_add_watch(fd, QFile::encodeName(root).constData(),
                                          IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF
                                              | IN_MOVE_SELF | IN_ONLYDIR);
        }
        const QStringList folders = QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QSet<QString> wanted;
        for (const QString &name : folders)
            wanted.insert(name);
        for (auto it = phoneWatches.begin(); it != phoneWatches.end();) {
            if (!wanted.remove(it.value())) {
                inotify_rm_watch(fd, it.key());
                it = phoneWatches.erase(it);
            } else {
                ++it;
            }
        }
        for (const QString &name : std::as_const(wanted)) {
            const int wd = inotify_add_watch(fd, QFile::encodeName(root + QLatin1Char('/') + name).constData(),
                                             IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_CREATE
                                                 | IN_ONLYDIR);
            if (wd >= 0)
                phoneWatches.insert(wd, name);
        }
    };
    syncWatches();

    alignas(inotify_event) char buffer[16 * 1024];
    // One rescan once the watches are in place catches what changed between
    // the caller's snapshot and now.
    bool dirty = true;
    // Volumes are mounted after their folder is made, and a phone that was
    // locked shows its storages without a USB event: both are looked for
    // once a second.
    const bool periodic = !mountRoots().isEmpty() || mtpEnabled();
    for (;;) {
        const int usb = mtpHotplugFd();
        pollfd fds[3] = {{stopFd, POLLIN, 0}, {fd, POLLIN, 0}, {usb, POLLIN, 0}};
        // Settle for 150 ms after a change; poll for a missing devices folder
        // (and for volumes and MTP devices) once a second; otherwise sleep
        // until something happens.
        const int timeout = dirty ? 150 : (rootWatch < 0 || periodic ? 1000 : -1);
        const int n = poll(fds, usb >= 0 ? 3 : 2, timeout);
        if (n < 0 && errno != EINTR)
            break;
        if (fds[0].revents)
            break;
        if (n > 0 && usb >= 0 && (fds[2].revents & POLLIN)) {
            mtpHotplugEvent();
            dirty = true;
            if (!(fds[1].revents & POLLIN))
                continue;
        }
        if (n > 0 && (fds[1].revents & POLLIN)) {
            ssize_t len;
            while ((len = read(fd, buffer, sizeof buffer)) > 0) {
                for (char *p = buffer; p < buffer + len;) {
                    const auto *ev = reinterpret_cast<const inotify_event *>(p);
                    p += sizeof(inotify_event) + ev->len;
                    if (ev->wd == rootWatch) {
                        if (ev->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED))
                            rootWatch = -1;
                        dirty = true;
                    } else if (phoneWatches.contains(ev->wd)) {
                        if (ev->len > 0 && qstrcmp(ev->name, KELV_MANIFEST_FILE_NAME) == 0)
                            dirty = true;
                    }
                }
            }
            continue;
        }
        if (n == 0 && (dirty || rootWatch < 0 || periodic)) {
            dirty = false;
            syncWatches();
            QList<Phone> now = scanDevices();
            writeConfigFiles(now);
            announceChanges(known, now);
            known = std::move(now);
        }
    }
    close(fd);
}

} // namespace
} // namespace kelvra

using namespace kelvra;

extern "C" {

KELV_RESULT KelvDevices_Initialize(uint32_t dwVersion, uint32_t)
{
    if (dwVersion > KELV_API_VERSION)
        return KELV_ERR_VERSION_NOT_SUPPORTED;
    Devices &d = devices();
    std::lock_guard<std::mutex> control(d.control);
    if (g_devicesUsers.fetch_add(1) > 0)
        return KELV_OK;
    QDir().mkpath(KelvraPaths::devicesFolder());
    QList<Phone> phones = scanDevices();
    writeConfigFiles(phones);
    d.stopFd = eventfd(0, EFD_CLOEXEC);
    if (d.stopFd < 0) {
        g_devicesUsers.fetch_sub(1);
        return KELV_ERR_DLL_INIT;
    }
    d.watcher = std::thread(watch, d.stopFd, std::move(phones));
    return KELV_OK;
}

KELV_RESULT KelvDevices_Terminate(uint32_t)
{
    Devices &d = devices();
    std::lock_guard<std::mutex> control(d.control);
    int users = g_devicesUsers.load();
    do {
        if (users <= 0)
            return KELV_ERR_NOT_INITIALIZED;
    } while (!g_devicesUsers.compare_exchange_weak(users, users - 1));
    if (users > 1)
        return KELV_OK;
    const uint64_t one = 1;
    if (write(d.stopFd, &one, sizeof one) < 0)
        std::perror("kelvra: stopping the device watcher");
    if (d.watcher.joinable())
        d.watcher.join();
    close(d.stopFd);
    d.stopFd = -1;
    std::vector<std::shared_ptr<Registration>> registrations;
    {
        std::lock_guard<std::mutex> lock(d.mutex);
        registrations.swap(d.registrations);
    }
    for (const auto &reg : registrations) {
        std::lock_guard<std::recursive_mutex> lock(reg->delivering);
        reg->alive = false;
        reg->context->deleteLater();
    }
    d.sessions.takeAll();
    return KELV_OK;
}

uint32_t KelvDevices_GetAPIVersion(void)
{
    return KELV_API_VERSION;
}

KELV_RESULT KELVOpenDM(KELVHANDLE *phDM)
{
    if (g_devicesUsers.load() <= 0)
        return KELV_ERR_NOT_INITIALIZED;
    if (!phDM)
        return KELV_ERR_INVALID_POINTER;
    *phDM = devices().sessions.add(std::make_shared<DmSession>());
    return KELV_OK;
}

KELV_RESULT KELVCloseDM(KELVHANDLE hDM)
{
    Devices &d = devices();
    if (!d.sessions.take(hDM))
        return KELV_ERR_INVALID_HANDLE;
    std::lock_guard<std::mutex> lock(d.mutex);
    for (auto it = d.registrations.begin(); it != d.registrations.end();) {
        if ((*it)->session == hDM) {
            std::lock_guard<std::recursive_mutex> deliverLock((*it)->delivering);
            (*it)->alive = false;
            (*it)->context->deleteLater();
            it = d.registrations.erase(it);
        } else {
            ++it;
        }
    }
    return KELV_OK;
}

KELV_RESULT KELVRegisterDMNotifyIF(KELVHANDLE hDM, uint32_t dwOption, IKelvDevicesNotify *pSink)
{
    Devices &d = devices();
    if (g_devicesUsers.load() <= 0)
        return KELV_ERR_NOT_INITIALIZED;
    if (!d.sessions.get(hDM))
        return KELV_ERR_INVALID_HANDLE;
    if (!pSink)
        return KELV_ERR_INVALID_POINTER;
    std::lock_guard<std::mutex> lock(d.mutex);
    auto found = std::find_if(d.registrations.begin(), d.registrations.end(),
                              [&](const auto &r) { return r->session == hDM && r->sink == pSink; });
    if (dwOption == KELV_NOTIFY_REGISTER) {
        if (found != d.registrations.end())
            return KELV_ERR_ALREADY_REGISTERED;
        auto reg = std::make_shared<Registration>();
        reg->session = hDM;
        reg->sink = pSink;
        reg->context = new QObject; // lives on the registering thread
        d.registrations.push_back(std::move(reg));
        return KELV_OK;
    }
    if (dwOption == KELV_NOTIFY_UNREGISTER) {
        if (found == d.registrations.end())
            return KELV_ERR_NOT_FOUND;
        const auto reg = *found;
        d.registrations.erase(found);
        std::lock_guard<std::recursive_mutex> deliverLock(reg->delivering);
        reg->alive = false;
        if (reg->context->thread() == QThread::currentThread())
            delete reg->context;
        else
            reg->context->deleteLater();
        return KELV_OK;
    }
    return KELV_ERR_INVALID_PARAMETER;
}

KELV_RESULT KELVGetDevices(KELVHANDLE hDM, uint32_t *pdwCount, KELV_DEVICE_INFO *pDevices)
{
    if (g_devicesUsers.load() <= 0)
        return KELV_ERR_NOT_INITIALIZED;
    if (!devices().sessions.get(hDM))
        return KELV_ERR_INVALID_HANDLE;
    if (!pdwCount || (!pDevices && *pdwCount > 0))
        return KELV_ERR_INVALID_POINTER;
    const QList<Phone> phones = scanDevices();
    writeConfigFiles(phones);
    const uint32_t count = std::min<uint32_t>(*pdwCount, uint32_t(phones.size()));
    for (uint32_t i = 0; i < count; ++i) {
        const Phone &p = phones.at(int(i));
        KELV_DEVICE_INFO &info = pDevices[i];
        info.pstrSerialNumber = dupWide(p.serialNumber);
        info.pstrFriendlyName = dupWide(p.friendlyName);
        info.pstrModel = dupWide(p.model);
        info.pstrManufacturer = dupWide(p.manufacturer);
        info.dwNumberOfItems = uint32_t(p.media.size());
        info.pItems = static_cast<KELV_CONNECTION_INFO *>(std::calloc(p.media.size(), sizeof(KELV_CONNECTION_INFO)));
        for (int m = 0; info.pItems && m < p.media.size(); ++m) {
            info.pItems[m].dwState = 1;
            info.pItems[m].dwMedia = p.media.at(m);
        }
        if (!info.pstrSerialNumber || !info.pstrFriendlyName || !info.pstrModel || !info.pstrManufacturer
            || !info.pItems) {
            KELVFreeDeviceStructure(i + 1, pDevices);
            *pdwCount = 0;
            return KELV_ERR_OUT_OF_MEMORY;
        }
    }
    *pdwCount = count;
    return KELV_OK;
}

KELV_RESULT KELVFreeDeviceStructure(uint32_t dwCount, KELV_DEVICE_INFO *pDevices)
{
    if (!pDevices)
        return dwCount == 0 ? KELV_OK : KELV_ERR_INVALID_POINTER;
    for (uint32_t i = 0; i < dwCount; ++i) {
        KELV_DEVICE_INFO &info = pDevices[i];
        std::free(info.pstrSerialNumber);
        std::free(info.pstrFriendlyName);
        std::free(info.pstrModel);
        std::free(info.pstrManufacturer);
        std::free(info.pItems);
        info = KELV_DEVICE_INFO();
    }
    return KELV_OK;
}

} // extern "C"
