#include "programfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace ProgramFiles {
namespace {

QString executableFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString installedDataFolder()
{
    return QDir::cleanPath(executableFolder() + QStringLiteral("/../share/orvak-tamsel"));
}

} // namespace

QString programPath()
{
    return QCoreApplication::applicationFilePath();
}

bool isInstalled()
{
    return QFileInfo(installedDataFolder()).isDir();
}

QString dataFolder()
{
    return isInstalled() ? installedDataFolder() : executableFolder();
}

QString resourcePackage()
{
    return dataFolder() + QStringLiteral("/Resource/videotransfer.rcc");
}

QString langFolder()
{
    return dataFolder() + QStringLiteral("/Lang");
}

QString translationsFolder()
{
    return dataFolder() + QStringLiteral("/translations");
}

QString iconFile()
{
    const QString name = QLatin1String(AppId) + QStringLiteral(".svg");
    const QString file = isInstalled()
                             ? QDir::cleanPath(dataFolder() + QStringLiteral("/../icons/hicolor/scalable/apps/") + name)
                             : executableFolder() + QStringLiteral("/icons/") + name;
    return QFileInfo(file).isFile() ? file : QString();
}

} // namespace ProgramFiles
