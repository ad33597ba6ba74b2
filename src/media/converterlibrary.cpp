#include "converterlibrary.h"

#include "medialog.h"
#include "videoconvertercomponent.h"

#include <QCoreApplication>
#include <QLibrary>
#include <mutex>

namespace ConverterLibrary {

namespace {

TamselConverterFactory resolveFactory()
{
    QStringList candidates;
    const QString configured = qEnvironmentVariable("TAMSEL_CONVERTER_LIBRARY");
    if (!configured.isEmpty()) {
        candidates << configured;
    } else {
        if (QCoreApplication::instance())
            candidates << QCoreApplication::applicationDirPath() + QStringLiteral("/libtamselconverter.so");
        candidates << QStringLiteral("tamselconverter");
    }
    for (const QString &candidate : candidates) {
        // Never unloaded: component objects may outlive any one user.
        auto *library = new QLibrary(candidate);
        if (auto factory = reinterpret_cast<TamselConverterFactory>(library->resolve(TAMSEL_CONVERTER_FACTORY)))
            return factory;
        qCWarning(lcMedia).noquote() << "converter component not loaded:" << library->errorString();
        delete library;
    }
    return nullptr;
}

} // namespace

ConverterComponent::IVideoConverter *create()
{
    static std::once_flag once;
    static TamselConverterFactory factory = nullptr;
    std::call_once(once, [] { factory = resolveFactory(); });
    return factory ? factory() : nullptr;
}

} // namespace ConverterLibrary
