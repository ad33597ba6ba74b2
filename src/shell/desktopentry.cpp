#include "desktopentry.h"

#include "programfiles.h"
#include "translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

namespace DesktopEntry {
namespace {

// The escapes of a string value: what a reader undoes before anything else.
QString stringValue(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\t': out += QLatin1String("\\t"); break;
        case '\r': out += QLatin1String("\\r"); break;
        default: out += c;
        }
    }
    return out;
}

// An icon theme finds the installed icon by name only when it lies under one
// of the desktop's data folders; otherwise the entry names the file.
QString iconValue()
{
    const QString file = ProgramFiles::iconFile();
    if (file.isEmpty())
        return QLatin1String(ProgramFiles::AppId);
    const QString themeFile = QStringLiteral("icons/hicolor/scalable/apps/") + QFileInfo(file).fileName();
    for (const QString &data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        if (QFileInfo(QDir(data).filePath(themeFile)) == QFileInfo(file))
            return QLatin1String(ProgramFiles::AppId);
    }
    return stringValue(file);
}

} // namespace

QString fileId()
{
    return QLatin1String(ProgramFiles::AppId) + QStringLiteral(".desktop");
}

QString userApplicationsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/applications");
}

QString userFilePath()
{
    return userApplicationsFolder() + QLatin1Char('/') + fileId();
}

QStringList mimeTypes()
{
    return {QStringLiteral("video/3gpp"), QStringLiteral("video/x-msvideo"), QStringLiteral("video/quicktime"),
            QStringLiteral("video/mp4"),  QStringLiteral("video/mpeg"),      QStringLiteral("video/x-ms-wmv"),
            QStringLiteral("x-scheme-handler/tmk")};
}

QString execArgument(const QString &argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = argument.isEmpty();
    for (const QChar c : argument)
        quote = quote || reserved.contains(c);
    QString out;
    if (quote)
        out += QLatin1Char('"');
    for (const QChar c : argument) {
        if (quote && (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\')))
            out += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            out += QLatin1Char('%');
        out += c;
    }
    if (quote)
        out += QLatin1Char('"');
    return stringValue(out);
}

QString execLine(const QString &programPath)
{
    return execArgument(programPath) + QStringLiteral(" %u");
}

QByteArray contents(const QString &programPath)
{
    const char *const commentSource = QT_TRANSLATE_NOOP("DesktopEntry", "Get videos onto your phone");
    const QString comment = QCoreApplication::translate("DesktopEntry", commentSource);
    QStringList lines{
        QStringLiteral("[Desktop Entry]"),
        QStringLiteral("Type=Application"),
        QStringLiteral("Version=1.4"),
        QStringLiteral("Name=Orvak Tamsel"),
        QStringLiteral("Comment=") + QLatin1String(commentSource),
    };
    const QString language = Translation::loadedLanguage();
    if (!language.isEmpty() && comment != QLatin1String(commentSource))
        lines << QStringLiteral("Comment[%1]=").arg(language) + stringValue(comment);
    lines << QStringLiteral("Icon=") + iconValue()
          << QStringLiteral("TryExec=") + stringValue(programPath)
          << QStringLiteral("Exec=") + execLine(programPath)
          << QStringLiteral("Terminal=false")
          << QStringLiteral("Categories=AudioVideo;Video;")
          << QStringLiteral("MimeType=") + mimeTypes().join(QLatin1Char(';')) + QLatin1Char(';');
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

bool write(const QString &programPath, bool *changed, QString *error)
{
    if (changed)
        *changed = false;
    const QByteArray data = contents(programPath);
    const QString path = userFilePath();
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == data)
        return true;
    current.close();
    QSaveFile file(path);
    if (!QDir().mkpath(userApplicationsFolder()) || !file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    file.write(data);
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (changed)
        *changed = true;
    return true;
}

} // namespace DesktopEntry
