#include "associations.h"

#include "desktopentry.h"
#include "mimeappslist.h"
#include "shelllog.h"

#include <QProcess>
#include <QStandardPaths>

#include <functional>

namespace Associations {
namespace {

struct FileType
{
    const char *key;
    const char *mimeType;
};

// In the order the settings apply them.
const FileType kFileTypes[] = {
    {"3gp", "video/3gpp"},  {"avi", "video/x-msvideo"}, {"mov", "video/quicktime"},
    {"mp4", "video/mp4"},   {"wmv", "video/x-ms-wmv"},  {"mpg", "video/mpeg"},
};

bool writeEntry(const QString &programPath, bool *changed)
{
    QString error;
    if (DesktopEntry::write(programPath, changed, &error))
        return true;
    qCWarning(lcShell).noquote() << "cannot write the desktop entry" << DesktopEntry::userFilePath() << ":" << error;
    return false;
}

// The desktop's cache of which entry opens which type follows the entries;
// file managers read it for their "Open with" lists.
void refreshDesktopDatabase()
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
    if (tool.isEmpty())
        return;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(tool, {QStringLiteral("-q"), DesktopEntry::userApplicationsFolder()});
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(1000);
        qCWarning(lcShell) << "update-desktop-database did not finish";
    }
}

// Writes the desktop entry, lets change edit the user's defaults and saves
// them; a list that exists but cannot be read is left untouched.
bool registerProgram(const QString &programPath,
                     const std::function<void(MimeAppsList &list, const QString &id)> &change)
{
    bool changed = false;
    bool ok = writeEntry(programPath, &changed);
    MimeAppsList list;
    if (list.load()) {
        change(list, DesktopEntry::fileId());
        changed |= list.isModified();
        if (!list.save()) {
            qCWarning(lcShell).noquote() << "cannot write" << list.path() << ":" << list.errorString();
            ok = false;
        }
    } else {
        qCWarning(lcShell).noquote() << "cannot read" << list.path() << ":" << list.errorString();
        ok = false;
    }
    if (changed)
        refreshDesktopDatabase();
    return ok;
}

} // namespace

QStringList fileTypeKeys()
{
    return {QStringLiteral("3gp"), QStringLiteral("avi"), QStringLiteral("mov"),
            QStringLiteral("mp4"), QStringLiteral("mpg"), QStringLiteral("wmv")};
}

QString mimeType(const QString &key)
{
    for (const FileType &type : kFileTypes)
        if (key == QLatin1String(type.key))
            return QLatin1String(type.mimeType);
    return {};
}

bool isAssociated(const QString &key)
{
    const QString type = mimeType(key);
    if (type.isEmpty())
        return false;
    MimeAppsList list;
    return list.load() && list.isDefault(type, DesktopEntry::fileId());
}

void readFlags(QVariantMap &values)
{
    MimeAppsList list;
    list.load();
    for (const FileType &type : kFileTypes)
        values.insert(QLatin1String(type.key),
                      list.isDefault(QLatin1String(type.mimeType), DesktopEntry::fileId()));
}

bool applyFlags(const QVariantMap &values, const QString &programPath)
{
    return registerProgram(programPath, [&values](MimeAppsList &list, const QString &id) {
        for (const FileType &type : kFileTypes) {
            const QString key = QLatin1String(type.key);
            if (!values.contains(key))
                continue;
            if (values.value(key).toBool())
                list.setDefault(QLatin1String(type.mimeType), id);
            else
                list.clearDefault(QLatin1String(type.mimeType), id);
        }
    });
}

bool registerAtFirstRun(const QString &programPath)
{
    return registerProgram(programPath, [](MimeAppsList &list, const QString &id) {
        list.setDefault(mimeType(QStringLiteral("3gp")), id);
        list.setDefault(mimeType(QStringLiteral("mp4")), id);
        list.setDefault(QLatin1String(LinkMimeType), id);
    });
}

} // namespace Associations
