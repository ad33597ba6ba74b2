#pragma once

namespace PlayerComponent {
class IVideoPlayer;
}

// Creates player component instances from the component library, loaded
// once per process: from $TAMSEL_PLAYER_LIBRARY when set, else beside the
// program, else from the library search path. Returns null when the
// component is not installed. GUI thread only, like the instances.
namespace PlayerLibrary {
PlayerComponent::IVideoPlayer *create();
}
