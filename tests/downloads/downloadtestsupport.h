#pragma once

// What the download tests share: a network with no proxy of the machine's
// own between the test and its server, a real clip to serve, the built
// components and a fresh My collection folder.

#include "folderphones.h"
#include "mediaclips.h"
#include "settingsstore.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace TestSupport {

inline void withoutProxies()
{
    for (const char *name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY",
                             "no_proxy", "NO_PROXY"})
        qunsetenv(name);
}

// A two-second clip made at path, and its bytes; empty when FFmpeg fails.
inline QByteArray clipBytes(const QString &path)
{
    if (!MediaClips::make(path))
        return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The connectivity library and the converter of this build.
inline void useBuiltComponents()
{
    useBuiltLibrary();
    qputenv("TAMSEL_CONVERTER_LIBRARY", qgetenv("TAMSEL_BIN_DIR") + "/libtamselconverter.so");
}

// An empty My collection folder at path, made the program's.
inline void freshCollection(const QString &path)
{
    QDir(path).removeRecursively();
    QVERIFY(QDir().mkpath(path));
    Settings::setMyCollectionFolder(path);
}

// What a test that downloads real clips with the built components needs
// first; returns the clip's bytes (empty when FFmpeg failed).
inline QByteArray prepareClipDownloads(const QString &clipPath)
{
    withoutProxies();
    useBuiltComponents();
    return clipBytes(clipPath);
}

} // namespace TestSupport
