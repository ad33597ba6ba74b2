#include "playerlibrary.h"

#include "componentlibrary.h"
#include "videoplayercomponent.h"

#include <QString>

namespace PlayerLibrary {

PlayerComponent::IVideoPlayer *create()
{
    static const auto factory = reinterpret_cast<TamselPlayerFactory>(
        resolveComponentFactory("TAMSEL_PLAYER_LIBRARY", QStringLiteral("libtamselplayer.so"),
                                TAMSEL_PLAYER_FACTORY));
    return factory ? factory() : nullptr;
}

} // namespace PlayerLibrary
