#include "componentlibrary.h"

#include "apibase.h"
#include "medialog.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <dlfcn.h>

QFunctionPointer resolveComponentFactory(const char *environment, const QString &fileName, const char *factory)
{
    QStringList candidates;
    const QString configured = qEnvironmentVariable(environment);
    if (!configured.isEmpty()) {
        candidates << configured;
    } else {
        if (QCoreApplication::instance())
            candidates << QCoreApplication::applicationDirPath() + QLatin1Char('/') + fileName;
        candidates << fileName;
    }
    QStringList failures;
    for (const QString &candidate : candidates) {
        // Called from the program's own code, the loader searches a bare file
        // name along the program's run path, where an installed program keeps
        // its private libraries. The handle is never closed.
        void *handle = dlopen(QFile::encodeName(candidate).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            failures << QString::fromLocal8Bit(dlerror());
            continue;
        }
        if (void *resolved = dlsym(handle, factory))
            return reinterpret_cast<QFunctionPointer>(resolved);
        failures << candidate + QStringLiteral(" has no ") + QLatin1String(factory);
        dlclose(handle);
    }
    for (const QString &failure : failures)
        qCWarning(lcMedia).noquote() << "component not loaded:" << failure;
    return nullptr;
}

bool checkComponentCreated(Orvak_API::API_Base &wrapper, bool created, const QString &context)
{
    constexpr int32_t kNotInstalled = int32_t(0x80040154u);
    return wrapper.checkResult(created ? 0 : kNotInstalled, context, true);
}
