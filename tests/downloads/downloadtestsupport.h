#pragma once

// What the download tests share: a network with no proxy of the machine's
// own between the test and its server, and a real clip to serve.

#include "mediaclips.h"

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

} // namespace TestSupport
