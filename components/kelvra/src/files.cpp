// KelvFiles: file-system sessions on folder-backed phones.

#include "kelvra_p.h"
#include "partfiles.h"
#include "phonepath.h"

#include <QDir>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace kelvra {
namespace {

struct FsSession
{
    Phone phone;                      // as it was when the session opened
    std::atomic<IKelvFilesNotify *> sink{nullptr};
    std::atomic<bool> copying{false};
    std::atomic<bool> cancelRequested{false};
    std::atomic<bool> closed{false};  // the module terminated under a copy
};

struct FileEntry
{
    QString name;
    qint64 size = 0;
    qint64 modifiedMs = 0; // UTC milliseconds since 1970
};

struct Find
{
    QStringList folders;
    std::vector<FileEntry> files;
    int nextFolder = 0;
    size_t nextFile = 0;
    std::mutex mutex;
};

HandleTable<FsSession> s_sessions;
HandleTable<Find> s_finds;

// The session, or why there is none. A phone whose folder or manifest has
// gone is no longer connected.
KELV_RESULT session(KELVHANDLE handle, std::shared_ptr<FsSession> &out)
{
    if (g_filesUsers.load() <= 0)
        return KELV_ERR_NOT_INITIALIZED;
    out = s_sessions.get(handle);
    if (!out)
        return KELV_ERR_INVALID_HANDLE;
    if (!QFileInfo::exists(out->phone.folder + QStringLiteral("/" KELV_MANIFEST_FILE_NAME)))
        return KELV_ERR_NOT_CONNECTED;
    return KELV_OK;
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

KELV_FILETIME fileTime(qint64 utcMs)
{
    const uint64_t ticks = uint64_t(utcMs + 11644473600000LL) * 10000u;
    return KELV_FILETIME{uint32_t(ticks & 0xFFFFFFFFu), uint32_t(ticks >> 32)};
}

void progress(FsSession &s, int percent, qint64 done)
{
    if (IKelvFilesNotify *sink = s.sink.load())
        sink->OnStateChanged(KELV_STATE_COPY_PROGRESS, uint32_t(percent), uint32_t(quint64(done) & 0xFFFFFFFFu),
                             uint32_t(quint64(done) >> 32));
}

struct Fd
{
    int fd = -1;
    explicit Fd(int f) : fd(f) {}
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
};

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
KELV_RESULT copyData(FsSession &s, const QString &source, const TargetFolder &targetFolder, const QString &name,
                     bool toPhone)
{
    const KELV_RESULT readFailed = toPhone ? KELV_ERR_PC_FILE_NOT_ALLOWED : KELV_ERR_FILE_NOT_ALLOWED;
    const KELV_RESULT writeFailed = toPhone ? KELV_ERR_FILE_NOT_ALLOWED : KELV_ERR_PC_FILE_NOT_ALLOWED;
    const KELV_RESULT full = toPhone ? KELV_ERR_MEMORY_FULL : KELV_ERR_PC_FILE_NOT_ALLOWED;

    // A cancel that came before the copy began ends it before a byte is written.
    if (s.cancelRequested.load())
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
        if (total > memoryFree(memory, usedBytes(memory.path), replaced))
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

    progress(s, 0, 0);
    // copy_file_range keeps the data in the kernel; read/write is the fallback
    // for file systems or kernels that cannot do it.
    constexpr size_t chunk = 8 * 1024 * 1024;
    bool kernelCopy = true;
    std::vector<char> buffer;
    qint64 done = 0;
    int lastPercent = 0;
    while (done < total) {
        if (s.cancelRequested.load())
            return KELV_ERR_CANCELLED;
        if (s.closed.load())
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
            progress(s, percent, done);
        }
    }
    if (s.cancelRequested.load())
        return KELV_ERR_CANCELLED;
    if (const int err = part.finishWriting())
        return fromErrno(err, full, writeFailed);
    if (const int err = part.publish(target, targetFolder.replace))
        return err == EEXIST ? KELV_ERR_FILE_EXISTS : writeFailed;
    if (total == 0)
        progress(s, 100, 0);
    return KELV_OK;
}

// Checks a PC folder and a file name for the PC side of a copy.
KELV_RESULT pcFolder(const QString &folder)
{
    if (folder.isEmpty() || folder.contains(QChar(0)))
        return KELV_ERR_FOLDER_NOT_FOUND;
    const QFileInfo info(folder);
    if (!info.isDir())
        return KELV_ERR_FOLDER_NOT_FOUND;
    return KELV_OK;
}

} // namespace
} // namespace kelvra

using namespace kelvra;

extern "C" {

KELV_RESULT KelvFiles_Initialize(uint32_t dwVersion, uint32_t)
{
    if (dwVersion > KELV_API_VERSION)
        return KELV_ERR_VERSION_NOT_SUPPORTED;
    g_filesUsers.fetch_add(1);
    return KELV_OK;
}

KELV_RESULT KelvFiles_Terminate(uint32_t)
{
    int users = g_filesUsers.load();
    do {
        if (users <= 0)
            return KELV_ERR_NOT_INITIALIZED;
    } while (!g_filesUsers.compare_exchange_weak(users, users - 1));
    if (users > 1)
        return KELV_OK;
    // Running copies notice and end; their sessions live until they return.
    for (auto &entry : s_sessions.takeAll())
        entry.second->closed.store(true);
    s_finds.takeAll();
    return KELV_OK;
}

KELV_RESULT KELVOpenFS(const wchar_t *pstrSerialNumber, uint32_t *pdwMedia, KELVHANDLE *phFS, uint32_t *pdwDeviceID)
{
    if (g_filesUsers.load() <= 0)
        return KELV_ERR_NOT_INITIALIZED;
    if (!pstrSerialNumber || !pdwMedia || !phFS || !pdwDeviceID)
        return KELV_ERR_INVALID_POINTER;
    auto s = std::make_shared<FsSession>();
    if (!findPhone(fromWide(pstrSerialNumber), s->phone))
        return KELV_ERR_NOT_CONNECTED;
    writeConfigFiles({s->phone});
    // Copies of a killed process take space on the phone until removed.
    for (const Memory &m : std::as_const(s->phone.memories)) {
        if (memoryPresent(m))
            removeStaleParts(m.path, true);
    }
    if (*pdwMedia != KELV_MEDIA_ANY && *pdwMedia != 0) {
        if (!s->phone.media.contains(*pdwMedia))
            return KELV_ERR(0x80200001u);
    } else {
        *pdwMedia = s->phone.bestMedia();
    }
    *pdwDeviceID = uint32_t(qHash(s->phone.serialNumber) & 0x7FFFFFFFu) | 1u;
    *phFS = s_sessions.add(std::move(s));
    return KELV_OK;
}

KELV_RESULT KELVCloseFS(KELVHANDLE hFS)
{
    if (g_filesUsers.load() <= 0)
        return KELV_ERR_NOT_INITIALIZED;
    const auto s = s_sessions.take(hFS);
    if (!s)
        return KELV_ERR_INVALID_HANDLE;
    s->closed.store(true);
    return KELV_OK;
}

KELV_RESULT KELVRegisterFSNotifyIF(KELVHANDLE hFS, uint32_t dwOption, IKelvFilesNotify *pSink)
{
    std::shared_ptr<FsSession> s;
    if (g_filesUsers.load() <= 0)
        return KELV_ERR_NOT_INITIALIZED;
    s = s_sessions.get(hFS);
    if (!s)
        return KELV_ERR_INVALID_HANDLE;
    if (!pSink)
        return KELV_ERR_INVALID_POINTER;
    if (dwOption == KELV_NOTIFY_REGISTER) {
        IKelvFilesNotify *none = nullptr;
        return s->sink.compare_exchange_strong(none, pSink) ? KELV_OK : KELV_ERR_ALREADY_REGISTERED;
    }
    if (dwOption == KELV_NOTIFY_UNREGISTER) {
        IKelvFilesNotify *expected = pSink;
        return s->sink.compare_exchange_strong(expected, nullptr) ? KELV_OK : KELV_ERR_NOT_FOUND;
    }
    return KELV_ERR_INVALID_PARAMETER;
}

KELV_RESULT KELVRefreshDeviceMemoryValues(KELVHANDLE hFS)
{
    std::shared_ptr<FsSession> s;
    // Values are measured at each KELVGetMemoryValues call.
    return session(hFS, s);
}

KELV_RESULT KELVGetMemoryTypes(KELVHANDLE hFS, wchar_t **ppstrMemoryTypes)
{
    std::shared_ptr<FsSession> s;
    if (const KELV_RESULT r = session(hFS, s); r < 0)
        return r;
    if (!ppstrMemoryTypes)
        return KELV_ERR_INVALID_POINTER;
    QStringList types;
    for (const Memory &m : s->phone.memories)
        types.append(m.type);
    *ppstrMemoryTypes = dupWide(types.join(QLatin1Char(',')));
    return *ppstrMemoryTypes ? KELV_OK : KELV_ERR_OUT_OF_MEMORY;
}

KELV_RESULT KELVGetMemoryValues(KELVHANDLE hFS, const wchar_t *pstrMemoryType, int64_t *pFree, int64_t *pTotal,
                                int64_t *pUsed)
{
    std::shared_ptr<FsSession> s;
    if (const KELV_RESULT r = session(hFS, s); r < 0)
        return r;
    if (!pstrMemoryType || !pFree || !pTotal || !pUsed)
        return KELV_ERR_INVALID_POINTER;
    const QString type = fromWide(pstrMemoryType);
    for (const Memory &m : s->phone.memories) {
        if (m.type != type)
            continue;
        if (!memoryPresent(m))
            return KELV_ERR_FOLDER_INVALID;
        const qint64 used = usedBytes(m.path);
        *pFree = memoryFree(m, used);
        *pTotal = m.capacity;
        *pUsed = used;
        return KELV_OK;
    }
    return KELV_ERR_NOT_FOUND;
}

KELV_RESULT KELVFindBegin(KELVHANDLE hFS, uint32_t, KELVHANDLE *phFind, const wchar_t *pstrFolder)
{
    std::shared_ptr<FsSession> s;
    if (const KELV_RESULT r = session(hFS, s); r < 0)
        return r;
    if (!phFind || !pstrFolder)
        return KELV_ERR_INVALID_POINTER;
    PhonePath path;
    if (const KELV_RESULT r = resolveFolder(s->phone, fromWide(pstrFolder), path); r < 0)
        return r;
    auto find = std::make_shared<Find>();
    if (path.isRoot) {
        for (int i = 0; i < s->phone.memories.size(); ++i)
            find->folders.append(driveName(i));
    } else {
        QDir dir(path.local);
        if (!dir.exists())
            return KELV_ERR_FOLDER_NOT_FOUND;
        const auto sort = QDir::Name | QDir::IgnoreCase;
        // A symlinked folder is not the phone's: followed, one link to "."
        // would list a folder without end.
        find->folders = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks, sort);
        const QFileInfoList files = dir.entryInfoList(QDir::Files | QDir::Hidden, sort);
        for (const QFileInfo &f : files) {
            if (isReservedName(f.fileName()))
                continue;
            find->files.push_back({f.fileName(), f.size(), f.lastModified().toMSecsSinceEpoch()});
        }
    }
    *phFind = s_finds.add(std::move(find));
    return KELV_OK;
}

KELV_RESULT KELVFindNextFolder(KELVHANDLE hFind, KELV_FOLDER_INFO *pFolderInfo)
{
    if (g_filesUsers.load() <= 0)
        return KELV_ERR_NOT_INITIALIZED;
    const auto find = s_finds.get(hFind);
    if (!find)
        return KELV_ERR_INVALID_HANDLE;
    if (!pFolderInfo)
        return KELV_ERR_INVALID_POINTER;
    std::lock_guard<std::mutex> lock(find->mutex);
    if (find->nextFolder >= find->folders.size())
        return KELV_ERR_ALL_LISTED;
    pFolderInfo->pstrName = dupWide(find->folders.at(find->nextFolder++));
    return pFolderInfo->pstrName ? KELV_OK : KELV_ERR_OUT_OF_MEMORY;
}

KELV_RESULT KELVFindNextFile(KELVHANDLE hFind, KELV_FILE_INFO *pFileInfo)
{
    if (g_filesUsers.load() <= 0)
        return KELV_ERR_NOT_INITIALIZED;
    const auto find = s_finds.get(hFind);
    if (!find)
        return KELV_ERR_INVALID_HANDLE;
    if (!pFileInfo)
        return KELV_ERR_INVALID_POINTER;
    std::lock_guard<std::mutex> lock(find->mutex);
    if (find->nextFile >= find->files.size())
        return KELV_ERR_ALL_LISTED;
    const FileEntry &e = find->files.at(find->nextFile++);
    pFileInfo->pstrName = dupWide(e.name);
    pFileInfo->tFileTime = fileTime(e.modifiedMs);
    pFileInfo->dwFileSize = e.size > 0xFFFFFFFFLL ? 0xFFFFFFFFu : uint32_t(e.size);
    return pFileInfo->pstrName ? KELV_OK : KELV_ERR_OUT_OF_MEMORY;
}

KELV_RESULT KELVFindEnd(KELVHANDLE hFind)
{
    if (g_filesUsers.load() <= 0)
        return KELV_ERR_NOT_INITIALIZED;
    return s_finds.take(hFind) ? KELV_OK : KELV_ERR_INVALID_HANDLE;
}

KELV_RESULT KELVCreateFolder(KELVHANDLE hFS, const wchar_t *pstrFolderName, const wchar_t *pstrParentPath)
{
    std::shared_ptr<FsSession> s;
    if (const KELV_RESULT r = session(hFS, s); r < 0)
        return r;
    if (!pstrFolderName || !pstrParentPath)
        return KELV_ERR_INVALID_POINTER;
    PhonePath parent;
    if (const KELV_RESULT r = resolveFolder(s->phone, fromWide(pstrParentPath), parent); r < 0)
        return r;
    const QString name = fromWide(pstrFolderName);
    if (parent.isRoot)
        return KELV_ERR_FOLDER_NOT_ALLOWED;
    if (const KELV_RESULT r = checkFolderName(name); r < 0)
        return r;
    if (parent.text.size() + name.size() + 2 > KELV_MAX_FOLDER_PATH)
        return KELV_ERR_FOLDER_PATH_TOO_LONG;
    if (!QFileInfo(parent.local).isDir())
        return KELV_ERR_FOLDER_NOT_FOUND;
    if (::mkdir(QFile::encodeName(parent.local + QLatin1Char('/') + name).constData(), 0777) != 0)
        return errno == EEXIST ? KELV_ERR_FOLDER_EXISTS : KELV_ERR_FOLDER_NOT_ALLOWED;
    return KELV_OK;
}

KELV_RESULT KELVDeleteFile(KELVHANDLE hFS, const wchar_t *pstrFileName, const wchar_t *pstrFolder)
{
    std::shared_ptr<FsSession> s;
    if (const KELV_RESULT r = session(hFS, s); r < 0)
        return r;
    if (!pstrFileName || !pstrFolder)
        return KELV_ERR_INVALID_POINTER;
    PhonePath folder;
    if (const KELV_RESULT r = resolveFolder(s->phone, fromWide(pstrFolder), folder); r < 0)
        return r;
    const QString name = fromWide(pstrFileName);
    if (const KELV_RESULT r = checkFileName(folder, name); r < 0)
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

KELV_RESULT KELVCopyFile(KELVHANDLE hFS, uint32_t dwOptions, const wchar_t *pstrFileName, const wchar_t *pstrSourcePath,
                         const wchar_t *pstrTargetPath)
{
    std::shared_ptr<FsSession> s;
    if (const KELV_RESULT r = session(hFS, s); r < 0)
        return r;
    if (!pstrFileName || !pstrSourcePath || !pstrTargetPath)
        return KELV_ERR_INVALID_POINTER;
    const uint32_t direction = dwOptions & ~KELV_COPY_REPLACE;
    if (direction != KELV_COPY_PC_TO_PHONE && direction != KELV_COPY_PHONE_TO_PC)
        return KELV_ERR_INVALID_PARAMETER;
    // A cancel made before this copy is spent on it before anything else can
    // refuse it, unless it was meant for a copy that runs now.
    if (!s->copying.load() && s->cancelRequested.exchange(false))
        return KELV_ERR_CANCELLED;
    const bool toPhone = direction == KELV_COPY_PC_TO_PHONE;
    const bool replace = (dwOptions & KELV_COPY_REPLACE) != 0;
    const QString name = fromWide(pstrFileName);
    PhonePath phoneFolder;
    const QString phoneText = fromWide(toPhone ? pstrTargetPath : pstrSourcePath);
    const QString pcText = fromWide(toPhone ? pstrSourcePath : pstrTargetPath);
    if (const KELV_RESULT r = resolveFolder(s->phone, phoneText, phoneFolder); r < 0)
        return r;
    if (const KELV_RESULT r = checkFileName(phoneFolder, name); r < 0)
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
                                    toPhone ? &s->phone.memories.at(phoneFolder.memory) : nullptr, replace};

    const QFileInfo sourceInfo(source);
    if (!sourceInfo.exists())
        return KELV_ERR_FILE_NOT_FOUND;
    if (!sourceInfo.isFile())
        return toPhone ? KELV_ERR_PC_FILE_NOT_ALLOWED : KELV_ERR_FILE_NOT_ALLOWED;
    if (!replace && (QFileInfo::exists(target) || QFileInfo(target).isSymLink()))
        return KELV_ERR_FILE_EXISTS;

    bool idle = false;
    if (!s->copying.compare_exchange_strong(idle, true))
        return KELV_ERR_CONNECTION_RESERVED;
    const KELV_RESULT result = copyData(*s, source, targetFolder, name, toPhone);
    // A cancel holds until a copy has ended because of it.
    if (result == KELV_ERR_CANCELLED)
        s->cancelRequested.store(false);
    s->copying.store(false);
    return result;
}

KELV_RESULT KELVReadFile(KELVHANDLE hFS, KELV_FILE_INFO *pFileInfo, unsigned char **ppData, uint32_t,
                         const wchar_t *pstrFolder)
{
    std::shared_ptr<FsSession> s;
    if (const KELV_RESULT r = session(hFS, s); r < 0)
        return r;
    if (!pFileInfo || !pFileInfo->pstrName || !ppData || !pstrFolder)
        return KELV_ERR_INVALID_POINTER;
    PhonePath folder;
    if (const KELV_RESULT r = resolveFolder(s->phone, fromWide(pstrFolder), folder); r < 0)
        return r;
    const QString name = fromWide(pFileInfo->pstrName);
    if (const KELV_RESULT r = checkFileName(folder, name); r < 0)
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
    const size_t size = size_t(st.st_size);
    auto *data = static_cast<unsigned char *>(std::malloc(std::max<size_t>(size, 1)));
    if (!data)
        return KELV_ERR_OUT_OF_MEMORY;
    for (size_t done = 0; done < size;) {
        const ssize_t n = ::read(file.fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            std::free(data);
            return KELV_ERR_FILE_NOT_ALLOWED;
        }
        done += size_t(n);
    }
    *ppData = data;
    pFileInfo->dwFileSize = uint32_t(size);
    pFileInfo->tFileTime = fileTime(qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000);
    return KELV_OK;
}

KELV_RESULT KELVFreeFileDataMemory(unsigned char *pData)
{
    std::free(pData);
    return KELV_OK;
}

KELV_RESULT KELVCancel(KELVHANDLE hFS)
{
    if (g_filesUsers.load() <= 0)
        return KELV_ERR_NOT_INITIALIZED;
    const auto s = s_sessions.get(hFS);
    if (!s)
        return KELV_ERR_INVALID_HANDLE;
    // Also when no copy runs yet: the next one on this handle is the one
    // meant, and it must not slip through because it started late.
    s->cancelRequested.store(true);
    return KELV_OK;
}

KELV_RESULT KELVFreeFileInfoStructure(KELV_FILE_INFO *pFileInfo)
{
    if (!pFileInfo)
        return KELV_ERR_INVALID_POINTER;
    std::free(pFileInfo->pstrName);
    pFileInfo->pstrName = nullptr;
    return KELV_OK;
}

KELV_RESULT KELVFreeFolderInfoStructure(KELV_FOLDER_INFO *pFolderInfo)
{
    if (!pFolderInfo)
        return KELV_ERR_INVALID_POINTER;
    std::free(pFolderInfo->pstrName);
    pFolderInfo->pstrName = nullptr;
    return KELV_OK;
}

// ---- KelvCommon ---------------------------------------------------------

KELV_RESULT KelvCommon_Initialize(uint32_t dwVersion, uint32_t)
{
    if (dwVersion > KELV_API_VERSION)
        return KELV_ERR_VERSION_NOT_SUPPORTED;
    g_commonUsers.fetch_add(1);
    return KELV_OK;
}

KELV_RESULT KelvCommon_Terminate(uint32_t)
{
    int users = g_commonUsers.load();
    do {
        if (users <= 0)
            return KELV_ERR_NOT_INITIALIZED;
    } while (!g_commonUsers.compare_exchange_weak(users, users - 1));
    return KELV_OK;
}

KELV_RESULT KELVFreeString(wchar_t *pstr)
{
    std::free(pstr);
    return KELV_OK;
}

} // extern "C"
