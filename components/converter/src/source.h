#pragma once

#include "ffmpeg.h"
#include "videoconvertercomponent.h"

#include <atomic>

// An opened source video: its container, the streams the converter would use
// and the properties it reports. Opening reads only the file's headers and a
// few packets, never the whole file.
class Source
{
public:
    // Returns a component error number; NoError on success. `cancel` may be
    // null; when set it breaks blocking reads.
    ConverterComponent::Error open(const QString &path, const std::atomic<bool> *cancel = nullptr);

    AVFormatContext *format() const { return m_format.get(); }
    int videoStream() const { return m_video; }
    int audioStream() const { return m_audio; }
    const AVCodec *videoDecoder() const { return m_videoDecoder; }
    const AVCodec *audioDecoder() const { return m_audioDecoder; }
    const ConverterComponent::MediaInfo &info() const { return m_info; }
    // Display aspect of a source pixel (1 when the source does not say).
    AVRational pixelAspect() const;

private:
    ff::Input m_format;
    int m_video = -1;
    int m_audio = -1;
    const AVCodec *m_videoDecoder = nullptr;
    const AVCodec *m_audioDecoder = nullptr;
    ConverterComponent::MediaInfo m_info;
};
