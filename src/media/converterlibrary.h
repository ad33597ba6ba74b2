#pragma once

namespace ConverterComponent {
class IVideoConverter;
}

// Creates converter component instances from the component library, loaded
// once per process: from $TAMSEL_CONVERTER_LIBRARY when set, else beside the
// program, else from the library search path. Thread-safe. Returns null when
// the component is not installed.
namespace ConverterLibrary {
ConverterComponent::IVideoConverter *create();
}
