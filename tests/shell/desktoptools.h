#pragma once

// The desktop's own command-line tools (xdg-mime, xdg-open,
// desktop-file-validate, gio) run against this test's private desktop: the
// sandbox's XDG folders, no desktop environment of the machine's session,
// and, when given, private system data folders instead of the machine's
// installed applications.

#include "mediaclips.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace DesktopTools {

inline QProcessEnvironment environment(const QString &systemDataDirs = QString())
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The tools ask a running desktop when they find one; this desktop is
    // only its files.
    for (const char *name : {"XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                             "KDE_SESSION_VERSION", "GNOME_DESKTOP_SESSION_ID", "MATE_DESKTOP_SESSION_ID",
                             "LXQT_SESSION_CONFIG", "XDG_MENU_PREFIX", "BROWSER", "DBUS_SESSION_BUS_ADDRESS"})
        env.remove(QLatin1String(name));
    if (!systemDataDirs.isEmpty())
        env.insert(QStringLiteral("XDG_DATA_DIRS"), systemDataDirs);
    // xdg-open hands files and links to desktop entries only when it believes
    // a display is there; the programs it starts here draw offscreen.
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":tamsel-test"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

struct Result
{
    int exitCode = -1;
    QByteArray output; // standard output and error together
};

inline Result run(const QString &program, const QStringList &arguments,
                  const QProcessEnvironment &env = environment(), const QString &folder = QString())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.start(program, arguments);
    Result result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(5000);
        result.output = "timed out: " + process.readAll();
        return result;
    }
    result.output = process.readAll();
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return result;
}

// The desktop file id xdg-mime names as the default for a type, or empty.
inline QString queryDefault(const QString &mimeType, const QProcessEnvironment &env = environment())
{
    return QString::fromUtf8(run(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), mimeType}, env)
                                 .output.trimmed());
}

// Writes a desktop entry of another video player into dataDir/applications.
inline bool writeOtherPlayer(const QString &dataDir, const QString &fileId)
{
    QDir().mkpath(dataDir + QStringLiteral("/applications"));
    QFile file(dataDir + QStringLiteral("/applications/") + fileId);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write("[Desktop Entry]\nType=Application\nName=Other Player\nExec=/bin/true %U\n"
               "MimeType=video/mp4;video/x-msvideo;video/mpeg;video/quicktime;\n");
    return true;
}

// A short clip without sound: all a desktop needs to take it for a video.
inline MediaClips::ClipSpec smallSilentClip()
{
    MediaClips::ClipSpec spec;
    spec.width = 160;
    spec.height = 120;
    spec.rate = 10;
    spec.seconds = 1;
    spec.audio = false;
    return spec;
}

} // namespace DesktopTools
