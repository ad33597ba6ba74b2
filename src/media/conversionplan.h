#pragma once

#include "settingsstore.h"

#include <QString>

// How one video is converted for a phone: the frame, frame rate, bit rates
// and audio that follow from the source, the chosen quality profile and the
// phone's limits. Pure computation, so that the rules can be checked without
// converting anything.
namespace Conversion {

struct SourceProperties
{
    int width = 0;
    int height = 0;
    double frameRate = 0;
    int sampleRate = 0;
    int channels = 0;
};

struct PhoneLimits
{
    int width = 320;
    int height = 240;
    int maxBitrateKbps = 192;
};

struct Plan
{
    int width = 0;
    int height = 0;
    double frameRate = 0;
    int videoBitrate = 0; // bits per second
    int audioBitrate = 0; // bits per second
    int sampleRate = 0;
    int channels = 0; // 0: no audio track
};

// The profile a conversion at `quality` uses: the stored values when the
// advanced settings are on, else the built-in defaults.
Settings::ProfileValues profileFor(Settings::Quality quality);

Plan plan(const SourceProperties &source, const Settings::ProfileValues &profile, const PhoneLimits &limits);

// The output path without extension for converting `target` into
// `outputFolder`: the target's file name without its extension.
QString outputBase(const QString &outputFolder, const QString &target);

} // namespace Conversion
