#include "datafilelock.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <memory>

namespace {

// Holds are short (one read and one write of a file), so a holder that
// keeps the lock this long is stuck, and the save fails rather than hang.
constexpr int kWaitMs = 20000;

QMutex *mutexFor(const QString &file)
{
    static QMutex registryLock;
    static QHash<QString, std::shared_ptr<QMutex>> mutexes;
    QMutexLocker lock(&registryLock);
    std::shared_ptr<QMutex> &mutex = mutexes[QFileInfo(file).absoluteFilePath()];
    if (!mutex)
        mutex = std::make_shared<QMutex>();
    return mutex.get();
}

QString lockError(QLockFile::LockError error, const QString &lockPath)
{
    switch (error) {
    case QLockFile::LockFailedError:
        return QStringLiteral("%1 is held by another program").arg(QDir::toNativeSeparators(lockPath));
    case QLockFile::PermissionError:
        return QStringLiteral("%1 cannot be created: permission denied").arg(QDir::toNativeSeparators(lockPath));
    case QLockFile::NoError:
    case QLockFile::UnknownError:
        break;
    }
    return QStringLiteral("%1 cannot be created").arg(QDir::toNativeSeparators(lockPath));
}

} // namespace

DataFileLock::DataFileLock(const QString &file) : m_mutex(mutexFor(file)), m_lockFile(file + QStringLiteral(".lock"))
{
    m_mutex->lock();
    m_locked = m_lockFile.tryLock(kWaitMs);
    if (!m_locked)
        m_error = lockError(m_lockFile.error(), file + QStringLiteral(".lock"));
}

DataFileLock::~DataFileLock()
{
    if (m_locked)
        m_lockFile.unlock();
    m_mutex->unlock();
}
