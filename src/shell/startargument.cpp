#include "startargument.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

QString normalizedArgument(const QString &argument)
{
    if (argument.isEmpty())
        return argument;
    if (argument.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        // A file on another host has no local path here.
        const QUrl url(argument);
        const bool here = url.host().isEmpty() || url.host() == QLatin1String("localhost");
        return url.isLocalFile() && here ? url.path(QUrl::FullyDecoded) : argument;
    }
    // A scheme is letters, digits, '+', '-' and '.' before a colon; a file of
    // such a name in the current folder is still a file.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    if (scheme.match(argument).hasMatch() && !QFileInfo::exists(argument))
        return argument;
    return QDir::cleanPath(QDir::current().absoluteFilePath(argument));
}
