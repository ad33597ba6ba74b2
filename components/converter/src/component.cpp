#include "componentevent.h"
#include "refcounted.h"
#include "source.h"
#include "transcoder.h"
#include "videoconvertercomponent.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>

#include <mutex>
#include <thread>

using namespace ConverterComponent;

namespace {
QString fromWide(const char16_t *text)
{
    return text ? QString::fromUtf16(text) : QString();
}

// One converter instance. Conversions run on a thread of their own so that
// the caller can wait on the end event and cancel from another thread.
class VideoConverterComponent final : public RefCounted<IVideoConverter>
{
public:
    ~VideoConverterComponent() override { stopWorker(); }

    qint32 reserved0() override { return Ok; }
    qint32 reserved1() override { return Ok; }

    qint32 openFile(const char16_t *path, quint16 *kind, qint32 *error) override
    {
        stopWorker();
        m_open = false;
        const QString sourcePath = fromWide(path);
        Source source;
        const Error opened = m_cancelled.load() ? Cancelled : source.open(sourcePath, &m_abort);
        if (error)
            *error = opened;
        // A missing codec for one of the two streams is a warning: the other still serves.
        const bool usable = opened == NoError || (opened == NoAudioCodec && source.videoDecoder())
            || (opened == NoVideoCodec && source.audioDecoder());
        if (!usable)
            return Fail;
        m_info = source.info();
        m_path = sourcePath;
        m_open = true;
        if (kind)
            *kind = source.videoStream() >= 0 ? 1 : 2;
        return Ok;
    }

    qint32 closeFile() override
    {
        stopWorker();
        m_open = false;
        m_configured = false;
        m_info = MediaInfo();
        return Ok;
    }

    qint32 mediaInfo(const MediaInfo **info) override
    {
        if (!info)
            return InvalidArgument;
        *info = &m_info;
        return m_open ? Ok : WrongState;
    }

    qint32 configure(const EncoderConfig *config, const quint8 *, quint32, const AudioRecord *audio,
                     quint32 audioSize, qint32 *error) override
    {
        auto fail = [error](Error number, qint32 result) {
            if (error)
                *error = number;
            return result;
        };
        if (!m_open)
            return fail(InternalError, WrongState);
        if (!config || config->width < 2 || config->height < 2 || config->width > 8192 || config->height > 8192
            || !(config->frameRate > 0) || config->videoBitrate == 0)
            return fail(InternalError, InvalidArgument);
        if (!haveVideoEncoder())
            return fail(NoVideoCodec, Fail);
        if (config->audioChannels > 0 && !haveAudioEncoder())
            return fail(NoAudioCodec, Fail);
        m_config = *config;
        m_audioBitrate = audio && audioSize >= sizeof(quint32) && audio->bitrate ? audio->bitrate : 128000;
        m_configured = true;
        return fail(NoError, Ok);
    }

    qint32 setEndEvent(EndEvent *event, quint32) override
    {
        m_endEvent = event;
        return Ok;
    }

    qint32 start(const char16_t *outputPathWithoutExtension, quint32, qint32 *error) override
    {
        auto fail = [error](Error number, qint32 result) {
            if (error)
                *error = number;
            return result;
        };
        if (m_cancelled.load())
            return fail(Cancelled, Fail);
        if (!m_open || !m_configured || m_worker.joinable())
            return fail(InternalError, WrongState);
        const QString output = fromWide(outputPathWithoutExtension);
        if (output.isEmpty())
            return fail(InternalError, InvalidArgument);
        TranscodeRequest request;
        request.sourcePath = m_path;
        request.outputPath = output + QStringLiteral(".mp4");
        if (QFileInfo::exists(request.outputPath))
            return fail(TargetProtected, Fail);
        request.config = m_config;
        request.audioBitrate = m_audioBitrate;
        m_result = InternalError;
        QPointer<QObject> target = m_progressTarget;
        const int minimum = m_progressMinimum;
        const int maximum = m_progressMaximum;
        EndEvent *endEvent = m_endEvent;
        m_worker = std::thread([this, request, target, minimum, maximum, endEvent]() mutable {
            request.cancel = &m_abort;
            if (target) {
                QCoreApplication::postEvent(target, new ComponentEvent(ComponentEvent::PassBegins,
                                                                       quintptr(maximum - minimum)));
                request.progress = [target, minimum, maximum](int percent) {
                    if (target)
                        QCoreApplication::postEvent(
                            target, new ComponentEvent(ComponentEvent::PassPosition,
                                                       quintptr(minimum + (maximum - minimum) * percent / 100)));
                };
            }
            m_result = transcode(request);
            if (endEvent)
                endEvent->set();
        });
        return fail(NoError, Ok);
    }

    qint32 setProgressTarget(QObject *target, qint32 minimum, qint32 maximum) override
    {
        m_progressTarget = target;
        m_progressMinimum = minimum;
        m_progressMaximum = maximum > minimum ? maximum : minimum + 100;
        return Ok;
    }

    qint32 cancel() override
    {
        m_cancelled = true;
        m_abort = true;
        return Ok;
    }

    qint32 passCount(void **reserved, quint8 *count) override
    {
        if (reserved)
            *reserved = nullptr;
        if (count)
            *count = 1;
        return Ok;
    }

    qint32 finalResult(qint32 *error) override
    {
        if (m_worker.joinable())
            m_worker.join();
        const qint32 result = m_result;
        if (error)
            *error = result;
        return result == NoError ? Ok : Fail;
    }

private:
    // Ends a conversion still running (a new open or close, or the end of
    // the instance), then lets the next one run unless a cancel came.
    void stopWorker()
    {
        if (m_worker.joinable()) {
            m_abort = true;
            m_worker.join();
        }
        // Cleared before the cancel flag is read, so that a cancel arriving
        // in between still sets it again.
        m_abort = false;
        if (m_cancelled.load())
            m_abort = true;
    }

    QString m_path;
    bool m_open = false;
    bool m_configured = false;
    MediaInfo m_info;
    EncoderConfig m_config;
    quint32 m_audioBitrate = 128000;
    EndEvent *m_endEvent = nullptr;
    QPointer<QObject> m_progressTarget;
    int m_progressMinimum = 0;
    int m_progressMaximum = 100;
    std::thread m_worker;
    // A cancel holds for the rest of the instance's life, whenever it comes:
    // the open or conversion under way ends, and every later one fails at once.
    std::atomic<bool> m_cancelled{false};
    // What opening and the conversion watch: a cancel, or a conversion being
    // abandoned by a new open or close.
    std::atomic<bool> m_abort{false};
    std::atomic<qint32> m_result{NoError};
};

} // namespace

extern "C" Q_DECL_EXPORT IVideoConverter *TamselConverter_Create()
{
    // The libraries' chatter would flood the program's output; errors still show.
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_ERROR); });
    return new VideoConverterComponent;
}
