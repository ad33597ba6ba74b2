#include "source.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ConverterComponent;

namespace {

int interruptRequested(void *opaque)
{
    return static_cast<const std::atomic<bool> *>(opaque)->load() ? 1 : 0;
}

// How long one wait for data lasts before the cancel flag is looked at again.
constexpr int kWaitStepMs = 100;
constexpr int kBufferSize = 64 * 1024;

} // namespace

// The descriptor a source is read through, with the I/O context the
// container reads it by.
struct Source::Reader
{
    int fd = -1;
    int64_t size = -1; // -1 when the source has no size (a FIFO)
    const std::atomic<bool> *cancel = nullptr;
    AVIOContext *io = nullptr;

    bool cancelled() const { return cancel && cancel->load(); }

    static int read(void *opaque, uint8_t *buffer, int size)
    {
        auto *reader = static_cast<Reader *>(opaque);
        for (;;) {
            if (reader->cancelled())
                return AVERROR_EXIT;
            // A regular file is always ready; a FIFO or pipe may keep us
            // waiting, but never past the next look at the cancel flag.
            pollfd ready{reader->fd, POLLIN, 0};
            const int polled = ::poll(&ready, 1, reader->cancel ? kWaitStepMs : -1);
            if (polled < 0 && errno != EINTR)
                return AVERROR(errno);
            if (polled <= 0)
                continue;
            const ssize_t got = ::read(reader->fd, buffer, size_t(size));
            if (got > 0)
                return int(got);
            if (got == 0)
                return AVERROR_EOF;
            if (errno != EAGAIN && errno != EINTR)
                return AVERROR(errno);
        }
    }

    static int64_t seek(void *opaque, int64_t offset, int whence)
    {
        auto *reader = static_cast<Reader *>(opaque);
        if (whence & AVSEEK_SIZE)
            return reader->size >= 0 ? reader->size : AVERROR(ENOSYS);
        const off_t at = ::lseek(reader->fd, off_t(offset), whence & ~AVSEEK_FORCE);
        return at < 0 ? AVERROR(errno) : int64_t(at);
    }
};

void Source::ReaderDeleter::operator()(Reader *reader) const
{
    if (reader->io)
        av_freep(&reader->io->buffer);
    avio_context_free(&reader->io);
    if (reader->fd >= 0)
        ::close(reader->fd);
    delete reader;
}

Source::Source() = default;

Source::~Source()
{
    close();
}

void Source::close()
{
    m_format.reset();
    m_reader.reset();
}

Error Source::open(const QString &path, const std::atomic<bool> *cancel)
{
    close();
    m_video = m_audio = -1;
    m_videoDecoder = m_audioDecoder = nullptr;
    m_info = MediaInfo();

    // Opening without blocking returns at once even for a FIFO that has no
    // writer yet; the reads below then wait in steps that can be cancelled.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return FileAccessProblem;
    std::unique_ptr<Reader, ReaderDeleter> reader(new Reader);
    reader->fd = fd;
    reader->cancel = cancel;
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode))
        return FileAccessProblem;
    const bool seekable = S_ISREG(st.st_mode) || S_ISBLK(st.st_mode);
    if (S_ISREG(st.st_mode))
        reader->size = st.st_size;

    auto *buffer = static_cast<unsigned char *>(av_malloc(kBufferSize));
    if (!buffer)
        return OutOfMemory;
    reader->io = avio_alloc_context(buffer, kBufferSize, 0, reader.get(), &Reader::read, nullptr,
                                    seekable ? &Reader::seek : nullptr);
    if (!reader->io) {
        av_free(buffer);
        return OutOfMemory;
    }

    AVFormatContext *format = avformat_alloc_context();
    if (!format)
        return OutOfMemory;
    format->pb = reader->io;
    format->flags |= AVFMT_FLAG_CUSTOM_IO;
    if (cancel) {
        format->interrupt_callback.callback = interruptRequested;
        format->interrupt_callback.opaque = const_cast<std::atomic<bool> *>(cancel);
    }
    m_reader = std::move(reader);
    // avformat_open_input frees the context itself on failure.
    const int opened = avformat_open_input(&format, QFile::encodeName(path).constData(), nullptr, nullptr);
    if (opened < 0) {
        if (m_reader->cancelled())
            return Cancelled;
        return opened == AVERROR(EIO) || opened == AVERROR(EACCES) ? FileAccessProblem : UnsupportedFileType;
    }
    m_format.reset(format);
    if (avformat_find_stream_info(format, nullptr) < 0)
        return m_reader->cancelled() ? Cancelled : UnsupportedFileType;
    if (m_reader->cancelled())
        return Cancelled;

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
