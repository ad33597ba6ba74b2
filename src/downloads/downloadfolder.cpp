#include "downloadfolder.h"

#include <QDir>
#include <QFile>
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

std::unique_ptr<QTemporaryDir> newDownloadFolder(QString *error)
{
    const QString parent = privateFolder(error);
    if (parent.isEmpty())
        return nullptr;
    auto folder = std::make_unique<QTemporaryDir>(parent + QStringLiteral("/XXXXXX"));
    if (!folder->isValid()) {
        if (error)
            *error = QStringLiteral("Cannot create a folder in %1: %2").arg(parent, folder->errorString());
        return nullptr;
    }
    return folder;
}

} // namespace DownloadFolder
