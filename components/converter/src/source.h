#pragma once

#include "ffmpeg.h"
#include "videoconvertercomponent.h"

#include <atomic>

// An opened source video: its container, the streams the converter would use
// and the properties it reports. Opening reads only the file's headers and a
// few packets, never the whole file.
//
// The source is read through a descriptor of its own, opened without
// blocking, so that a source that would block (a FIFO without a writer, a
// pipe that stalls) waits in short steps that watch `cancel`: once it is set,
// opening and every later read end within a fraction of a second.
class Source
{
public:
    Source();
    ~Source();
    Source(const Source &) = delete;
    Source &operator=(const Source &) = delete;

    // Returns a component error number; NoError on success, Cancelled when
    // `cancel` was set. `cancel` may be null; it must outlive the source.
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
    struct Reader;
    struct ReaderDeleter
    {
        void operator()(Reader *reader) const;
    };
    void close();

    // The reader outlives the container that reads through it.
    std::unique_ptr<Reader, ReaderDeleter> m_reader;
    ff::Input m_format;
    int m_video = -1;
    int m_audio = -1;
    const AVCodec *m_videoDecoder = nullptr;
    const AVCodec *m_audioDecoder = nullptr;
    ConverterComponent::MediaInfo m_info;
};
