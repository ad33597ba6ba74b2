#include "helpservice.h"

#include "programfiles.h"
#include "settingsstore.h"
#include "shelllog.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace Help {
namespace {

const char kFolderName[] = "HELP";
const char kIndexPage[] = "index.html";

FailureHandler &failureHandler()
{
    static FailureHandler handler;
    return handler;
}

bool fail(Failure failure, int topic, const QString &page)
{
    qCInfo(lcShell).noquote() << "help topic" << topic
                              << (failure == Failure::NotInstalled ? "is not installed" : "cannot be shown:") << page;
    if (failureHandler())
        failureHandler()(failure, topic, page);
    return false;
}

} // namespace

void setFailureHandler(FailureHandler handler)
{
    failureHandler() = std::move(handler);
}

QStringList searchFolders()
{
    QStringList folders{ProgramFiles::dataFolder() + QLatin1Char('/') + QLatin1String(kFolderName)};
    const QString below = QLatin1String(Settings::Organisation) + QLatin1Char('/')
                          + QLatin1String(Settings::Application) + QLatin1Char('/') + QLatin1String(kFolderName);
    for (const QString &data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << data + QLatin1Char('/') + below;
    return folders;
}

QString helpFolder()
{
    for (const QString &folder : searchFolders())
        if (QFileInfo(folder).isDir())
            return QDir(folder).absolutePath();
    return {};
}

QString pagePath(int topic)
{
    const QString folder = helpFolder();
    if (folder.isEmpty())
        return {};
    const QDir dir(folder);
    const QStringList candidates{QString::number(topic) + QStringLiteral(".html"), QString::fromLatin1(kIndexPage)};
    for (const QString &name : candidates) {
        const QFileInfo page(dir.filePath(name));
        if (page.isFile())
            return page.absoluteFilePath();
    }
    return {};
}

bool openHelp(int topic)
{
    const QString page = pagePath(topic);
    if (page.isEmpty())
        return fail(Failure::NotInstalled, topic, page);
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(page)))
        return fail(Failure::CannotOpen, topic, page);
    return true;
}

} // namespace Help
