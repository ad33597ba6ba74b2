#include "downloadfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace DownloadFolder {

namespace {

QString systemError(const QString &what, const QString &path)
{
    return what + QStringLiteral(" ") + path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

QString privateFolder(QString *error)
{
    const QString path = QDir::tempPath() + QStringLiteral("/tamsel-downloads-") + QString::number(::geteuid());
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        if (error)
            *error = systemError(QStringLiteral("Cannot create the download folder"), path);
        return QString();
    }
    // Checked without following links: a link planted by someone else must
    // not lead our files elsewhere.
    struct stat info = {};
    if (::lstat(native.constData(), &info) != 0) {
        if (error)
            *error = systemError(QStringLiteral("Cannot check the download folder"), path);
        return QString();
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
        if (error)
            *error = QStringLiteral("The download folder %1 belongs to someone else or is not a folder").arg(path);
        return QString();
    }
    if ((info.st_mode & 0777) != 0700 && ::chmod(native.constData(), 0700) != 0) {
        if (error)
            *error = systemError(QStringLiteral("Cannot make the download folder private"), path);
        return QString();
    }
    return path;
}

namespace {
const QString s_lockName = QStringLiteral(".lock");
}

Own::Own() = default;

Own::~Own()
{
    // The lock goes first, then the folder with it.
    m_lock.reset();
    m_dir.reset();
}

std::unique_ptr<Own> Own::create(QString *error)
{
    const QString parent = privateFolder(error);
    if (parent.isEmpty())
        return nullptr;
    std::unique_ptr<Own> own(new Own);
    own->m_dir = std::make_unique<QTemporaryDir>(parent + QStringLiteral("/XXXXXX"));
    if (!own->m_dir->isValid()) {
        if (error)
            *error = QStringLiteral("Cannot create a folder in %1: %2").arg(parent, own->m_dir->errorString());
        return nullptr;
    }
    own->m_lock = std::make_unique<QLockFile>(own->m_dir->filePath(s_lockName));
    // Only a dead owner makes a lock stale, never its age: downloads run long.
    own->m_lock->setStaleLockTime(0);
    if (!own->m_lock->tryLock(0)) {
        if (error)
            *error = QStringLiteral("Cannot lock the folder ") + own->m_dir->path();
        return nullptr;
    }
    return own;
}

QString Own::path() const
{
    return m_dir->path();
}

void removeAbandoned()
{
    const QString parent = privateFolder();
    if (parent.isEmpty())
        return;
    const QFileInfoList subfolders = QDir(parent).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QFileInfo &sub : subfolders) {
        QLockFile lock(sub.absoluteFilePath() + QLatin1Char('/') + s_lockName);
        lock.setStaleLockTime(0);
        if (lock.tryLock(0)) {
            lock.unlock();
            QDir(sub.absoluteFilePath()).removeRecursively();
        }
    }
}

} // namespace DownloadFolder
