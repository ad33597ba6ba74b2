#include "partfiles.h"

#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kelvra {

const QLatin1String g_reservedPrefix(".~kelvra-");

namespace {

const QLatin1String s_partSuffix(".part");

bool isPartName(const QString &name)
{
    return name.startsWith(g_reservedPrefix) && name.endsWith(s_partSuffix);
}

int lockRetrying(int fd, int operation)
{
    while (::flock(fd, operation) != 0) {
        if (errno != EINTR)
            return errno;
    }
    return 0;
}

// Whether path still names the file open as fd.
bool sameFile(const QByteArray &path, int fd)
{
    struct stat byPath, byFd;
    return ::lstat(path.constData(), &byPath) == 0 && ::fstat(fd, &byFd) == 0 && byPath.st_dev == byFd.st_dev
        && byPath.st_ino == byFd.st_ino;
}

// Removes path if it is a temporary no process holds. Returns whether it did.
bool removeIfStale(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool removed = false;
    struct stat st;
    // The writer holds its lock from creation to the end, so a lock we get
    // belongs to nobody else. The name is checked again under the lock: the
    // file must not be removed if another cleaner got there first.
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && sameFile(name, fd))
        removed = ::unlink(name.constData()) == 0;
    ::close(fd);
    return removed;
}

} // namespace

bool isReservedName(const QString &name)
{
    return name.startsWith(g_reservedPrefix);
}

PartFile::~PartFile()
{
    if (!m_published)
        discard();
    if (m_fd >= 0)
        ::close(m_fd);
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

void PartFile::discard()
{
    if (!m_path.isEmpty())
        ::unlink(m_path.constData());
}

int PartFile::create(const QString &folder)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QByteArray path = QFile::encodeName(folder + QLatin1Char('/') + g_reservedPrefix
                                                  + QString::number(QRandomGenerator::global()->generate64(), 36)
                                                  + s_partSuffix);
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return errno;
        }
        // A cleaner may have found the new file unlocked and removed it
        // before the lock was taken: then start again under another name.
        // Where the file system has no locks, no cleaner can take the file
        // for a leftover either.
        if (lockRetrying(fd, LOCK_EX) == 0 && !sameFile(path, fd)) {
            ::close(fd);
            continue;
        }
        const int lockFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        if (lockFd < 0) {
            const int err = errno;
            ::unlink(path.constData());
            ::close(fd);
            return err;
        }
        m_path = path;
        m_fd = fd;
        m_lockFd = lockFd;
        return 0;
    }
    return EEXIST;
}

int PartFile::reserve(qint64 size)
{
    if (size <= 0)
        return 0;
    // Allocating the blocks also claims the disk; where the file system
    // cannot, the size alone makes the file count as used space.
    if (::fallocate(m_fd, 0, 0, off_t(size)) == 0)
        return 0;
    if (errno != EOPNOTSUPP && errno != ENOSYS)
        return errno;
    return ::ftruncate(m_fd, off_t(size)) == 0 ? 0 : errno;
}

int PartFile::finishWriting()
{
    const int fd = std::exchange(m_fd, -1);
    return fd >= 0 && ::close(fd) != 0 ? errno : 0;
}

int PartFile::publish(const QByteArray &target, bool replace)
{
    int err = 0;
    if (replace) {
        err = ::rename(m_path.constData(), target.constData()) == 0 ? 0 : errno;
    } else if (::renameat2(AT_FDCWD, m_path.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0) {
        err = 0;
    } else if (errno != EINVAL && errno != ENOSYS) {
        err = errno;
    } else {
        // File systems without RENAME_NOREPLACE: a hard link fails on an existing name.
        err = ::link(m_path.constData(), target.constData()) == 0 ? 0 : errno;
        if (err == 0)
            ::unlink(m_path.constData());
    }
    m_published = err == 0;
    return err;
}

qint64 usedBytes(const QString &folder)
{
    qint64 used = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (isPartName(it.fileName()) && removeIfStale(it.filePath()))
            continue;
        used += it.fileInfo().size();
    }
    return used;
}

void removeStaleParts(const QString &folder, bool recursive)
{
    QDirIterator it(folder, {g_reservedPrefix + QLatin1Char('*') + s_partSuffix},
                    QDir::Files | QDir::Hidden | QDir::NoSymLinks,
                    recursive ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    while (it.hasNext())
        removeIfStale(it.next());
}

MemoryLock::MemoryLock(const QString &memoryFolder)
{
    // The folder itself carries the lock: no file of its own to see or remove.
    m_fd = ::open(QFile::encodeName(memoryFolder).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (m_fd >= 0 && lockRetrying(m_fd, LOCK_EX) != 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

MemoryLock::~MemoryLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

} // namespace kelvra
