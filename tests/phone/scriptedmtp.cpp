// A test build of the connectivity library whose MTP devices are scripted by
// folders: every phone folder of the devices folder (the folders the phone
// tests and tamselctl's make) is an MTP device on a pretend USB bus, and the
// folder backend is switched off. The phone tests run against it as they
// run against folder phones, so that what the program does with an MTP
// phone is checked by the same cases. No USB phone can be reached on a
// build machine; everything above the libmtp boundary (mtptransport.h) is
// the library's real code.
//
// A device's storages are the manifest's memories: the first a fixed
// storage, the others removable ones, described by the memory's type, with
// the manifest's capacity and the free space the files leave. The device's
// gallery folder "Movies" is kept on disk where a folder phone keeps the
// program's video folder ("Data/Videos" in the first memory, "Videos" in
// the others), so that a test finds a copied video in the same place with
// either backend; that disk folder is not shown under its own name. Links
// are not shown: a phone's storage has none.
//
// A changed manifest is another device: the old one is unplugged and the
// new one plugged in. A manifest's [Video] MaxBitrate and ImgWallpaperSize
// become the phone's file in "<data folder>/phones/", the way a user gives
// an MTP phone values of its own; its Picture has no counterpart (an MTP
// phone has none, and the program shows its own).

#include "kelvra_p.h"
#include "kelvrapaths.h"
#include "mtptransport.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>

namespace kelvra {
namespace {

const QLatin1String s_movies("Movies");

struct Script
{
    QString folder;
    QString key;
    Phone phone;
};

bool readScript(const QString &folder, Script &out)
{
    QFile file(folder + QStringLiteral("/" KELV_MANIFEST_FILE_NAME));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray manifest = file.read(64 * 1024);
    QString error;
    if (!readManifest(folder, out.phone, error))
        return false;
    out.folder = folder;
    out.key = QStringLiteral("sim:") + QFileInfo(folder).fileName() + QLatin1Char(':')
        + QString::fromLatin1(QCryptographicHash::hash(manifest, QCryptographicHash::Sha1).toHex().left(12));
    return true;
}

QList<Script> scripts()
{
    QList<Script> out;
    const QDir root(KelvraPaths::devicesFolder());
    for (const QString &name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        Script script;
        if (readScript(root.absoluteFilePath(name), script))
            out.append(script);
    }
    return out;
}

constexpr uint32_t storageId(int memory)
{
    return 0x00010001u + (uint32_t(memory) << 16);
}

// Where the gallery folder of a memory is kept on disk.
QStringList moviesOnDisk(int memory)
{
    return memory == 0 ? QStringList{QStringLiteral("Data"), QStringLiteral("Videos")}
                       : QStringList{QStringLiteral("Videos")};
}

// The phone's own values, where the library looks for them.
void writeVideoValues(const Phone &phone)
{
    const QString path = KelvraPaths::dataFolder() + QStringLiteral("/phones/") + phone.serialNumber
        + QStringLiteral(".ini");
    if (phone.maxBitrate.isEmpty() && phone.wallpaperSize.isEmpty()) {
        QFile::remove(path);
        return;
    }
    QByteArray text = "[Video]\n";
    if (!phone.maxBitrate.isEmpty())
        text += "MaxBitrate=" + phone.maxBitrate.toUtf8() + '\n';
    if (!phone.wallpaperSize.isEmpty())
        text += "ImgWallpaperSize=" + phone.wallpaperSize.toUtf8() + '\n';
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == text)
        return;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size())
        file.commit();
}

// What the files of a memory take: their sizes, as folder phones count.
// Not the library's usedBytes, which removes unlocked temporaries on the way:
// on an MTP phone the library's hidden objects hold no lock.
qint64 bytesHeld(const QString &folder)
{
    qint64 total = 0;
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return 0;
    while (dirent *entry = ::readdir(dir)) {
        if (qstrcmp(entry->d_name, ".") == 0 || qstrcmp(entry->d_name, "..") == 0)
            continue;
        const QString path = folder + QLatin1Char('/') + QFile::decodeName(entry->d_name);
        struct stat st;
        if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
            continue;
        if (S_ISDIR(st.st_mode))
            total += bytesHeld(path);
        else if (S_ISREG(st.st_mode))
            total += qint64(st.st_size);
    }
    ::closedir(dir);
    return total;
}

class Connection final : public MtpConnection
{
public:
    explicit Connection(Script script) : m_script(std::move(script)) {}

    QString serialNumber() override { return m_script.phone.serialNumber; }
    QString friendlyName() override { return m_script.phone.friendlyName; }
    QString manufacturer() override { return m_script.phone.manufacturer; }
    QString model() override { return m_script.phone.model; }

    bool storages(QList<MtpStorage> &out) override
    {
        if (!alive())
            return false;
        const QList<Memory> &memories = m_script.phone.memories;
        for (int i = 0; i < memories.size(); ++i) {
            const Memory &m = memories.at(i);
            const qint64 held = bytesHeld(m.path);
            out.append({storageId(i), uint16_t(i == 0 ? 3 : 4), uint64_t(m.capacity),
                        uint64_t(std::max<qint64>(0, m.capacity - held)), m.type});
        }
        return true;
    }

    bool list(uint32_t storage, uint32_t parent, QList<MtpObject> &out) override
    {
        if (!alive())
            return false;
        QStringList parts;
        const int memory = memoryOf(storage);
        if (memory < 0 || !pathOf(storage, parent, parts))
            return refuse();
        const QString folder = diskPath(memory, parts);
        QDir dir(folder);
        if (!dir.exists())
            return refuse();
        const QFileInfoList entries =
            dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        for (const QFileInfo &info : entries) {
            if (info.isSymLink() || hiddenOnDisk(memory, parts, info.fileName()))
                continue;
            out.append(objectOf(storage, parts + QStringList(info.fileName()), info));
        }
        if (parts.isEmpty()) {
            const QFileInfo movies(diskPath(memory, {s_movies}));
            if (movies.isDir() && !movies.isSymLink())
                out.append(objectOf(storage, {s_movies}, movies));
        }
        return true;
    }

    uint32_t createFolder(const QString &name, uint32_t parent, uint32_t storage) override
    {
        if (!alive())
            return 0;
        QStringList parts;
        const int memory = memoryOf(storage);
        if (memory < 0 || !pathOf(storage, parent, parts)) {
            refuse();
            return 0;
        }
        parts.append(name);
        const QString path = diskPath(memory, parts);
        if (QFileInfo::exists(path) || !QDir().mkpath(path)) {
            refuse();
            return 0;
        }
        return idOf(storage, parts);
    }

    bool remove(uint32_t id) override
    {
        if (!alive())
            return false;
        const auto it = m_paths.constFind(id);
        if (it == m_paths.constEnd())
            return refuse();
        const QString path = diskPath(it->memory, it->parts);
        const QFileInfo info(path);
        const bool removed = info.isDir() && !info.isSymLink() ? QDir(path).removeRecursively() : QFile::remove(path);
        return removed || refuse();
    }

    bool rename(uint32_t id, const QString &name) override
    {
        if (!alive())
            return false;
        auto it = m_paths.find(id);
        if (it == m_paths.end() || it->parts.isEmpty())
            return refuse();
        QStringList to = it->parts;
        to.last() = name;
        if (::rename(QFile::encodeName(diskPath(it->memory, it->parts)).constData(),
                     QFile::encodeName(diskPath(it->memory, to)).constData())
            != 0)
            return refuse();
        m_ids.remove(keyOf(storageId(it->memory), it->parts));
        it->parts = to;
        m_ids.insert(keyOf(storageId(it->memory), to), id);
        return true;
    }

    bool send(int fd, MtpObject &object, const MtpProgress &progress) override
    {
        if (!alive())
            return false;
        QStringList parts;
        const int memory = memoryOf(object.storage);
        if (memory < 0 || !pathOf(object.storage, object.parent, parts))
            return refuse();
        // A device refuses an object that does not fit before making it.
        QList<MtpStorage> now;
        storages(now);
        for (const MtpStorage &s : std::as_const(now)) {
            if (s.id == object.storage && object.size > s.free) {
                m_failure = MtpFailure::Full;
                return false;
            }
        }
        parts.append(object.name);
        const QByteArray path = QFile::encodeName(diskPath(memory, parts));
        const int out = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (out < 0)
            return refuse();
        object.id = idOf(object.storage, parts);
        const bool ok = pump(fd, out, object.size, progress);
        if (ok) {
            const timespec times[2] = {{0, UTIME_OMIT}, {time_t(object.modified), 0}};
            ::futimens(out, times);
        }
        ::close(out);
        return ok;
    }

    bool receive(uint32_t id, int fd, const MtpProgress &progress) override
    {
        if (!alive())
            return false;
        const auto it = m_paths.constFind(id);
        if (it == m_paths.constEnd())
            return refuse();
        const int in = ::open(QFile::encodeName(diskPath(it->memory, it->parts)).constData(), O_RDONLY | O_CLOEXEC);
        if (in < 0)
            return refuse();
        struct stat st;
        m_failure = MtpFailure::None;
        const bool ok = ::fstat(in, &st) == 0 && S_ISREG(st.st_mode) && pump(in, fd, uint64_t(st.st_size), progress);
        ::close(in);
        if (!ok && m_failure == MtpFailure::None)
            refuse();
        return ok;
    }

    MtpFailure failure() override { return m_failure; }
    QString failureText() override { return QStringLiteral("scripted device: %1").arg(int(m_failure)); }

private:
    struct Place
    {
        int memory = 0;
        QStringList parts; // as the device names them
    };

    bool alive()
    {
        // Unplugged once its folder or manifest has gone, or the manifest
        // describes another device now.
        Script now;
        const bool there = readScript(m_script.folder, now) && now.key == m_script.key;
        m_failure = there ? MtpFailure::None : MtpFailure::Gone;
        return there;
    }
    bool refuse()
    {
        m_failure = MtpFailure::Refused;
        return false;
    }

    int memoryOf(uint32_t storage) const
    {
        for (int i = 0; i < m_script.phone.memories.size(); ++i) {
            if (storageId(i) == storage)
                return i;
        }
        return -1;
    }
    QString diskPath(int memory, QStringList parts) const
    {
        if (!parts.isEmpty() && parts.first() == s_movies)
            parts = moviesOnDisk(memory) + parts.mid(1);
        QString path = m_script.phone.memories.at(memory).path;
        for (const QString &part : std::as_const(parts))
            path += QLatin1Char('/') + part;
        return path;
    }
    // The disk folders that stand for the gallery folder, and a disk folder
    // of that name, are not shown where they are.
    static bool hiddenOnDisk(int memory, const QStringList &parent, const QString &name)
    {
        if (parent.isEmpty() && name == s_movies)
            return true;
        const QStringList movies = moviesOnDisk(memory);
        return parent + QStringList(name) == movies;
    }

    static QString keyOf(uint32_t storage, const QStringList &parts)
    {
        return QString::number(storage) + QLatin1Char('/') + parts.join(QLatin1Char('/'));
    }
    uint32_t idOf(uint32_t storage, const QStringList &parts)
    {
        const QString key = keyOf(storage, parts);
        if (const auto it = m_ids.constFind(key); it != m_ids.constEnd())
            return *it;
        const uint32_t id = m_nextId++;
        m_ids.insert(key, id);
        m_paths.insert(id, {memoryOf(storage), parts});
        return id;
    }
    bool pathOf(uint32_t storage, uint32_t id, QStringList &parts) const
    {
        if (id == 0) {
            parts.clear();
            return true;
        }
        const auto it = m_paths.constFind(id);
        if (it == m_paths.constEnd() || storageId(it->memory) != storage)
            return false;
        parts = it->parts;
        return true;
    }
    MtpObject objectOf(uint32_t storage, const QStringList &parts, const QFileInfo &info)
    {
        MtpObject o;
        o.id = idOf(storage, parts);
        o.storage = storage;
        o.name = parts.last();
        o.folder = info.isDir();
        o.size = o.folder ? 0 : uint64_t(info.size());
        o.modified = info.lastModified().toSecsSinceEpoch();
        QStringList parent = parts;
        parent.removeLast();
        o.parent = parent.isEmpty() ? 0 : idOf(storage, parent);
        return o;
    }

    // Moves the data in chunks as a device does, telling progress after each.
    bool pump(int from, int to, uint64_t total, const MtpProgress &progress)
    {
        char buffer[64 * 1024];
        uint64_t done = 0;
        for (;;) {
            const ssize_t n = ::read(from, buffer, sizeof buffer);
            if (n < 0)
                return refuse();
            if (n == 0)
                return true;
            if (::write(to, buffer, size_t(n)) != n)
                return refuse();
            done += uint64_t(n);
            if (!alive())
                return false;
            if (progress && progress(done, total)) {
                m_failure = MtpFailure::Cancelled;
                return false;
            }
        }
    }

    const Script m_script;
    MtpFailure m_failure = MtpFailure::None;
    QHash<QString, uint32_t> m_ids;
    QHash<uint32_t, Place> m_paths;
    uint32_t m_nextId = 1;
};

// The devices folder as a USB bus: a phone folder with its manifest is a
// plugged-in device. Changes are heard through inotify on the folder and on
// each phone folder.
class FolderBus final : public MtpTransport
{
public:
    FolderBus() : m_inotify(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}
    ~FolderBus() override
    {
        if (m_inotify >= 0)
            ::close(m_inotify);
    }

    QList<MtpRawDevice> detect() override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        // Watches first, then the folders: whatever changes after the
        // listing is heard.
        watchFolders();
        QList<MtpRawDevice> out;
        for (const Script &script : scripts()) {
            writeVideoValues(script.phone);
            MtpRawDevice raw;
            raw.key = script.key;
            raw.usbSerial = script.phone.serialNumber;
            raw.vendor = script.phone.manufacturer;
            raw.product = script.phone.model;
            out.append(raw);
        }
        return out;
    }

    std::unique_ptr<MtpConnection> open(const MtpRawDevice &device, MtpFailure &why) override
    {
        for (const Script &script : scripts()) {
            if (script.key == device.key)
                return std::make_unique<Connection>(script);
        }
        why = MtpFailure::Gone;
        return nullptr;
    }

    int hotplugFd() override { return m_inotify; }

    void drainHotplug() override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        alignas(inotify_event) char buffer[8 * 1024];
        while (::read(m_inotify, buffer, sizeof buffer) > 0) {
        }
        watchFolders();
    }

private:
    void watchFolders()
    {
        const QString root = KelvraPaths::devicesFolder();
        QDir().mkpath(root);
        const uint32_t mask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_CLOSE_WRITE | IN_DELETE_SELF
            | IN_ONLYDIR;
        ::inotify_add_watch(m_inotify, QFile::encodeName(root).constData(), mask);
        for (const QString &name : QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            ::inotify_add_watch(m_inotify, QFile::encodeName(root + QLatin1Char('/') + name).constData(), mask);
    }

    const int m_inotify;
    std::mutex m_mutex;
};

// Put in place when the library is loaded.
[[maybe_unused]] const bool s_installed = [] {
    setFolderPhonesShown(false);
    setMtpTransport(std::make_shared<FolderBus>());
    return true;
}();

} // namespace
} // namespace kelvra
