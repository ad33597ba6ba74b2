#include "componentlibrary.h"

#include "apibase.h"
#include "medialog.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QStringList>

QFunctionPointer resolveComponentFactory(const char *environment, const QString &fileName,
                                         const QString &libraryName, const char *factory)
{
    QStringList candidates;
    const QString configured = qEnvironmentVariable(environment);
    if (!configured.isEmpty()) {
        candidates << configured;
    } else {
        if (QCoreApplication::instance())
            candidates << QCoreApplication::applicationDirPath() + QLatin1Char('/') + fileName;
        candidates << libraryName;
    }
    for (const QString &candidate : candidates) {
        auto *library = new QLibrary(candidate);
        if (QFunctionPointer resolved = library->resolve(factory))
            return resolved;
        qCWarning(lcMedia).noquote() << "component not loaded:" << library->errorString();
        delete library;
    }
    return nullptr;
}

bool checkComponentCreated(Orvak_API::API_Base &wrapper, bool created, const QString &context)
{
    constexpr int32_t kNotInstalled = int32_t(0x80040154u);
    return wrapper.checkResult(created ? 0 : kNotInstalled, context, true);
}
