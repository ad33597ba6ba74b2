#pragma once

// The folders of the connectivity library, as documented in kelvraapi.h.
// Header-only, so the library and the programs that load it (which never link
// to it) agree on them without sharing code.

#include <QDir>
#include <QStandardPaths>
#include <QString>

#include <unistd.h>

namespace KelvraPaths {

inline QString fromEnv(const char *name)
{
    return QDir::cleanPath(QString::fromLocal8Bit(qgetenv(name)));
}

// Where the library keeps its own files, among them the per-phone
// configuration files under "Pelmora/ConfServer/".
inline QString dataFolder()
{
    if (qEnvironmentVariableIsEmpty("KELVRA_DATA_DIR"))
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/kelvra");
    return fromEnv("KELVRA_DATA_DIR");
}

// One folder per folder-backed phone.
inline QString devicesFolder()
{
    if (qEnvironmentVariableIsEmpty("KELVRA_DEVICES_DIR"))
        return dataFolder() + QStringLiteral("/devices");
    return fromEnv("KELVRA_DEVICES_DIR");
}

// Where the service's going-away and back markers appear.
inline QString runtimeFolder()
{
    if (!qEnvironmentVariableIsEmpty("KELVRA_RUNTIME_DIR"))
        return fromEnv("KELVRA_RUNTIME_DIR");
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return fromEnv("XDG_RUNTIME_DIR") + QStringLiteral("/kelvra");
    return QDir::tempPath() + QStringLiteral("/kelvra-") + QString::number(::getuid());
}

} // namespace KelvraPaths
