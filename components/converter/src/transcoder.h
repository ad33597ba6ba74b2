#pragma once

#include "videoconvertercomponent.h"

#include <QString>

#include <atomic>
#include <functional>

// One conversion of a source file into an H.264/AAC MP4 file, run to its end
// on the calling thread. The result appears at `outputPath` only when the
// conversion succeeds; until then it is written to a hidden temporary file in
// the same folder, which is removed on failure or cancel. An existing file at
// `outputPath` is never replaced.
struct TranscodeRequest
{
    QString sourcePath;
    QString outputPath; // with extension
    ConverterComponent::EncoderConfig config;
    quint32 audioBitrate = 128000;
    const std::atomic<bool> *cancel = nullptr;
    // Called with 0..100 as the conversion advances (on the calling thread).
    std::function<void(int)> progress;
};

ConverterComponent::Error transcode(const TranscodeRequest &request);

// Even frame size inside `width` x `height` that keeps the source's shape,
// and its position centred in the frame (offsets even as well).
struct FittedPicture
{
    int width = 0;
    int height = 0;
    int x = 0;
    int y = 0;
};
FittedPicture fitPicture(int sourceWidth, int sourceHeight, double pixelAspect, int frameWidth, int frameHeight);

// True when the installed libraries can encode H.264 and AAC.
bool haveVideoEncoder();
bool haveAudioEncoder();
