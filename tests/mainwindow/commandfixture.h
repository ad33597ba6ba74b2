#pragma once

// What the tests of the window's commands share: files in the private home,
// real clips, and the program's message dialogs as the user sees them.

#include "windowfixture.h"

#include "catalogue.h"
#include "dialogfixture.h"
#include "mediaclips.h"
#include "messagedialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace WindowTest {

inline QString home(const QString &relative)
{
    return QDir::homePath() + QLatin1Char('/') + relative;
}

// A folder of n real clips, named prefix1.avi ... prefixN.avi.
inline QStringList makeClips(const QString &folder, const QString &prefix, int n)
{
    QDir().mkpath(folder);
    QStringList paths;
    MediaClips::ClipSpec spec;
    spec.seconds = 2;
    for (int i = 1; i <= n; ++i) {
        const QString path = folder + QLatin1Char('/') + prefix + QString::number(i) + QStringLiteral(".avi");
        if (!QFileInfo::exists(path) && !MediaClips::make(path, spec))
            return {};
        paths << path;
    }
    return paths;
}

inline QStringList scanResultPaths()
{
    QStringList paths;
    for (const FileItem &item : Catalogue::instance().scanResults)
        paths << item.pc.path;
    paths.sort();
    return paths;
}

inline CMessageDialog *shownMessage()
{
    const QList<CMessageDialog *> shown = visibleDialogs<CMessageDialog>();
    return shown.size() == 1 ? shown.constFirst() : nullptr;
}

inline QString messageText(const QWidget *dialog)
{
    QString text;
    for (const QLabel *label : dialog->findChildren<QLabel *>())
        text += plainText(label) + QLatin1Char('\n');
    return text;
}

inline QByteArray readLog()
{
    QFile file(Catalogue::logPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace WindowTest
