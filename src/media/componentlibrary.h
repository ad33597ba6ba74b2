#pragma once

#include <QFunctionPointer>
#include <QString>

namespace Orvak_API {
class API_Base;
}

// Finds one of our outside components at run time and resolves its factory:
// from the path in the environment variable `environment` when set, else
// `fileName` beside the program (the build tree), else `fileName` along the
// program's run path (an installed program's private library folder) and
// the library search path. A library once loaded is never unloaded, since
// objects it made may outlive any one user. Returns null when none of them
// has the factory.
QFunctionPointer resolveComponentFactory(const char *environment, const QString &fileName, const char *factory);

// Records a component object's creation in its wrapper: a component that is
// not installed fails with "class not registered" (0x80040154), reported
// with context and marked. Returns whether it was created.
bool checkComponentCreated(Orvak_API::API_Base &wrapper, bool created, const QString &context);

// A QString as the zero-terminated UTF-16 text the components take; valid
// while text lives unchanged.
inline const char16_t *componentText(const QString &text)
{
    return reinterpret_cast<const char16_t *>(text.utf16());
}
