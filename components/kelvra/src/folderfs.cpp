// The folder backend: folder phones of the devices folder and removable
// volumes. Copies go through hidden temporary files (partfiles.h).

#include "backend.h"
#include "partfiles.h"
#include "phonepath.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace kelvra {
namespace {

// FAT file systems (most memory cards up to 32 GB) hold no file of 4 GiB.
constexpr qint64 s_fatFileLimit = 4LL << 30;
constexpr long s_fatMagic = 0x4d44; // MSDOS_SUPER_MAGIC

bool onFat(const QString &folder)
{
    struct statfs st;
    return ::statfs(QFile::encodeName(folder).constData(), &st) == 0 && long(st.f_type) == s_fatMagic;
}

qint64 diskAvailable(const QString &folder)
{
    struct statvfs st;
    if (statvfs(QFile::encodeName(folder).constData(), &st) != 0)
        return -1;
    return qint64(st.f_bavail) * qint64(st.f_frsize);
}

// Free bytes of a memory that holds used bytes: its capacity minus what it
// holds, plus what a copy is about to replace, and never more than the disk
// under it can take (a replaced file's blocks are given back only once its
// replacement is complete).
qint64 memoryFree(const Memory &memory, qint64 used, qint64 replaced = 0)
{
    qint64 free = std::max<qint64>(0, memory.capacity - used + replaced);
    const qint64 disk = diskAvailable(memory.path);
    if (disk >= 0)
        free = std::min(free, disk);
    return free;
}

// Where a copy goes: the folder, the phone memory it belongs to (null on
// the PC) and whether a file of the same name there is replaced.
struct TargetFolder
{
    QString path;
    const Memory *memory = nullptr;
    bool replace = false;
};

KELV_RESULT fromErrno(int err, KELV_RESULT full, KELV_RESULT otherwise)
{
    return err == ENOSPC || err == EDQUOT || err == EFBIG ? full : otherwise;
}

// Copies source to targetFolder/name through a hidden temporary file in the
// target folder. toPhone picks the codes of the side that failed.
KELV_RESULT copyData(CopyControl &s, const QString &source, const TargetFolder &targetFolder, const QString &name,
                     bool toPhone)
{
    const KELV_RESULT readFailed = toPhone ? KELV_ERR_PC_FILE_NOT_ALLOWED : KELV_ERR_FILE_NOT_ALLOWED;
    const KELV_RESULT writeFailed = toPhone ? KELV_ERR_FILE_NOT_ALLOWED : KELV_ERR_PC_FILE_NOT_ALLOWED;
    const KELV_RESULT full = toPhone ? KELV_ERR_MEMORY_FULL : KELV_ERR_PC_FILE_NOT_ALLOWED;

    // A cancel that came before the copy began ends it before a byte is written.
    if (s.cancelled())
        return KELV_ERR_CANCELLED;
    // Never blocks on opening: a FIFO put in the file's place is refused below.
    Fd in(::open(QFile::encodeName(source).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (in.fd < 0)
        return errno == ENOENT ? KELV_ERR_FILE_NOT_FOUND : readFailed;
    struct stat st;
    if (fstat(in.fd, &st) != 0 || !S_ISREG(st.st_mode))
        return readFailed;
    const qint64 total = st.st_size;

    const QByteArray target = QFile::encodeName(targetFolder.path + QLatin1Char('/') + name);
    qint64 replaced = 0;
    struct stat old;
    if (::lstat(target.constData(), &old) == 0) {
        if (!targetFolder.replace)
            return KELV_ERR_FILE_EXISTS;
        if (S_ISDIR(old.st_mode))
            return writeFailed;
        if (S_ISREG(old.st_mode))
            replaced = old.st_size;
    }

    PartFile part;
    if (targetFolder.memory) {
        // Checking the space and claiming it are one step, so that copies
        // running at the same time cannot both be let in.
        const MemoryLock lock(targetFolder.memory->path);
        const Memory &memory = *targetFolder.memory;
        if (total >= s_fatFileLimit && onFat(memory.path))
            return KELV_ERR_FILE_TOO_BIG;
        // A whole volume's blocks are what its file system has free.
        if (memory.wholeDisk)
            removeStaleParts(targetFolder.path, false); // usedBytes does it for the others
        const qint64 free = memory.wholeDisk ? diskAvailable(memory.path)
                                             : memoryFree(memory, usedBytes(memory.path), replaced);
        if (total > free)
            return KELV_ERR_MEMORY_FULL;
        if (const int err = part.create(targetFolder.path))
            return fromErrno(err, full, writeFailed);
        if (const int err = part.reserve(total))
            return fromErrno(err, full, writeFailed);
    } else {
        // Left behind by a copy whose process was killed.
        removeStaleParts(targetFolder.path, false);
        const qint64 disk = diskAvailable(targetFolder.path);
        if (disk >= 0 && total > disk)
            return full;
        if (const int err = part.create(targetFolder.path))
            return fromErrno(err, full, writeFailed);
    }
    posix_fadvise(in.fd, 0, 0, POSIX_FADV_SEQUENTIAL);

    s.progress(0, 0);
    // copy_file_range keeps the data in the kernel; read/write is the fallback
    // for file systems or kernels that cannot do it.
    constexpr size_t chunk = 8 * 1024 * 1024;
    bool kernelCopy = true;
    std::vector<char> buffer;
    qint64 done = 0;
    int lastPercent = 0;
    while (done < total) {
        if (s.cancelled())
            return KELV_ERR_CANCELLED;
        if (s.closed())
            return KELV_ERR_CONNECTION_LOST;
        const size_t want = size_t(std::min<qint64>(chunk, total - done));
        ssize_t n = -1;
        if (kernelCopy) {
            n = copy_file_range(in.fd, nullptr, part.fd(), nullptr, want, 0);
            if (n < 0 && done == 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
                kernelCopy = false;
                continue;
            }
            if (n < 0)
                return fromErrno(errno, full, writeFailed);
        } else {
            if (buffer.empty())
                buffer.resize(1024 * 1024);
            n = ::read(in.fd, buffer.data(), std::min(want, buffer.size()));
            if (n < 0) {
                if (errno == EINTR || errno == EAGAIN)
                    continue;
                return readFailed;
            }
            for (ssize_t written = 0; written < n;) {
                const ssize_t w = ::write(part.fd(), buffer.data() + written, size_t(n - written));
                if (w < 0) {
                    if (errno == EINTR)
                        continue;
                    return fromErrno(errno, full, writeFailed);
                }
                written += w;
            }
        }
        if (n == 0)
            return readFailed; // the source shrank under us
        done += n;
        const int percent = int(done * 100 / total);
        if (percent != lastPercent) {
            lastPercent = percent;
            s.progress(percent, done);
        }
    }
    if (s.cancelled())
        return KELV_ERR_CANCELLED;
    if (const int err = part.finishWriting())
        return fromErrno(err, full, writeFailed);
    if (const int err = part.publish(target, targetFolder.replace))
        return err == EEXIST ? KELV_ERR_FILE_EXISTS : writeFailed;
    if (total == 0)
        s.progress(100, 0);
    return KELV_OK;
}


class FolderFs final : public PhoneFs
{
public:
    explicit FolderFs(const Phone &phone) : m_phone(phone) {}

    // A removable volume without a manifest: one memory, the whole volume.
    bool isPlainCard() const
    {
        return m_phone.kind == PhoneKind::Volume && m_phone.memories.size() == 1 && m_phone.memories.at(0).wholeDisk;
    }

    KELV_RESULT connected() override
    {
        if (m_phone.kind == PhoneKind::Volume)
            return volumePresent(m_phone) ? KELV_OK : KELV_ERR_NOT_CONNECTED;
        return QFileInfo::exists(m_phone.folder + QStringLiteral("/" KELV_MANIFEST_FILE_NAME)) ? KELV_OK
                                                                                            : KELV_ERR_NOT_CONNECTED;
    }

    // Values are measured at each memoryValues call.
    KELV_RESULT refreshMemoryValues() override { return KELV_OK; }

    KELV_RESULT memoryTypes(QStringList &types) override
    {
        for (const Memory &m : std::as_const(m_phone.memories))
            types.append(m.type);
        return KELV_OK;
    }

    KELV_RESULT memoryValues(const QString &type, qint64 &free, qint64 &total, qint64 &used) override
    {
        for (const Memory &m : std::as_const(m_phone.memories)) {
            if (m.type != type)
                continue;
            if (!memoryPresent(m))
                return KELV_ERR_FOLDER_INVALID;
            if (m.wholeDisk) {
                struct statvfs st;
                if (statvfs(QFile::encodeName(m.path).constData(), &st) != 0)
                    return KELV_ERR_FOLDER_INVALID;
                total = qint64(st.f_blocks) * qint64(st.f_frsize);
                free = qint64(st.f_bavail) * qint64(st.f_frsize);
                used = total - qint64(st.f_bfree) * qint64(st.f_frsize);
                return KELV_OK;
            }
            used = usedBytes(m.path);
            free = memoryFree(m, used);
            total = m.capacity;
            return KELV_OK;
        }
        return KELV_ERR_NOT_FOUND;
    }

    KELV_RESULT list(const QString &folder, QStringList &folders, std::vector<FileEntry> &files) override
    {
        PhonePath path;
        if (const KELV_RESULT r = resolveFolder(m_phone, folder, path); r < 0)
            return r;
        if (path.isRoot) {
            for (int i = 0; i < m_phone.memories.size(); ++i)
                folders.append(driveName(i));
            return KELV_OK;
        }
        QDir dir(path.local);
        if (!dir.exists())
            return KELV_ERR_FOLDER_NOT_FOUND;
        const auto sort = QDir::Name | QDir::IgnoreCase;
        // A symlinked folder is not the phone's: followed, one link to "."
        // would list a folder without end.
        folders = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks, sort);
        const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden, sort);
        for (const QFileInfo &f : entries) {
            if (isReservedName(f.fileName()))
                continue;
            files.push_back({f.fileName(), f.size(), f.lastModified().toMSecsSinceEpoch()});
        }
        return KELV_OK;
    }

    KELV_RESULT createFolder(const QString &name, const QString &parentPath) override
    {
        PhonePath parent;
        if (const KELV_RESULT r = resolveFolder(m_phone, parentPath, parent); r < 0)
            return r;
        if (parent.isRoot)
            return KELV_ERR_FOLDER_NOT_ALLOWED;
        if (const KELV_RESULT r = checkFolderName(name); r < 0)
            return r;
        if (parent.text.size() + name.size() + 2 > KELV_MAX_FOLDER_PATH)
            return KELV_ERR_FOLDER_PATH_TOO_LONG;
        if (!QFileInfo(parent.local).isDir()) {
            // A card of a phone or camera has no "Data" of its own: the
            // program's video folder "\\C:\Data\Videos" is made whole on it.
            const bool cardData = isPlainCard()
                && parent.text.compare(QLatin1String("\\\\C:\\Data"), Qt::CaseInsensitive) == 0;
            if (!cardData || ::mkdir(QFile::encodeName(parent.local).constData(), 0777) != 0)
                return KELV_ERR_FOLDER_NOT_FOUND;
        }
        if (::mkdir(QFile::encodeName(parent.local + QLatin1Char('/') + name).constData(), 0777) != 0)
            return errno == EEXIST ? KELV_ERR_FOLDER_EXISTS : KELV_ERR_FOLDER_NOT_ALLOWED;
        return KELV_OK;
    }

    KELV_RESULT deleteFile(const QString &name, const QString &folderPath) override
    {
        PhonePath folder;
        if (const KELV_RESULT r = resolveFileFolder(m_phone, folderPath, name, folder); r < 0)
            return r;
        if (folder.isRoot)
            return KELV_ERR_FILE_NOT_FOUND;
        if (!QFileInfo(folder.local).isDir())
            return KELV_ERR_FOLDER_NOT_FOUND;
        const QByteArray path = QFile::encodeName(folder.local + QLatin1Char('/') + name);
        struct stat st;
        if (::lstat(path.constData(), &st) != 0)
            return KELV_ERR_FILE_NOT_FOUND;
        if (S_ISDIR(st.st_mode) || ::unlink(path.constData()) != 0)
            return KELV_ERR_FILE_NOT_ALLOWED;
        return KELV_OK;
    }

    KELV_RESULT copy(CopyControl &control, bool toPhone, bool replace, const QString &name,
                     const QString &phoneText, const QString &pcText) override
    {
        PhonePath phoneFolder;
        if (const KELV_RESULT r = resolveFileFolder(m_phone, phoneText, name, phoneFolder); r < 0)
            return r;
        if (phoneFolder.isRoot)
            return toPhone ? KELV_ERR_FOLDER_NOT_ALLOWED : KELV_ERR_FILE_NOT_FOUND;
        if (!QFileInfo(phoneFolder.local).isDir())
            return KELV_ERR_FOLDER_NOT_FOUND;
        if (const KELV_RESULT r = pcFolder(pcText); r < 0)
            return r;
        const QString pcPath = QDir(pcText).absoluteFilePath(name);
        const QString phonePath = phoneFolder.local + QLatin1Char('/') + name;
        const QString source = toPhone ? pcPath : phonePath;
        const QString target = toPhone ? phonePath : pcPath;
        // What cannot fit is refused there before a single byte is written.
        const TargetFolder targetFolder{toPhone ? phoneFolder.local : QDir(pcText).absolutePath(),
                                        toPhone ? &m_phone.memories.at(phoneFolder.memory) : nullptr, replace};

        const QFileInfo sourceInfo(source);
        if (!sourceInfo.exists())
            return KELV_ERR_FILE_NOT_FOUND;
        if (!sourceInfo.isFile())
            return toPhone ? KELV_ERR_PC_FILE_NOT_ALLOWED : KELV_ERR_FILE_NOT_ALLOWED;
        if (!replace && (QFileInfo::exists(target) || QFileInfo(target).isSymLink()))
            return KELV_ERR_FILE_EXISTS;
        return copyData(control, source, targetFolder, name, toPhone);
    }

    KELV_RESULT readFile(const QString &name, const QString &folderPath, QByteArray &data, qint64 &modifiedMs) override
    {
        PhonePath folder;
        if (const KELV_RESULT r = resolveFileFolder(m_phone, folderPath, name, folder); r < 0)
            return r;
        if (folder.isRoot)
            return KELV_ERR_FILE_NOT_FOUND;
        const QByteArray path = QFile::encodeName(folder.local + QLatin1Char('/') + name);
        struct stat st;
        if (::stat(path.constData(), &st) != 0)
            return QFileInfo(folder.local).isDir() ? KELV_ERR_FILE_NOT_FOUND : KELV_ERR_FOLDER_NOT_FOUND;
        // Only files: a FIFO or a device would block the reader or never end.
        if (!S_ISREG(st.st_mode))
            return KELV_ERR_FILE_NOT_ALLOWED;
        Fd file(::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (file.fd < 0 || ::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode))
            return KELV_ERR_FILE_NOT_ALLOWED;
        if (st.st_size > qint64(KELV_MAX_READ_SIZE))
            return KELV_ERR_FILE_TOO_BIG;
        const qsizetype size = qsizetype(st.st_size);
        data.resize(size);
        for (qsizetype done = 0; done < size;) {
            const ssize_t n = ::read(file.fd, data.data() + done, size_t(size - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return KELV_ERR_FILE_NOT_ALLOWED;
            done += n;
        }
        modifiedMs = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
        return KELV_OK;
    }

private:
    const Phone m_phone; // as it was when the session opened
};

} // namespace

KELV_RESULT pcFolder(const QString &folder)
{
    if (folder.isEmpty() || folder.contains(QChar(0)))
        return KELV_ERR_FOLDER_NOT_FOUND;
    const QFileInfo info(folder);
    if (!info.isDir())
        return KELV_ERR_FOLDER_NOT_FOUND;
    return KELV_OK;
}


std::unique_ptr<PhoneFs> openFolderFs(const Phone &phone)
{
    // Copies of a killed process take space on the phone until removed.
    for (const Memory &m : phone.memories) {
        if (memoryPresent(m))
            removeStaleParts(m.path, !m.wholeDisk);
    }
    return std::make_unique<FolderFs>(phone);
}

} // namespace kelvra
