#include "conversionplan.h"

namespace Conversion {

Settings::ProfileValues profileFor(Settings::Quality quality)
{
    return Settings::advancedProfiles() ? Settings::profile(quality) : Settings::defaultProfile(quality);
}

Plan plan(const SourceProperties &source, const Settings::ProfileValues &profile, const PhoneLimits &limits)
{
    Plan p;
    p.width = source.width;
    p.height = source.height;
    const bool smallSource = source.width <= 176 && source.height <= 144;

    // A profile limits the size only when it gives both sides.
    if (profile.width != 0 && profile.height != 0 && (p.width > profile.width || p.height > profile.height)) {
        p.width = profile.width;
        p.height = profile.height;
    }
    // Video rates count in 1024s, audio rates in 1000s.
    p.videoBitrate = profile.videoBitrate * 1024;
    p.audioBitrate = profile.audioBitrate * 1000;
    p.channels = profile.audio ? source.channels : 0;

    if (limits.width < p.width || limits.height < p.height) {
        p.width = limits.width;
        p.height = limits.height;
    }
    if (limits.maxBitrateKbps * 1024 < p.videoBitrate)
        p.videoBitrate = limits.maxBitrateKbps * 1024;

    if (smallSource) {
        p.width = 128;
        p.height = 96;
    }

    // A source that does not tell its frame rate keeps the profile's.
    p.frameRate = profile.fps;
    if (source.frameRate > 0 && source.frameRate < p.frameRate)
        p.frameRate = source.frameRate;

    p.channels = qMin(p.channels, 2);
    if (profile.mono && p.channels > 1)
        p.channels = 1;
    p.sampleRate = source.sampleRate > 0 ? source.sampleRate : 48000;
    return p;
}

QString outputBase(const QString &outputFolder, const QString &target)
{
    QString name = target;
    const int slash = name.lastIndexOf(QLatin1Char('/'));
    // Only a dot in the file name starts an extension, not one in a folder name.
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > slash)
        name.truncate(dot);
    name = name.mid(slash + 1);
    if (outputFolder.endsWith(QLatin1Char('/')))
        return outputFolder + name;
    return outputFolder + QLatin1Char('/') + name;
}

} // namespace Conversion
