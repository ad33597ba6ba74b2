#include "transcoder.h"

#include "ffmpeg.h"
#include "source.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <cmath>
#include <memory>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ConverterComponent;

namespace {

const AVCodec *findVideoEncoder()
{
    if (const AVCodec *x264 = avcodec_find_encoder_by_name("libx264"))
        return x264;
    return avcodec_find_encoder(AV_CODEC_ID_H264);
}

const AVCodec *findAudioEncoder()
{
    // FFmpeg's own encoder gives plain AAC-LC, which every phone plays.
    if (const AVCodec *aac = avcodec_find_encoder_by_name("aac"))
        return aac;
    return avcodec_find_encoder(AV_CODEC_ID_AAC);
}

int evenDown(int value)
{
    return qMax(2, value & ~1);
}

// The output frame slot a source frame at `elapsed` (in `timeBase`) falls
// on: the nearest slot of the output's frame grid, the earlier one on a tie.
// Lowering 30 to 15 fps thus keeps frames 0, 2, 4, ... on their own times,
// and a clip of d seconds gives d x rate frames.
int64_t frameSlot(int64_t elapsed, AVRational timeBase, AVRational rate)
{
    // slot = ceil(elapsed x timeBase x rate - 1/2), exactly, in integers.
    const __int128 scale = __int128(timeBase.num) * rate.num;
    const __int128 unit = __int128(timeBase.den) * rate.den;
    const __int128 numerator = 2 * __int128(elapsed) * scale - unit;
    const __int128 denominator = 2 * unit;
    if (denominator <= 0)
        return 0;
    const __int128 slot = numerator >= 0 ? (numerator + denominator - 1) / denominator : -((-numerator) / denominator);
    return int64_t(slot);
}

int interruptRequested(void *opaque)
{
    return static_cast<const std::atomic<bool> *>(opaque)->load() ? 1 : 0;
}

// Moves the finished file into place without ever replacing an existing one.
bool publish(const QString &temporary, const QString &target)
{
    const QByteArray from = QFile::encodeName(temporary);
    const QByteArray to = QFile::encodeName(target);
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
#endif
    // File systems without no-replace renames: a hard link fails if the target exists.
    if (::link(from.constData(), to.constData()) != 0)
        return false;
    ::unlink(from.constData());
    return true;
}

// Whether path still names the file open as fd.
bool sameFile(const QString &path, int fd)
{
    struct stat byPath, byFd;
    return ::lstat(QFile::encodeName(path).constData(), &byPath) == 0 && ::fstat(fd, &byFd) == 0
        && byPath.st_dev == byFd.st_dev && byPath.st_ino == byFd.st_ino;
}

// Removes the temporary files of conversions into folder whose process was
// killed: ".<name>.mp4.XXXXXX.part" that no process holds locked (a running
// conversion holds its temporary from creation to the end).
void removeStaleTemporaries(const QString &folder)
{
    static const QRegularExpression pattern(QStringLiteral("^\\..+\\.mp4\\.[A-Za-z0-9]{6}\\.part$"));
    const QDir dir(folder);
    const QStringList names = dir.entryList({QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QString &name : names) {
        if (!pattern.match(name).hasMatch())
            continue;
        const QString path = dir.filePath(name);
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && sameFile(path, fd))
            ::unlink(QFile::encodeName(path).constData());
        ::close(fd);
    }
}

// Creates the hidden temporary file beside target, locked for as long as it
// stays open. A cleaner may remove a new file before it is locked; then
// another one is made. Where the file system has no locks, nobody can take
// the file for a leftover either.
std::unique_ptr<QTemporaryFile> createLockedTemporary(const QFileInfo &target)
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        auto temporary = std::make_unique<QTemporaryFile>(target.absolutePath() + QStringLiteral("/.")
                                                          + target.fileName() + QStringLiteral(".XXXXXX.part"));
        if (!temporary->open())
            return nullptr;
        int locked;
        while ((locked = ::flock(temporary->handle(), LOCK_EX)) != 0 && errno == EINTR) {
        }
        if (locked != 0 || sameFile(temporary->fileName(), temporary->handle()))
            return temporary;
        temporary->setAutoRemove(false); // the name is no longer this file's
    }
    return nullptr;
}

// Picks the sample rate the encoder supports that is nearest to the wish.
int supportedSampleRate(const AVCodec *codec, int wanted)
{
    if (!codec->supported_samplerates)
        return wanted;
    int best = codec->supported_samplerates[0];
    for (const int *rate = codec->supported_samplerates; *rate; ++rate) {
        if (std::abs(*rate - wanted) < std::abs(best - wanted))
            best = *rate;
    }
    return best;
}

class Transcoder
{
public:
    explicit Transcoder(const TranscodeRequest &request) : m_request(request) {}

    Error run();

private:
    Error openDecoders();
    Error openOutput(const QString &path);
    Error openVideoEncoder();
    Error openAudioEncoder();
    Error decodeVideo(AVPacket *packet);
    Error decodeAudio(AVPacket *packet);
    Error encodeVideoFrame(const AVFrame *decoded);
    Error pushAudio(const AVFrame *decoded);
    Error drainAudioFifo(bool flush);
    Error encode(AVCodecContext *encoder, AVStream *stream, const AVFrame *frame);
    void reportProgress(const AVPacket *packet);
    void noteReached(const AVPacket *packet);
    bool endedEarly() const;
    bool cancelled() const { return m_request.cancel && m_request.cancel->load(); }

    const TranscodeRequest &m_request;
    Source m_source;
    ff::Codec m_videoDecoder;
    ff::Codec m_audioDecoder;
    ff::Output m_output;
    ff::Codec m_videoEncoder;
    ff::Codec m_audioEncoder;
    AVStream *m_videoOut = nullptr;
    AVStream *m_audioOut = nullptr;
    ff::Scaler m_scaler;
    ff::Resampler m_resampler;
    ff::Fifo m_fifo;
    ff::Frame m_decoded{av_frame_alloc()};
    ff::Packet m_encoded{av_packet_alloc()};
    FittedPicture m_picture;
    AVRational m_frameRate{15, 1};
    int64_t m_nextVideoPts = 0;
    int64_t m_firstVideoTimestamp = AV_NOPTS_VALUE;
    int64_t m_audioSamples = 0;
    int m_lastProgress = -1;
    int64_t m_reached = 0; // furthest source time read, AV_TIME_BASE units from the start
};

Error Transcoder::openDecoders()
{
    if (m_source.videoStream() < 0 || !m_source.videoDecoder())
        return NoVideoCodec;
    AVStream *video = m_source.format()->streams[m_source.videoStream()];
    m_videoDecoder.reset(avcodec_alloc_context3(m_source.videoDecoder()));
    if (!m_videoDecoder)
        return OutOfMemory;
    avcodec_parameters_to_context(m_videoDecoder.get(), video->codecpar);
    m_videoDecoder->pkt_timebase = video->time_base;
    m_videoDecoder->thread_count = 0;
    if (avcodec_open2(m_videoDecoder.get(), m_source.videoDecoder(), nullptr) < 0)
        return NoVideoCodec;

    if (m_request.config.audioChannels > 0 && m_source.audioStream() >= 0 && m_source.audioDecoder()) {
        AVStream *audio = m_source.format()->streams[m_source.audioStream()];
        m_audioDecoder.reset(avcodec_alloc_context3(m_source.audioDecoder()));
        if (!m_audioDecoder)
            return OutOfMemory;
        avcodec_parameters_to_context(m_audioDecoder.get(), audio->codecpar);
        m_audioDecoder->pkt_timebase = audio->time_base;
        if (avcodec_open2(m_audioDecoder.get(), m_source.audioDecoder(), nullptr) < 0)
            m_audioDecoder.reset(); // the video still converts, without sound
    }
    return NoError;
}

Error Transcoder::openVideoEncoder()
{
    const AVCodec *codec = findVideoEncoder();
    if (!codec)
        return NoVideoCodec;
    const EncoderConfig &config = m_request.config;
    const int width = evenDown(int(config.width));
    const int height = evenDown(int(config.height));
    m_frameRate = av_d2q(config.frameRate > 0 ? config.frameRate : 15, 100000);
    m_picture = fitPicture(m_videoDecoder->width, m_videoDecoder->height, av_q2d(m_source.pixelAspect()),
                           width, height);

    m_videoEncoder.reset(avcodec_alloc_context3(codec));
    if (!m_videoEncoder)
        return OutOfMemory;
    AVCodecContext *encoder = m_videoEncoder.get();
    encoder->width = width;
    encoder->height = height;
    encoder->sample_aspect_ratio = {1, 1};
    encoder->pix_fmt = AV_PIX_FMT_YUV420P;
    encoder->time_base = av_inv_q(m_frameRate);
    encoder->framerate = m_frameRate;
    encoder->bit_rate = config.videoBitrate;
    encoder->gop_size = qMax(1, int(std::lround(av_q2d(m_frameRate) * 2)));
    encoder->thread_count = 0;
    if (m_output->oformat->flags & AVFMT_GLOBALHEADER)
        encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    // Main profile plays on every phone that plays H.264 at all.
    av_opt_set(encoder->priv_data, "profile", "main", 0);
    encoder->profile = FF_PROFILE_H264_MAIN;
    if (avcodec_open2(encoder, codec, nullptr) < 0)
        return InternalError;
    m_videoOut = avformat_new_stream(m_output.get(), nullptr);
    if (!m_videoOut)
        return OutOfMemory;
    avcodec_parameters_from_context(m_videoOut->codecpar, encoder);
    m_videoOut->time_base = encoder->time_base;
    m_videoOut->avg_frame_rate = m_frameRate;
    m_videoOut->sample_aspect_ratio = encoder->sample_aspect_ratio;
    return NoError;
}

Error Transcoder::openAudioEncoder()
{
    if (!m_audioDecoder)
        return NoError;
    const AVCodec *codec = findAudioEncoder();
    if (!codec)
        return NoAudioCodec;
    m_audioEncoder.reset(avcodec_alloc_context3(codec));
    if (!m_audioEncoder)
        return OutOfMemory;
    AVCodecContext *encoder = m_audioEncoder.get();
    const int channels = qBound(1, int(m_request.config.audioChannels), 2);
    av_channel_layout_default(&encoder->ch_layout, channels);
    encoder->sample_rate = supportedSampleRate(codec, int(m_request.config.audioSampleRate ? m_request.config.audioSampleRate : 48000));
    encoder->sample_fmt = AV_SAMPLE_FMT_FLTP;
    encoder->bit_rate = m_request.audioBitrate;
    encoder->profile = FF_PROFILE_AAC_LOW;
    encoder->time_base = {1, encoder->sample_rate};
    if (m_output->oformat->flags & AVFMT_GLOBALHEADER)
        encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(encoder, codec, nullptr) < 0)
        return NoAudioCodec;
    m_audioOut = avformat_new_stream(m_output.get(), nullptr);
    if (!m_audioOut)
        return OutOfMemory;
    avcodec_parameters_from_context(m_audioOut->codecpar, encoder);
    m_audioOut->time_base = encoder->time_base;

    SwrContext *resampler = nullptr;
    if (swr_alloc_set_opts2(&resampler, &encoder->ch_layout, encoder->sample_fmt, encoder->sample_rate,
                            &m_audioDecoder->ch_layout, m_audioDecoder->sample_fmt, m_audioDecoder->sample_rate,
                            0, nullptr) < 0)
        return NoAudioCodec;
    m_resampler.reset(resampler);
    if (swr_init(resampler) < 0)
        return NoAudioCodec;
    m_fifo.reset(av_audio_fifo_alloc(encoder->sample_fmt, channels, qMax(encoder->frame_size, 1024) * 4));
    return m_fifo ? NoError : OutOfMemory;
}

Error Transcoder::openOutput(const QString &path)
{
    AVFormatContext *output = nullptr;
    if (avformat_alloc_output_context2(&output, nullptr, "mp4", QFile::encodeName(path).constData()) < 0 || !output)
        return InternalError;
    m_output.reset(output);
    if (m_request.cancel) {
        output->interrupt_callback.callback = interruptRequested;
        output->interrupt_callback.opaque = const_cast<std::atomic<bool> *>(m_request.cancel);
    }
    return NoError;
}

Error Transcoder::encode(AVCodecContext *encoder, AVStream *stream, const AVFrame *frame)
{
    int sent = avcodec_send_frame(encoder, frame);
    if (sent < 0 && sent != AVERROR_EOF)
        return InternalError;
    for (;;) {
        const int received = avcodec_receive_packet(encoder, m_encoded.get());
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return NoError;
        if (received < 0)
            return InternalError;
        av_packet_rescale_ts(m_encoded.get(), encoder->time_base, stream->time_base);
        m_encoded->stream_index = stream->index;
        const int written = av_interleaved_write_frame(m_output.get(), m_encoded.get());
        if (written < 0)
            return cancelled() ? Cancelled : FileReadError;
    }
}

Error Transcoder::encodeVideoFrame(const AVFrame *decoded)
{
    // Frames are placed on the output's constant frame grid by their time;
    // frames that fall on an already used slot are dropped, which lowers the
    // frame rate the way a phone needs it.
    const AVStream *in = m_source.format()->streams[m_source.videoStream()];
    int64_t timestamp = decoded->best_effort_timestamp;
    int64_t slot;
    if (timestamp == AV_NOPTS_VALUE) {
        slot = m_nextVideoPts;
    } else {
        if (m_firstVideoTimestamp == AV_NOPTS_VALUE)
            m_firstVideoTimestamp = timestamp;
        slot = frameSlot(timestamp - m_firstVideoTimestamp, in->time_base, m_frameRate);
    }
    if (slot < m_nextVideoPts)
        return NoError;

    ff::Frame frame(av_frame_alloc());
    if (!frame)
        return OutOfMemory;
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = m_videoEncoder->width;
    frame->height = m_videoEncoder->height;
    if (av_frame_get_buffer(frame.get(), 0) < 0)
        return OutOfMemory;
    const bool bars = m_picture.width != frame->width || m_picture.height != frame->height;
    if (bars) {
        for (int row = 0; row < frame->height; ++row)
            memset(frame->data[0] + row * frame->linesize[0], 16, size_t(frame->width));
        for (int plane = 1; plane < 3; ++plane) {
            for (int row = 0; row < frame->height / 2; ++row)
                memset(frame->data[plane] + row * frame->linesize[plane], 128, size_t(frame->width / 2));
        }
    }
    m_scaler.reset(sws_getCachedContext(m_scaler.release(), decoded->width, decoded->height,
                                        AVPixelFormat(decoded->format), m_picture.width, m_picture.height,
                                        AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!m_scaler)
        return InternalError;
    uint8_t *target[4] = {
        frame->data[0] + m_picture.y * frame->linesize[0] + m_picture.x,
        frame->data[1] + (m_picture.y / 2) * frame->linesize[1] + m_picture.x / 2,
        frame->data[2] + (m_picture.y / 2) * frame->linesize[2] + m_picture.x / 2,
        nullptr,
    };
    sws_scale(m_scaler.get(), decoded->data, decoded->linesize, 0, decoded->height, target, frame->linesize);
    frame->pts = slot;
    m_nextVideoPts = slot + 1;
    return encode(m_videoEncoder.get(), m_videoOut, frame.get());
}

Error Transcoder::decodeVideo(AVPacket *packet)
{
    // Damaged packets are skipped, as players do; only the end counts.
    avcodec_send_packet(m_videoDecoder.get(), packet);
    for (;;) {
        const int received = avcodec_receive_frame(m_videoDecoder.get(), m_decoded.get());
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return NoError;
        if (received < 0)
            return NoError;
        const Error error = encodeVideoFrame(m_decoded.get());
        av_frame_unref(m_decoded.get());
        if (error != NoError)
            return error;
    }
}

Error Transcoder::pushAudio(const AVFrame *decoded)
{
    const int capacity = swr_get_out_samples(m_resampler.get(), decoded ? decoded->nb_samples : 0);
    if (capacity <= 0)
        return NoError;
    uint8_t **buffer = nullptr;
    if (av_samples_alloc_array_and_samples(&buffer, nullptr, m_audioEncoder->ch_layout.nb_channels, capacity,
                                           m_audioEncoder->sample_fmt, 0) < 0)
        return OutOfMemory;
    const int converted = swr_convert(m_resampler.get(), buffer, capacity,
                                      decoded ? const_cast<const uint8_t **>(decoded->extended_data) : nullptr,
                                      decoded ? decoded->nb_samples : 0);
    Error error = NoError;
    if (converted > 0 && av_audio_fifo_write(m_fifo.get(), reinterpret_cast<void **>(buffer), converted) < converted)
        error = OutOfMemory;
    av_freep(&buffer[0]);
    av_freep(&buffer);
    return error;
}

Error Transcoder::drainAudioFifo(bool flush)
{
    const int frameSize = m_audioEncoder->frame_size > 0 ? m_audioEncoder->frame_size : 1024;
    while (av_audio_fifo_size(m_fifo.get()) >= frameSize || (flush && av_audio_fifo_size(m_fifo.get()) > 0)) {
        const int samples = qMin(frameSize, av_audio_fifo_size(m_fifo.get()));
        ff::Frame frame(av_frame_alloc());
        if (!frame)
            return OutOfMemory;
        frame->nb_samples = samples;
        av_channel_layout_copy(&frame->ch_layout, &m_audioEncoder->ch_layout);
        frame->format = m_audioEncoder->sample_fmt;
        frame->sample_rate = m_audioEncoder->sample_rate;
        if (av_frame_get_buffer(frame.get(), 0) < 0)
            return OutOfMemory;
        av_audio_fifo_read(m_fifo.get(), reinterpret_cast<void **>(frame->data), samples);
        frame->pts = m_audioSamples;
        m_audioSamples += samples;
        const Error error = encode(m_audioEncoder.get(), m_audioOut, frame.get());
        if (error != NoError)
            return error;
    }
    return NoError;
}

Error Transcoder::decodeAudio(AVPacket *packet)
{
    avcodec_send_packet(m_audioDecoder.get(), packet);
    for (;;) {
        const int received = avcodec_receive_frame(m_audioDecoder.get(), m_decoded.get());
        if (received < 0)
            return NoError;
        Error error = pushAudio(m_decoded.get());
        av_frame_unref(m_decoded.get());
        if (error == NoError)
            error = drainAudioFifo(false);
        if (error != NoError)
            return error;
    }
}

void Transcoder::reportProgress(const AVPacket *packet)
{
    if (!m_request.progress || packet->pts == AV_NOPTS_VALUE)
        return;
    const AVFormatContext *format = m_source.format();
    if (format->duration <= 0)
        return;
    const AVStream *stream = format->streams[packet->stream_index];
    int64_t start = format->start_time == AV_NOPTS_VALUE ? 0 : format->start_time;
    const int64_t at = av_rescale_q(packet->pts, stream->time_base, AV_TIME_BASE_Q) - start;
    const int percent = int(qBound(int64_t(0), at * 100 / format->duration, int64_t(100)));
    if (percent > m_lastProgress) {
        m_lastProgress = percent;
        m_request.progress(percent);
    }
}

void Transcoder::noteReached(const AVPacket *packet)
{
    const int64_t at = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
    if (at == AV_NOPTS_VALUE)
        return;
    const AVFormatContext *format = m_source.format();
    const AVStream *stream = format->streams[packet->stream_index];
    const int64_t start = format->start_time == AV_NOPTS_VALUE ? 0 : format->start_time;
    const int64_t end = av_rescale_q(at + qMax<int64_t>(0, packet->duration), stream->time_base, AV_TIME_BASE_Q);
    m_reached = qMax(m_reached, end - start);
}

// Whether the input ran out well before the length its container states: a
// file cut short (an interrupted download or copy) must not pass for a
// complete conversion. A length guessed from the bit rate proves nothing.
bool Transcoder::endedEarly() const
{
    const AVFormatContext *format = m_source.format();
    if (format->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE)
        return false;
    // The streams we convert state their own lengths; other streams (a long
    // subtitle track) must not make a complete file look cut short.
    int64_t expected = 0;
    for (const int index : {m_source.videoStream(), m_source.audioStream()}) {
        if (index < 0)
            continue;
        const AVStream *stream = format->streams[index];
        if (stream->duration == AV_NOPTS_VALUE || stream->duration <= 0) {
            expected = qMax<int64_t>(0, format->duration);
            break;
        }
        expected = qMax(expected, av_rescale_q(stream->duration, stream->time_base, AV_TIME_BASE_Q));
    }
    // A header's frame count tells the length even where the container's
    // duration comes from what the file holds (an AVI without its index).
    if (m_source.videoStream() >= 0) {
        const AVStream *video = format->streams[m_source.videoStream()];
        const AVRational rate = video->avg_frame_rate;
        if (video->nb_frames > 0 && rate.num > 0 && rate.den > 0)
            expected = qMax(expected, av_rescale_q(video->nb_frames, av_inv_q(rate), AV_TIME_BASE_Q));
    }
    const int64_t slack = qMax<int64_t>(AV_TIME_BASE, expected / 50);
    return expected > 0 && m_reached + slack < expected;
}

Error Transcoder::run()
{
    if (QFileInfo::exists(m_request.outputPath))
        return TargetProtected;
    Error error = m_source.open(m_request.sourcePath, m_request.cancel);
    if (cancelled())
        return Cancelled;
    if (error != NoError && error != NoAudioCodec)
        return error;
    if ((error = openDecoders()) != NoError)
        return error;

    // The temporary file lives beside the target so that publishing it is a
    // rename. It stays open, and so locked, while the encoder writes it.
    const QFileInfo target(m_request.outputPath);
    removeStaleTemporaries(target.absolutePath());
    const std::unique_ptr<QTemporaryFile> temporary = createLockedTemporary(target);
    if (!temporary)
        return TargetProtected;
    const QString temporaryPath = temporary->fileName();

    if ((error = openOutput(temporaryPath)) != NoError || (error = openVideoEncoder()) != NoError
        || (error = openAudioEncoder()) != NoError)
        return error;
    if (avio_open2(&m_output->pb, QFile::encodeName(temporaryPath).constData(), AVIO_FLAG_WRITE,
                   &m_output->interrupt_callback, nullptr) < 0)
        return TargetProtected;
    AVDictionary *options = nullptr;
    // The index goes to the front so that phones can start playing at once.
    av_dict_set(&options, "movflags", "+faststart", 0);
    const int header = avformat_write_header(m_output.get(), &options);
    av_dict_free(&options);
    if (header < 0)
        return cancelled() ? Cancelled : InternalError;

    if (m_request.progress)
        m_request.progress(0);
    ff::Packet packet(av_packet_alloc());
    for (;;) {
        if (cancelled())
            return Cancelled;
        const int read = av_read_frame(m_source.format(), packet.get());
        if (read == AVERROR_EOF)
            break;
        if (read < 0) {
            if (cancelled() || read == AVERROR_EXIT)
                return Cancelled;
            // A damaged tail ends the conversion with what was read so far.
            if (read == AVERROR_INVALIDDATA)
                break;
            return FileReadError;
        }
        if (packet->stream_index == m_source.videoStream() || packet->stream_index == m_source.audioStream())
            noteReached(packet.get());
        if (packet->stream_index == m_source.videoStream()) {
            reportProgress(packet.get());
            error = decodeVideo(packet.get());
        } else if (m_audioDecoder && packet->stream_index == m_source.audioStream()) {
            error = decodeAudio(packet.get());
        }
        av_packet_unref(packet.get());
        if (error != NoError)
            return error;
    }

    if (endedEarly())
        return TruncatedSource;
    if ((error = decodeVideo(nullptr)) != NoError || (error = encode(m_videoEncoder.get(), m_videoOut, nullptr)) != NoError)
        return error;
    if (m_audioDecoder) {
        if ((error = decodeAudio(nullptr)) != NoError || (error = pushAudio(nullptr)) != NoError
            || (error = drainAudioFifo(true)) != NoError
            || (error = encode(m_audioEncoder.get(), m_audioOut, nullptr)) != NoError)
            return error;
    }
    if (m_nextVideoPts == 0)
        return NoUsableStream;
    if (av_write_trailer(m_output.get()) < 0)
        return cancelled() ? Cancelled : FileReadError;
    if (avio_closep(&m_output->pb) < 0)
        return FileReadError;
    if (cancelled())
        return Cancelled;
    QFile::setPermissions(temporaryPath, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    if (!publish(temporaryPath, m_request.outputPath))
        return TargetProtected;
    temporary->setAutoRemove(false); // its name is the target's now
    if (m_request.progress)
        m_request.progress(100);
    return NoError;
}

} // namespace

FittedPicture fitPicture(int sourceWidth, int sourceHeight, double pixelAspect, int frameWidth, int frameHeight)
{
    FittedPicture fitted{frameWidth, frameHeight, 0, 0};
    if (sourceWidth <= 0 || sourceHeight <= 0 || frameWidth <= 0 || frameHeight <= 0)
        return fitted;
    const double shownWidth = sourceWidth * (pixelAspect > 0 ? pixelAspect : 1.0);
    const double scale = std::min(frameWidth / shownWidth, double(frameHeight) / sourceHeight);
    fitted.width = qMin(frameWidth, evenDown(int(std::lround(shownWidth * scale))));
    fitted.height = qMin(frameHeight, evenDown(int(std::lround(sourceHeight * scale))));
    // Within a pixel or two of the frame, fill it rather than leave a sliver of bar.
    if (frameWidth - fitted.width <= 2)
        fitted.width = frameWidth;
    if (frameHeight - fitted.height <= 2)
        fitted.height = frameHeight;
    fitted.x = ((frameWidth - fitted.width) / 2) & ~1;
    fitted.y = ((frameHeight - fitted.height) / 2) & ~1;
    return fitted;
}

bool haveVideoEncoder()
{
    return findVideoEncoder() != nullptr;
}

bool haveAudioEncoder()
{
    return findAudioEncoder() != nullptr;
}

ConverterComponent::Error transcode(const TranscodeRequest &request)
{
    return Transcoder(request).run();
}
