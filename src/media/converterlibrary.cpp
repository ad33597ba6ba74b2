#include "converterlibrary.h"

#include "componentlibrary.h"
#include "videoconvertercomponent.h"

#include <QString>
#include <mutex>

namespace ConverterLibrary {

ConverterComponent::IVideoConverter *create()
{
    static std::once_flag once;
    static TamselConverterFactory factory = nullptr;
    std::call_once(once, [] {
        factory = reinterpret_cast<TamselConverterFactory>(
            resolveComponentFactory("TAMSEL_CONVERTER_LIBRARY", QStringLiteral("libtamselconverter.so"),
                                    TAMSEL_CONVERTER_FACTORY));
    });
    return factory ? factory() : nullptr;
}

} // namespace ConverterLibrary
