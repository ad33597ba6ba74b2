#include "source.h"

#include <QFile>

#include <cerrno>

using namespace ConverterComponent;

namespace {

int interruptRequested(void *opaque)
{
    return static_cast<const std::atomic<bool> *>(opaque)->load() ? 1 : 0;
}

bool isAccessError(int code)
{
    return code == AVERROR(ENOENT) || code == AVERROR(EACCES) || code == AVERROR(EPERM)
        || code == AVERROR(EISDIR) || code == AVERROR(EIO);
}

} // namespace

Error Source::open(const QString &path, const std::atomic<bool> *cancel)
{
    m_format.reset();
    m_video = m_audio = -1;
    m_videoDecoder = m_audioDecoder = nullptr;
    m_info = MediaInfo();

    AVFormatContext *format = avformat_alloc_context();
    if (!format)
        return OutOfMemory;
    if (cancel) {
        format->interrupt_callback.callback = interruptRequested;
        format->interrupt_callback.opaque = const_cast<std::atomic<bool> *>(cancel);
    }
    // avformat_open_input frees the context itself on failure.
    const int opened = avformat_open_input(&format, QFile::encodeName(path).constData(), nullptr, nullptr);
    if (opened < 0)
        return isAccessError(opened) ? FileAccessProblem : UnsupportedFileType;
    m_format.reset(format);
    if (avformat_find_stream_info(format, nullptr) < 0)
        return UnsupportedFileType;

    const AVCodec *decoder = nullptr;
    int index = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    // A cover picture in an audio file is not a video.
    if (index >= 0 && !(format->streams[index]->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
        m_video = index;
        m_videoDecoder = decoder;
    } else if (index == AVERROR_DECODER_NOT_FOUND) {
        m_video = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    }
    decoder = nullptr;
    index = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, m_video, &decoder, 0);
    if (index >= 0) {
        m_audio = index;
        m_audioDecoder = decoder;
    } else if (index == AVERROR_DECODER_NOT_FOUND) {
        m_audio = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, m_video, nullptr, 0);
    }

    if (!m_videoDecoder && !m_audioDecoder)
        return m_video < 0 && m_audio < 0 && format->nb_streams == 0 ? UnsupportedFileType : NoUsableStream;

    if (format->duration != AV_NOPTS_VALUE && format->duration > 0)
        m_info.durationMs = quint32(qMin<int64_t>(format->duration / 1000, 0xFFFFFFFFLL));
    if (m_video >= 0) {
        const AVStream *stream = format->streams[m_video];
        AVRational rate = stream->avg_frame_rate;
        if (rate.num <= 0 || rate.den <= 0)
            rate = stream->r_frame_rate;
        if (rate.num > 0 && rate.den > 0)
            m_info.frameRate = av_q2d(rate);
        m_info.width = quint16(qBound(0, stream->codecpar->width, 0xFFFF));
        m_info.height = quint16(qBound(0, stream->codecpar->height, 0xFFFF));
        if (!m_info.durationMs && stream->duration != AV_NOPTS_VALUE)
            m_info.durationMs = quint32(av_rescale_q(stream->duration, stream->time_base, {1, 1000}));
    }
    if (m_audio >= 0) {
        const AVCodecParameters *audio = format->streams[m_audio]->codecpar;
        m_info.sampleRate = quint32(qMax(0, audio->sample_rate));
        m_info.channels = quint8(qBound(0, audio->ch_layout.nb_channels, 255));
    }
    // A missing codec for one of the two is worth telling, but the file opens.
    if (m_video >= 0 && !m_videoDecoder)
        return NoVideoCodec;
    if (m_audio >= 0 && !m_audioDecoder)
        return NoAudioCodec;
    return NoError;
}

AVRational Source::pixelAspect() const
{
    if (m_video < 0)
        return {1, 1};
    AVRational sar = av_guess_sample_aspect_ratio(m_format.get(), m_format->streams[m_video], nullptr);
    if (sar.num <= 0 || sar.den <= 0)
        return {1, 1};
    return sar;
}
