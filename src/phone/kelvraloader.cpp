#include "kelvra.h"
#include "phonelog.h"
#include "settingsstore.h"
#include "kelvrapaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <dlfcn.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <thread>

Q_LOGGING_CATEGORY(lcPhone, "tamsel.phone", QtInfoMsg)

namespace Orvak_API {
namespace {

// One record per module of the library, shared by every thread.
struct Module
{
    const char *name;          // the setting's key, "KelvFiles"
    const char *initName;
    const char *termName;

    // Guards the handle and the count of calls running through it.
    std::mutex callMutex;
    std::condition_variable idle;
    void *handle = nullptr;
    int running = 0;

    // Serialises loading and unloading (initialise, terminate, watcher).
    std::mutex loadMutex;
    std::atomic<uint32_t> savedVersion{0};

    // Serialises initialise and terminate; guards the count and the watcher.
    std::mutex controlMutex;
    unsigned refCount = 0;
    std::thread watcher;
    int stopFd = -1;

    Module(const char *module, const char *init, const char *term) : name(module), initName(init), termName(term) {}
    ~Module() { stopWatcher(); }
    Q_DISABLE_COPY_MOVE(Module)
    void stopWatcher();
    void startWatcher();
};

Module s_modules[3] = {
    {"KelvFiles", "KelvFiles_Initialize", "KelvFiles_Terminate"},
    {"KelvDevices", "KelvDevices_Initialize", "KelvDevices_Terminate"},
    {"KelvCommon", "KelvCommon_Initialize", "KelvCommon_Terminate"},
};

Module &module(KelvModule m)
{
    return s_modules[int(m)];
}

void *tryLoad(const QString &path)
{
    void *h = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!h)
        qCDebug(lcPhone) << "cannot load the connectivity library" << path << ":" << dlerror();
    return h;
}

void *loadLibrary(const Module &m)
{
    QString configured = qEnvironmentVariable("KELVRA_API_PATH");
    if (configured.isEmpty())
        configured = Settings::connectivityLibraryPath(QLatin1String(m.name));
    if (!configured.isEmpty()) {
        if (void *h = tryLoad(configured))
            return h;
    }
    const QString plain = QStringLiteral(KELV_LIBRARY_FILE_NAME);
    if (void *h = tryLoad(plain))
        return h;
    // The executable's own folder is not on the library path.
    const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!exe.isEmpty()) {
        if (void *h = tryLoad(QFileInfo(exe).absolutePath() + QLatin1Char('/') + plain))
            return h;
    }
    qCWarning(lcPhone, "the connectivity library %s was not found", KELV_LIBRARY_FILE_NAME);
    return nullptr;
}

void publish(Module &m, void *handle)
{
    std::lock_guard<std::mutex> lock(m.callMutex);
    m.handle = handle;
}

// Takes the library away from callers, lets the module wind down, waits for
// calls still inside it, then unloads it. Caller holds loadMutex.
void unload(Module &m, uint32_t reserved)
{
    void *h = nullptr;
    {
        std::lock_guard<std::mutex> lock(m.callMutex);
        h = std::exchange(m.handle, nullptr);
    }
    if (!h)
        return;
    if (auto term = reinterpret_cast<KELV_PFN_KelvFiles_Terminate>(dlsym(h, m.termName)))
        term(reserved);
    {
        std::unique_lock<std::mutex> lock(m.callMutex);
        m.idle.wait(lock, [&] { return m.running == 0; });
    }
    dlclose(h);
}

// The service is back: load the library again and start it with the version
// the program asked for. A library that will not start stays unloaded, so
// that calls keep answering "not initialised" instead of reaching it.
void reload(Module &m)
{
    {
        std::lock_guard<std::mutex> lock(m.callMutex);
        if (m.handle)
            return;
    }
    void *h = loadLibrary(m);
    if (!h)
        return;
    auto init = reinterpret_cast<KELV_PFN_KelvFiles_Initialize>(dlsym(h, m.initName));
    const KELV_RESULT r = init ? init(m.savedVersion.load(), 0) : KELV_ERR_FUNCTION_NOT_FOUND;
    if (r < 0) {
        qCWarning(lcPhone, "%s did not start again after the service came back: 0x%08x", m.name, uint32_t(r));
        dlclose(h);
        return;
    }
    qCInfo(lcPhone, "%s loaded again, the service is back", m.name);
    publish(m, h);
}

// Consumes a marker file. A marker another module's watcher removed first
// counts as consumed.
bool reset(const QByteArray &marker)
{
    return ::unlink(marker.constData()) == 0 || errno == ENOENT;
}

// The inotify descriptor watching the service's folder, or -1.
int watchServiceFolder()
{
    const QString folder = KelvLoader::serviceEventFolder();
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0 || inotify_add_watch(fd, QFile::encodeName(folder).constData(),
                                    IN_CREATE | IN_MOVED_TO | IN_CLOSE_WRITE | IN_ATTRIB | IN_ONLYDIR) < 0) {
        qCWarning(lcPhone, "cannot watch %s for the connectivity service: %s", qPrintable(folder), strerror(errno));
        if (fd >= 0)
            close(fd);
        return -1;
    }
    return fd;
}

// Who hears of the service going away and coming back.
std::mutex s_listenerMutex;
KelvLoader::ServiceListener s_listener;

void tellListener(bool available)
{
    std::lock_guard<std::mutex> lock(s_listenerMutex);
    if (s_listener)
        s_listener(available);
}

void watch(Module *m, int stopFd, int fd)
{
    const QString folder = KelvLoader::serviceEventFolder();
    const QByteArray awayMarker = QFile::encodeName(folder + QStringLiteral("/" KELV_SERVICE_AWAY_EVENT));
    const QByteArray backMarker = QFile::encodeName(folder + QStringLiteral("/" KELV_SERVICE_BACK_EVENT));
    const auto goingAway = [&] {
        qCInfo(lcPhone, "%s unloaded, the service went away", m->name);
        {
            std::lock_guard<std::mutex> lock(m->loadMutex);
            unload(*m, 0);
        }
        tellListener(false);
    };
    const auto back = [&] {
        {
            std::lock_guard<std::mutex> lock(m->loadMutex);
            reload(*m);
        }
        tellListener(true);
    };
    // A marker that is already there counts as a signalled event.
    bool ok = true;
    if (::access(awayMarker.constData(), F_OK) == 0) {
        goingAway();
        ok = reset(awayMarker);
    }
    if (ok && ::access(backMarker.constData(), F_OK) == 0) {
        back();
        ok = reset(backMarker);
    }
    // Later ones are taken from the events, in order: the watcher of another
    // module may have reset a marker before this one looks at the folder.
    alignas(inotify_event) char buffer[4096];
    while (ok) {
        pollfd fds[2] = {{stopFd, POLLIN, 0}, {fd, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR)
            break;
        if (fds[0].revents)
            break;
        ssize_t len;
        while (ok && (len = read(fd, buffer, sizeof buffer)) > 0) {
            for (char *p = buffer; ok && p < buffer + len;) {
                const auto *ev = reinterpret_cast<const inotify_event *>(p);
                p += sizeof(inotify_event) + ev->len;
                if (ev->len == 0)
                    continue;
                if (qstrcmp(ev->name, KELV_SERVICE_AWAY_EVENT) == 0) {
                    goingAway();
                    ok = reset(awayMarker);
                } else if (qstrcmp(ev->name, KELV_SERVICE_BACK_EVENT) == 0) {
                    back();
                    ok = reset(backMarker);
                }
            }
        }
    }
    close(fd);
}

void Module::startWatcher()
{
    // The folder is watched before initialise returns, so that no event
    // signalled after it can be missed.
    const int fd = watchServiceFolder();
    if (fd < 0)
        return;
    stopFd = eventfd(0, EFD_CLOEXEC);
    if (stopFd < 0) {
        qCWarning(lcPhone, "cannot start the watcher of %s: %s", name, strerror(errno));
        close(fd);
        return;
    }
    watcher = std::thread(watch, this, stopFd, fd);
}

void Module::stopWatcher()
{
    if (!watcher.joinable())
        return;
    const uint64_t one = 1;
    if (write(stopFd, &one, sizeof one) < 0)
        qCWarning(lcPhone, "cannot stop the watcher of %s: %s", name, strerror(errno));
    watcher.join();
    close(stopFd);
    stopFd = -1;
}

// Keeps the library in place for the length of one call.
class CallScope
{
public:
    CallScope(Module &m, const char *function) : m_module(m)
    {
        std::lock_guard<std::mutex> lock(m.callMutex);
        if (!m.handle) {
            m_error = KELV_ERR_NOT_INITIALIZED;
            return;
        }
        m_function = dlsym(m.handle, function);
        if (!m_function) {
            m_error = KELV_ERR_FUNCTION_NOT_FOUND;
            return;
        }
        ++m.running;
    }
    ~CallScope()
    {
        if (!m_function)
            return;
        std::lock_guard<std::mutex> lock(m_module.callMutex);
        if (--m_module.running == 0)
            m_module.idle.notify_all();
    }
    CallScope(const CallScope &) = delete;
    CallScope &operator=(const CallScope &) = delete;

    void *function() const { return m_function; }
    KELV_RESULT error() const { return m_error; }

private:
    Module &m_module;
    void *m_function = nullptr;
    KELV_RESULT m_error = KELV_OK;
};

template<typename Pfn, typename... Args>
auto call(KelvModule m, const char *name, Args... args)
{
    CallScope scope(module(m), name);
    using Result = decltype(std::declval<Pfn>()(args...));
    if (!scope.function())
        return Result(scope.error());
    return reinterpret_cast<Pfn>(scope.function())(args...);
}

} // namespace

namespace KelvLoader {

KELV_RESULT initialize(KelvModule which, uint32_t version, uint32_t reserved)
{
    Module &m = module(which);
    std::lock_guard<std::mutex> control(m.controlMutex);
    ++m.refCount;
    {
        std::lock_guard<std::mutex> load(m.loadMutex);
        {
            std::lock_guard<std::mutex> lock(m.callMutex);
            if (m.handle)
                return KELV_OK;
        }
        void *h = loadLibrary(m);
        if (!h)
            return KELV_ERR_MODULE_NOT_FOUND;
        auto init = reinterpret_cast<KELV_PFN_KelvFiles_Initialize>(dlsym(h, m.initName));
        if (!init) {
            publish(m, h);
            return KELV_ERR_FUNCTION_NOT_FOUND;
        }
        m.savedVersion.store(version);
        const KELV_RESULT r = init(version, reserved);
        if (r < 0) {
            dlclose(h);
            return r;
        }
        publish(m, h);
    }
    m.stopWatcher();
    m.startWatcher();
    return KELV_OK;
}

KELV_RESULT terminate(KelvModule which, uint32_t reserved)
{
    Module &m = module(which);
    std::lock_guard<std::mutex> control(m.controlMutex);
    if (m.refCount == 0)
        return KELV_ERR_NOT_INITIALIZED;
    if (--m.refCount > 0)
        return KELV_OK;
    // The watcher goes first, so it cannot load the library again behind us.
    m.stopWatcher();
    std::lock_guard<std::mutex> load(m.loadMutex);
    unload(m, reserved);
    return KELV_OK;
}

unsigned referenceCount(KelvModule which)
{
    Module &m = module(which);
    std::lock_guard<std::mutex> control(m.controlMutex);
    return m.refCount;
}

bool isLoaded(KelvModule which)
{
    Module &m = module(which);
    std::lock_guard<std::mutex> lock(m.callMutex);
    return m.handle != nullptr;
}

QString serviceEventFolder()
{
    return KelvraPaths::runtimeFolder();
}

void setServiceListener(ServiceListener listener)
{
    std::lock_guard<std::mutex> lock(s_listenerMutex);
    s_listener = std::move(listener);
}

QString commonAppDataFolder()
{
    return KelvraPaths::dataFolder();
}

} // namespace KelvLoader

namespace Kelv {

#define KELV_CALL(module, function, ...) call<KELV_PFN_KELV##function>(KelvModule::module, "KELV" #function, __VA_ARGS__)

uint32_t GetAPIVersion()
{
    return call<KELV_PFN_KelvDevices_GetAPIVersion>(KelvModule::Devices, "KelvDevices_GetAPIVersion");
}

KELV_RESULT OpenDM(KELVHANDLE *dm) { return KELV_CALL(Devices, OpenDM, dm); }
KELV_RESULT CloseDM(KELVHANDLE dm) { return KELV_CALL(Devices, CloseDM, dm); }
KELV_RESULT RegisterDMNotifyIF(KELVHANDLE dm, uint32_t option, IKelvDevicesNotify *sink)
{
    return KELV_CALL(Devices, RegisterDMNotifyIF, dm, option, sink);
}
KELV_RESULT GetDevices(KELVHANDLE dm, uint32_t *count, KELV_DEVICE_INFO *devices)
{
    return KELV_CALL(Devices, GetDevices, dm, count, devices);
}
KELV_RESULT FreeDeviceStructure(uint32_t count, KELV_DEVICE_INFO *devices)
{
    return KELV_CALL(Devices, FreeDeviceStructure, count, devices);
}

KELV_RESULT OpenFS(const wchar_t *serialNumber, uint32_t *media, KELVHANDLE *fs, uint32_t *deviceId)
{
    return KELV_CALL(Files, OpenFS, serialNumber, media, fs, deviceId);
}
KELV_RESULT CloseFS(KELVHANDLE fs) { return KELV_CALL(Files, CloseFS, fs); }
KELV_RESULT RegisterFSNotifyIF(KELVHANDLE fs, uint32_t option, IKelvFilesNotify *sink)
{
    return KELV_CALL(Files, RegisterFSNotifyIF, fs, option, sink);
}
KELV_RESULT RefreshDeviceMemoryValues(KELVHANDLE fs) { return KELV_CALL(Files, RefreshDeviceMemoryValues, fs); }
KELV_RESULT GetMemoryTypes(KELVHANDLE fs, wchar_t **types) { return KELV_CALL(Files, GetMemoryTypes, fs, types); }
KELV_RESULT GetMemoryValues(KELVHANDLE fs, const wchar_t *type, int64_t *free, int64_t *total, int64_t *used)
{
    return KELV_CALL(Files, GetMemoryValues, fs, type, free, total, used);
}
KELV_RESULT FindBegin(KELVHANDLE fs, uint32_t options, KELVHANDLE *find, const wchar_t *folder)
{
    return KELV_CALL(Files, FindBegin, fs, options, find, folder);
}
KELV_RESULT FindNextFolder(KELVHANDLE find, KELV_FOLDER_INFO *info) { return KELV_CALL(Files, FindNextFolder, find, info); }
KELV_RESULT FindNextFile(KELVHANDLE find, KELV_FILE_INFO *info) { return KELV_CALL(Files, FindNextFile, find, info); }
KELV_RESULT FindEnd(KELVHANDLE find) { return KELV_CALL(Files, FindEnd, find); }
KELV_RESULT CreateFolder(KELVHANDLE fs, const wchar_t *name, const wchar_t *parent)
{
    return KELV_CALL(Files, CreateFolder, fs, name, parent);
}
KELV_RESULT DeleteFile(KELVHANDLE fs, const wchar_t *name, const wchar_t *folder)
{
    return KELV_CALL(Files, DeleteFile, fs, name, folder);
}
KELV_RESULT CopyFile(KELVHANDLE fs, uint32_t options, const wchar_t *name, const wchar_t *source, const wchar_t *target)
{
    return KELV_CALL(Files, CopyFile, fs, options, name, source, target);
}
KELV_RESULT ReadFile(KELVHANDLE fs, KELV_FILE_INFO *info, unsigned char **data, uint32_t options, const wchar_t *folder)
{
    return KELV_CALL(Files, ReadFile, fs, info, data, options, folder);
}
KELV_RESULT FreeFileDataMemory(unsigned char *data) { return KELV_CALL(Files, FreeFileDataMemory, data); }
KELV_RESULT Cancel(KELVHANDLE fs) { return KELV_CALL(Files, Cancel, fs); }
KELV_RESULT FreeFileInfoStructure(KELV_FILE_INFO *info) { return KELV_CALL(Files, FreeFileInfoStructure, info); }
KELV_RESULT FreeFolderInfoStructure(KELV_FOLDER_INFO *info) { return KELV_CALL(Files, FreeFolderInfoStructure, info); }

KELV_RESULT FreeString(wchar_t *text) { return KELV_CALL(Common, FreeString, text); }

#undef KELV_CALL

} // namespace Kelv
} // namespace Orvak_API
