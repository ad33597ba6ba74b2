#pragma once

#include <QString>

namespace Orvak_API {

class Phone_Capabilities
{
public:
    virtual ~Phone_Capabilities() = default;
};

// What a phone model can play: the largest picture and the highest video bit
// rate, and where the phone keeps its own picture. The defaults are those of
// a common phone when nothing better is known.
class Phone_VideoCapabilities : public Phone_Capabilities
{
public:
    enum Preset { Low = 0, Medium = 1, High = 2 };

    Phone_VideoCapabilities() = default;
    explicit Phone_VideoCapabilities(Preset preset) { setPreset(preset); }

    // High and Medium are 320 x 240 at 384 and 192 kbit/s, Low 176 x 144 at
    // 128 kbit/s. The picture file stays as it is.
    void setPreset(Preset preset)
    {
        switch (preset) {
        case High:
            width = 320;
            height = 240;
            maxBitrate = 384;
            break;
        case Medium:
            width = 320;
            height = 240;
            maxBitrate = 192;
            break;
        case Low:
            width = 176;
            height = 144;
            maxBitrate = 128;
            break;
        }
    }

    int height = 240;
    int width = 320;
    int maxBitrate = 192; // kbit/s
    QString imageFile;
};

} // namespace Orvak_API
