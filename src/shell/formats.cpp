#include "formats.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>
#include <QTime>

namespace Formats {

QString sizeText(qint64 bytes, bool forceMB)
{
    constexpr double kKiB = 1024.0;
    constexpr double kMiB = 1048576.0;
    if (forceMB)
        return QCoreApplication::translate("Formats", "%1 MB").arg(QString::number(bytes / kMiB, 'f', 0));
    if (bytes < 1024)
        return QCoreApplication::translate("Formats", "%1 B").arg(bytes);
    if (bytes < 1048576)
        return QCoreApplication::translate("Formats", "%1 KB").arg(QString::number(bytes / kKiB, 'f', 0));
    return QCoreApplication::translate("Formats", "%1 MB").arg(QString::number(bytes / kMiB, 'f', 2));
}

QString durationText(qint64 seconds)
{
    const qint64 ofDay = ((seconds % 86400) + 86400) % 86400;
    return QTime(0, 0).addSecs(int(ofDay)).toString(QStringLiteral("hh:mm:ss"));
}

QString dateText(const QDateTime &when, const QDate &today)
{
    if (when.date() == today)
        return when.toString(QStringLiteral("HH:mm"));
    return when.toString(QStringLiteral("dd.MM.yyyy, HH:mm"));
}

QString dateText(const QDateTime &when)
{
    return dateText(when, QDate::currentDate());
}

QString whiteText(const QString &text)
{
    return QStringLiteral("<font color=\"white\">") + text + QStringLiteral("</font>");
}

QString redText(const QString &text)
{
    return QStringLiteral("<font color=\"red\">") + text + QStringLiteral("</font>");
}

QString escaped(const QString &outside)
{
    return outside.toHtmlEscaped();
}

} // namespace Formats
