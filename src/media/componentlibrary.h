#pragma once

#include <QFunctionPointer>

class QString;

// Finds one of our outside components at run time and resolves its factory:
// from the path in the environment variable `environment` when set, else
// `fileName` beside the program, else `libraryName` on the library search
// path. A library once loaded is never unloaded, since objects it made may
// outlive any one user. Returns null when none of them has the factory.
QFunctionPointer resolveComponentFactory(const char *environment, const QString &fileName,
                                         const QString &libraryName, const char *factory);
