// The MTP backend: a phone's storages as memories, and the phone paths of
// the program mapped onto the device's folders (see kelvraapi.h).

#include "backend.h"
#include "mtpdevices.h"
#include "partfiles.h"
#include "phonepath.h"

#include <QDir>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>

namespace kelvra {
namespace {

const QLatin1String s_movies("Movies");
const QLatin1String s_data("Data");
const QLatin1String s_videos("Videos");

// Memory cards up to 32 GB are FAT file systems: no file of 4 GiB fits.
constexpr uint64_t s_fatFileLimit = 4ULL << 30;
constexpr uint64_t s_fatCardLimit = 32ULL << 30;

bool same(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// A phone folder path taken apart.
struct Location
{
    bool isRoot = false;
    int memory = -1;
    uint32_t storage = 0;
    QString text;        // without a trailing backslash
    QStringList parts;   // as the program names them
    QStringList device;  // as the device names them
    bool dataFolder = false; // "\\C:\Data", there even when the device has no "Data"
};

// The program's video folders are the gallery's: "\\C:\Data\Videos" is
// "Movies" of the first storage, "\\E:\Videos" "Movies" of the second.
// The device's own "Movies" is reached only under that name, so that
// nothing is listed twice.
KELV_RESULT toDevice(int memory, const QStringList &parts, QStringList &device)
{
    device = parts;
    if (parts.isEmpty())
        return KELV_OK;
    if (same(parts.at(0), s_movies))
        return KELV_ERR_FOLDER_NOT_FOUND;
    if (memory == 0 && parts.size() >= 2 && same(parts.at(0), s_data) && same(parts.at(1), s_videos))
        device = QStringList{s_movies} + parts.mid(2);
    else if (memory > 0 && same(parts.at(0), s_videos))
        device = QStringList{s_movies} + parts.mid(1);
    return KELV_OK;
}

const MtpObject *findChild(const QList<MtpObject> &children, const QString &name)
{
    for (const MtpObject &o : children) {
        if (o.name == name)
            return &o;
    }
    // The phone's storage ignores case.
    for (const MtpObject &o : children) {
        if (same(o.name, name))
            return &o;
    }
    return nullptr;
}

class MtpFs final : public PhoneFs
{
public:
    MtpFs(const Phone &phone, std::shared_ptr<MtpDevice> device) : m_phone(phone), m_device(std::move(device)) {}

    KELV_RESULT connected() override { return m_device->gone.load() ? KELV_ERR_NOT_CONNECTED : KELV_OK; }

    KELV_RESULT refreshMemoryValues() override
    {
        // A copy holds the device: the values it had before stay.
        std::unique_lock<std::mutex> io(m_device->io, std::try_to_lock);
        if (io.owns_lock() && !m_device->readStorages())
            return failed(KELV_ERR_NOT_CONNECTED);
        return KELV_OK;
    }

    KELV_RESULT memoryTypes(QStringList &types) override
    {
        if (m_phone.memories.isEmpty())
            return KELV_ERR_DEVICE_LOCKED; // storages are shown once it is unlocked
        for (const Memory &m : std::as_const(m_phone.memories))
            types.append(m.type);
        return KELV_OK;
    }

    KELV_RESULT memoryValues(const QString &type, qint64 &free, qint64 &total, qint64 &used) override
    {
        for (const Memory &m : std::as_const(m_phone.memories)) {
            if (m.type != type)
                continue;
            const uint32_t id = m.path.toUInt();
            const QList<MtpStorage> storages = m_device->cachedStorages();
            for (const MtpStorage &s : storages) {
                if (s.id == id) {
                    total = qint64(s.capacity);
                    free = qint64(std::min(s.free, s.capacity));
                    used = total - free;
                    return KELV_OK;
                }
            }
            return KELV_ERR_FOLDER_INVALID; // the card has been taken out
        }
        return KELV_ERR_NOT_FOUND;
    }

    KELV_RESULT list(const QString &folder, QStringList &folders, std::vector<FileEntry> &files) override
    {
        Location at;
        if (const KELV_RESULT r = parse(folder, at); r < 0)
            return r;
        if (at.isRoot) {
            for (int i = 0; i < m_phone.memories.size(); ++i)
                folders.append(driveName(i));
            return KELV_OK;
        }
        std::lock_guard<std::mutex> io(m_device->io);
        QList<MtpObject> children;
        uint32_t id = 0;
        const KELV_RESULT found = walk(at, id);
        if (found == KELV_OK) {
            if (!m_device->connection->list(at.storage, id, children))
                return failed(KELV_ERR_FOLDER_NOT_FOUND);
        } else if (!(found == KELV_ERR_FOLDER_NOT_FOUND && at.dataFolder)) {
            return found;
        }
        for (const MtpObject &o : std::as_const(children)) {
            if (o.folder)
                folders.append(o.name);
            else if (!isReservedName(o.name))
                files.push_back({o.name, qint64(o.size), o.modified * 1000});
        }
        // The video folders under the program's names, in place of the device's.
        const auto drop = [&folders](const QString &name) {
            folders.removeIf([&name](const QString &f) { return same(f, name); });
        };
        const auto hasMovies = [&]() -> bool {
            QList<MtpObject> top;
            if (!m_device->connection->list(at.storage, 0, top))
                return false;
            const MtpObject *movies = findChild(top, s_movies);
            return movies && movies->folder;
        };
        if (at.parts.isEmpty()) {
            drop(s_movies);
            if (at.memory == 0) {
                drop(s_data);
                folders.append(s_data);
            } else {
                const bool movies = findChild(children, s_movies) != nullptr;
                drop(s_videos);
                if (movies)
                    folders.append(s_videos);
            }
        } else if (at.dataFolder) {
            drop(s_videos);
            if (hasMovies())
                folders.append(s_videos);
        }
        folders.sort(Qt::CaseInsensitive);
        std::sort(files.begin(), files.end(),
                  [](const FileEntry &a, const FileEntry &b) { return a.name.compare(b.name, Qt::CaseInsensitive) < 0; });
        return KELV_OK;
    }

    KELV_RESULT createFolder(const QString &name, const QString &parentPath) override
    {
        Location parent;
        if (const KELV_RESULT r = parse(parentPath, parent); r < 0)
            return r;
        if (parent.isRoot)
            return KELV_ERR_FOLDER_NOT_ALLOWED;
        if (const KELV_RESULT r = checkFolderName(name); r < 0)
            return r;
        if (parent.text.size() + name.size() + 2 > KELV_MAX_FOLDER_PATH)
            return KELV_ERR_FOLDER_PATH_TOO_LONG;
        Location at = parent;
        at.parts.append(name);
        at.dataFolder = false;
        if (const KELV_RESULT r = toDevice(at.memory, at.parts, at.device); r < 0)
            return KELV_ERR_FOLDER_EXISTS; // the device's own "Movies" folder
        const QString deviceName = at.device.takeLast();
        std::lock_guard<std::mutex> io(m_device->io);
        uint32_t parentId = 0;
        if (const KELV_RESULT r = walk(at, parentId); r < 0)
            return r;
        QList<MtpObject> children;
        if (!m_device->connection->list(at.storage, parentId, children))
            return failed(KELV_ERR_FOLDER_NOT_FOUND);
        if (const MtpObject *existing = findChild(children, deviceName))
            return existing->folder ? KELV_ERR_FOLDER_EXISTS : KELV_ERR_FOLDER_NOT_ALLOWED;
        if (m_device->connection->createFolder(deviceName, parentId, at.storage) == 0)
            return failed(KELV_ERR_FOLDER_NOT_ALLOWED);
        return KELV_OK;
    }

    KELV_RESULT deleteFile(const QString &name, const QString &folderPath) override
    {
        Location at;
        if (const KELV_RESULT r = parseForFile(folderPath, name, at); r < 0)
            return r;
        if (at.isRoot)
            return KELV_ERR_FILE_NOT_FOUND;
        std::lock_guard<std::mutex> io(m_device->io);
        MtpObject file;
        if (const KELV_RESULT r = findFile(at, name, file); r < 0)
            return r;
        if (!m_device->connection->remove(file.id))
            return failed(KELV_ERR_FILE_NOT_ALLOWED);
        return KELV_OK;
    }

    KELV_RESULT copy(CopyControl &control, bool toPhone, bool replace, const QString &name, const QString &phoneText,
                     const QString &pcText) override
    {
        Location at;
        if (const KELV_RESULT r = parseForFile(phoneText, name, at); r < 0)
            return r;
        if (at.isRoot)
            return toPhone ? KELV_ERR_FOLDER_NOT_ALLOWED : KELV_ERR_FILE_NOT_FOUND;
        if (const KELV_RESULT r = pcFolder(pcText); r < 0)
            return r;
        const QString pcPath = QDir(pcText).absoluteFilePath(name);
        std::lock_guard<std::mutex> io(m_device->io);
        return toPhone ? send(control, replace, name, at, pcPath) : receive(control, replace, name, at, pcText, pcPath);
    }

    KELV_RESULT readFile(const QString &name, const QString &folderPath, QByteArray &data, qint64 &modifiedMs) override
    {
        Location at;
        if (const KELV_RESULT r = parseForFile(folderPath, name, at); r < 0)
            return r;
        if (at.isRoot)
            return KELV_ERR_FILE_NOT_FOUND;
        std::lock_guard<std::mutex> io(m_device->io);
        MtpObject file;
        if (const KELV_RESULT r = findFile(at, name, file); r < 0)
            return r;
        if (file.size > KELV_MAX_READ_SIZE)
            return KELV_ERR_FILE_TOO_BIG;
        Fd memory(::memfd_create("kelvra-read", MFD_CLOEXEC));
        if (memory.fd < 0)
            return KELV_ERR_OUT_OF_MEMORY;
        if (!m_device->connection->receive(file.id, memory.fd, {}))
            return failed(KELV_ERR_FILE_NOT_ALLOWED);
        struct stat st;
        if (::fstat(memory.fd, &st) != 0 || st.st_size > qint64(KELV_MAX_READ_SIZE))
            return KELV_ERR_FILE_TOO_BIG;
        data.resize(qsizetype(st.st_size));
        if (::pread(memory.fd, data.data(), size_t(data.size()), 0) != data.size())
            return KELV_ERR_FILE_NOT_ALLOWED;
        modifiedMs = file.modified * 1000;
        return KELV_OK;
    }

private:
    // The code for a failed device call: an unplugged device ends the session.
    KELV_RESULT failed(KELV_RESULT otherwise)
    {
        const MtpFailure failure = m_device->connection->failure();
        if (failure == MtpFailure::Gone)
            m_device->gone.store(true);
        return mtpResult(failure, otherwise);
    }

    KELV_RESULT parse(const QString &path, Location &out) const
    {
        out = Location();
        PathParts parts;
        const KELV_RESULT split = splitPhonePath(path, int(m_phone.memories.size()), parts);
        out.text = parts.text;
        if (split < 0)
            return split;
        if (parts.isRoot) {
            out.isRoot = true;
            return KELV_OK;
        }
        out.memory = parts.memory;
        out.storage = m_phone.memories.at(out.memory).path.toUInt();
        bool present = false;
        for (const MtpStorage &s : m_device->cachedStorages())
            present = present || s.id == out.storage;
        if (!present)
            return KELV_ERR_FOLDER_INVALID; // the card has been taken out
        if (const KELV_RESULT r = checkFolderNames(parts.folders); r < 0)
            return r;
        out.parts = parts.folders;
        out.dataFolder = out.memory == 0 && out.parts.size() == 1 && same(out.parts.at(0), s_data);
        return toDevice(out.memory, out.parts, out.device);
    }

    KELV_RESULT parseForFile(const QString &folder, const QString &name, Location &out) const
    {
        if (const KELV_RESULT r = parse(folder, out); r < 0)
            return r;
        PhonePath path;
        path.text = out.text;
        return checkFileName(path, name);
    }

    // The id of the device folder at.device (0 for the storage's root); io
    // is held.
    KELV_RESULT walk(const Location &at, uint32_t &id)
    {
        id = 0;
        for (const QString &part : at.device) {
            QList<MtpObject> children;
            if (!m_device->connection->list(at.storage, id, children))
                return failed(KELV_ERR_FOLDER_NOT_FOUND);
            const MtpObject *child = findChild(children, part);
            if (!child || !child->folder)
                return KELV_ERR_FOLDER_NOT_FOUND;
            id = child->id;
        }
        return KELV_OK;
    }

    KELV_RESULT findFile(const Location &at, const QString &name, MtpObject &file)
    {
        uint32_t folder = 0;
        if (const KELV_RESULT r = walk(at, folder); r < 0)
            return r;
        QList<MtpObject> children;
        if (!m_device->connection->list(at.storage, folder, children))
            return failed(KELV_ERR_FOLDER_NOT_FOUND);
        const MtpObject *found = findChild(children, name);
        if (!found)
            return KELV_ERR_FILE_NOT_FOUND;
        if (found->folder)
            return KELV_ERR_FILE_NOT_ALLOWED;
        file = *found;
        return KELV_OK;
    }

    const MtpStorage *storage(const QList<MtpStorage> &storages, uint32_t id) const
    {
        for (const MtpStorage &s : storages) {
            if (s.id == id)
                return &s;
        }
        return nullptr;
    }

    MtpProgress progressOf(CopyControl &control, bool &stopped)
    {
        // The copy has told 0 % before it starts: each percentage once.
        return [&control, &stopped, last = 0](uint64_t done, uint64_t total) mutable {
            if (control.cancelled() || control.closed()) {
                stopped = true;
                return true;
            }
            const int percent = percentOf(qint64(done), qint64(total));
            if (percent != last && total > 0) {
                last = percent;
                control.progress(percent, qint64(done));
            }
            return false;
        };
    }

    KELV_RESULT send(CopyControl &control, bool replace, const QString &name, const Location &at, const QString &pcPath)
    {
        Fd in(::open(QFile::encodeName(pcPath).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (in.fd < 0)
            return errno == ENOENT ? KELV_ERR_FILE_NOT_FOUND : KELV_ERR_PC_FILE_NOT_ALLOWED;
        struct stat st;
        if (::fstat(in.fd, &st) != 0 || !S_ISREG(st.st_mode))
            return KELV_ERR_PC_FILE_NOT_ALLOWED;
        const uint64_t total = uint64_t(st.st_size);

        uint32_t folder = 0;
        KELV_RESULT found = walk(at, folder);
        // The gallery's video folder is made when it is missing.
        if (found == KELV_ERR_FOLDER_NOT_FOUND && at.device == QStringList{s_movies}) {
            folder = m_device->connection->createFolder(s_movies, 0, at.storage);
            found = folder ? KELV_OK : failed(KELV_ERR_FOLDER_NOT_FOUND);
        }
        if (found < 0)
            return found;
        QList<MtpObject> children;
        if (!m_device->connection->list(at.storage, folder, children))
            return failed(KELV_ERR_FOLDER_NOT_FOUND);
        // Only one process can hold an MTP device, and this one serialises
        // its calls on it: a hidden object of ours found now was left by a
        // process that was killed while replacing a file.
        for (const MtpObject &o : std::as_const(children)) {
            if (!o.folder && isReservedName(o.name))
                m_device->connection->remove(o.id);
        }
        const MtpObject *old = findChild(children, name);
        if (old && !replace)
            return KELV_ERR_FILE_EXISTS;
        if (old && old->folder)
            return KELV_ERR_FILE_NOT_ALLOWED;

        // What cannot fit is refused before anything is sent.
        if (!m_device->readStorages())
            return failed(KELV_ERR_NOT_CONNECTED);
        const QList<MtpStorage> storages = m_device->cachedStorages();
        const MtpStorage *target = storage(storages, at.storage);
        if (!target)
            return KELV_ERR_FOLDER_INVALID;
        if (total >= s_fatFileLimit && target->removable() && target->capacity <= s_fatCardLimit)
            return KELV_ERR_FILE_TOO_BIG;
        // A replacing copy is sent beside the old file, which stays until
        // the new one is whole: the storage must hold both for a while.
        if (total > target->free)
            return KELV_ERR_MEMORY_FULL;
        if (control.cancelled())
            return KELV_ERR_CANCELLED;

        // A file that replaces another goes under a hidden name first, so
        // that the old one stays until the new one is whole.
        MtpObject object;
        object.name = old ? g_reservedPrefix + QString::number(quint64(::getpid())) + QStringLiteral(".part") : name;
        object.size = total;
        object.parent = folder;
        object.storage = at.storage;
        object.modified = st.st_mtim.tv_sec;
        bool stopped = false;
        control.progress(0, 0);
        const bool sent = m_device->connection->send(in.fd, object, progressOf(control, stopped));
        if (!sent || control.cancelled() || control.closed()) {
            const KELV_RESULT why = control.cancelled() ? KELV_ERR_CANCELLED
                : control.closed()                      ? KELV_ERR_CONNECTION_LOST
                                                        : failed(KELV_ERR_FILE_NOT_ALLOWED);
            // No partial object is left, as far as the device still answers.
            if (object.id != 0 && !m_device->gone.load())
                m_device->connection->remove(object.id);
            return why;
        }
        if (old) {
            if (!m_device->connection->remove(old->id) || !m_device->connection->rename(object.id, name)) {
                const KELV_RESULT why = failed(KELV_ERR_FILE_NOT_ALLOWED);
                m_device->connection->remove(object.id);
                return why;
            }
        }
        if (total == 0)
            control.progress(100, 0);
        m_device->readStorages();
        return KELV_OK;
    }

    KELV_RESULT receive(CopyControl &control, bool replace, const QString &name, const Location &at,
                        const QString &pcText, const QString &pcPath)
    {
        MtpObject file;
        if (const KELV_RESULT r = findFile(at, name, file); r < 0)
            return r;
        const QByteArray target = QFile::encodeName(pcPath);
        struct stat old;
        if (::lstat(target.constData(), &old) == 0) {
            if (!replace)
                return KELV_ERR_FILE_EXISTS;
            if (S_ISDIR(old.st_mode))
                return KELV_ERR_PC_FILE_NOT_ALLOWED;
        }
        const QString folder = QDir(pcText).absolutePath();
        removeStaleParts(folder, false);
        struct statvfs vfs;
        if (statvfs(QFile::encodeName(folder).constData(), &vfs) == 0
            && file.size > uint64_t(vfs.f_bavail) * uint64_t(vfs.f_frsize))
            return KELV_ERR_PC_FILE_NOT_ALLOWED;
        PartFile part;
        if (part.create(folder) != 0)
            return KELV_ERR_PC_FILE_NOT_ALLOWED;
        if (control.cancelled())
            return KELV_ERR_CANCELLED;
        bool stopped = false;
        control.progress(0, 0);
        const bool received = m_device->connection->receive(file.id, part.fd(), progressOf(control, stopped));
        if (control.cancelled())
            return KELV_ERR_CANCELLED;
        if (control.closed())
            return KELV_ERR_CONNECTION_LOST;
        if (!received)
            return failed(KELV_ERR_FILE_NOT_ALLOWED);
        if (part.finishWriting() != 0)
            return KELV_ERR_PC_FILE_NOT_ALLOWED;
        if (const int err = part.publish(target, replace))
            return err == EEXIST ? KELV_ERR_FILE_EXISTS : KELV_ERR_PC_FILE_NOT_ALLOWED;
        if (file.size == 0)
            control.progress(100, 0);
        return KELV_OK;
    }

    const Phone m_phone;
    const std::shared_ptr<MtpDevice> m_device;
};

} // namespace

std::unique_ptr<PhoneFs> openMtpFs(const Phone &phone, KELV_RESULT &why)
{
    std::shared_ptr<MtpDevice> device = mtpDevice(phone.deviceKey);
    if (!device) {
        why = KELV_ERR_NOT_CONNECTED;
        return nullptr;
    }
    {
        std::lock_guard<std::mutex> io(device->io);
        if (!device->connection) {
            why = mtpResult(device->openFailure, KELV_ERR_NOT_CONNECTED);
            return nullptr;
        }
    }
    return std::make_unique<MtpFs>(phone, std::move(device));
}

} // namespace kelvra
