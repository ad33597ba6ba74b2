#include "componentevent.h"
#include "refcounted.h"
#include "picture.h"
#include "source.h"
#include "videoplayercomponent.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QVideoSink>
#include <QAudio>

#include <mutex>

using namespace PlayerComponent;

namespace {
// How often a playing video reports its position.
constexpr int kPositionIntervalMs = 200;

Error playbackErrorNumber(QMediaPlayer::Error error)
{
    switch (error) {
    case QMediaPlayer::NoError:
        return NoError;
    case QMediaPlayer::FormatError:
        return NoUsableStream;
    case QMediaPlayer::AccessDeniedError:
        return FileAccessProblem;
    case QMediaPlayer::ResourceError:
    case QMediaPlayer::NetworkError:
        return FileReadError;
    }
    return InternalError;
}

// "mp4: h264, aac": the container's short name and the codecs of the streams
// the player will use.
QString describeFormat(const Source &source)
{
    const AVFormatContext *format = source.format();
    QStringList codecs;
    for (int index : {source.videoStream(), source.audioStream()}) {
        if (index >= 0)
            codecs << QString::fromUtf8(avcodec_get_name(format->streams[index]->codecpar->codec_id));
    }
    QString name = QString::fromUtf8(format->iformat->name).section(QLatin1Char(','), 0, 0);
    return codecs.isEmpty() ? name : name + QStringLiteral(": ") + codecs.join(QStringLiteral(", "));
}

QString titleOf(const Source &source, const QString &path)
{
    const AVDictionaryEntry *tag = av_dict_get(source.format()->metadata, "title", nullptr, 0);
    const QString title = tag ? QString::fromUtf8(tag->value).trimmed() : QString();
    return title.isEmpty() ? QFileInfo(path).completeBaseName() : title;
}

// One player instance. Qt Multimedia does the playing; FFmpeg looks at the
// file first, so that opening answers at once with the length and the
// component error number instead of failing later while loading.
class VideoPlayerComponent final : public QObject, public RefCounted<IVideoPlayer>
{
public:
    VideoPlayerComponent()
    {
        m_player.setVideoSink(&m_sink);
        m_audio.setVolume(linearGain(m_volume));
        m_ticker.setInterval(kPositionIntervalMs);
        connect(&m_ticker, &QTimer::timeout, this, &VideoPlayerComponent::postPosition);
        connect(&m_player, &QMediaPlayer::playbackStateChanged, this, &VideoPlayerComponent::stateChanged);
        connect(&m_player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
            if (status == QMediaPlayer::EndOfMedia)
                finish(NoError);
        });
        connect(&m_player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error, const QString &text) {
            qWarning("player: %s", qUtf8Printable(text));
            // The playback state may stay Playing after an error; stop it here.
            finish(playbackErrorNumber(error));
            m_player.stop();
        });
    }

    ~VideoPlayerComponent() override
    {
        closeFile();
        delete m_picture.data();
    }

    qint32 reserved0() override { return Ok; }
    qint32 reserved1() override { return Ok; }
    qint32 reserved2() override { return Ok; }

    qint32 openFile(const char16_t *path, quint16 *kind, qint32 *error) override
    {
        closeFile();
        const QString filePath = path ? QString::fromUtf16(path) : QString();
        Source source;
        const auto opened = Error(source.open(filePath));
        if (error)
            *error = opened;
        // A missing codec for one of the two streams still lets the other play.
        const bool usable = opened == NoError || (opened == NoAudioCodec && source.videoDecoder())
            || (opened == NoVideoCodec && source.audioDecoder());
        if (!usable)
            return Fail;
        m_title = titleOf(source, filePath);
        m_format = describeFormat(source);
        m_info = PlaybackInfo();
        m_info.lengthMs = source.info().durationMs;
        m_info.title = reinterpret_cast<const char16_t *>(m_title.utf16());
        m_info.format = reinterpret_cast<const char16_t *>(m_format.utf16());
        if (kind)
            *kind = source.videoDecoder() ? 1 : 2;
        m_hasSound = source.audioDecoder() != nullptr;
        m_player.setSource(QUrl::fromLocalFile(filePath));
        m_open = true;
        return Ok;
    }

    qint32 closeFile() override
    {
        const bool wasOpen = m_open;
        m_open = false;
        m_ticker.stop();
        if (wasOpen) {
            m_player.stop();
            m_player.setAudioOutput(nullptr);
            m_player.setSource(QUrl());
        }
        m_lastEvent = NoEvent;
        m_playbackError = NoError;
        m_info = PlaybackInfo();
        dropWaitingEvents();
        if (m_picture)
            m_picture->clear();
        return Ok;
    }

    qint32 playbackInfo(const PlaybackInfo **info) override
    {
        if (!info)
            return InvalidArgument;
        *info = &m_info;
        return m_open ? Ok : WrongState;
    }

    qint32 setWindow(QObject *window) override
    {
        auto *widget = qobject_cast<QWidget *>(window);
        if (!widget)
            return InvalidArgument;
        if (m_picture && m_picture->parentWidget() == widget)
            return Ok;
        dropWaitingEvents();
        delete m_picture.data();
        m_window = widget;
        m_picture = new Picture(widget);
        m_picture->setObjectName(QLatin1String(kPictureObjectName));
        m_picture->setGeometry(widget->rect());
        m_picture->show();
        // Frames may be delivered on a thread of the backend's; the picture
        // takes them on its own.
        connect(&m_sink, &QVideoSink::videoFrameChanged, m_picture.data(), &Picture::setFrame);
        return Ok;
    }

    qint32 setPictureRect(qint32 x, qint32 y, qint32 width, qint32 height) override
    {
        if (!m_picture)
            return WrongState;
        if (width < 0 || height < 0)
            return InvalidArgument;
        m_picture->setGeometry(x, y, width, height);
        return Ok;
    }

    qint32 play(quint8 withSound, qint32 *error) override
    {
        if (error)
            *error = m_open ? NoError : InternalError;
        if (!m_open)
            return WrongState;
        // A sound output without a sound stream to feed it keeps the
        // backend from ever starting.
        m_player.setAudioOutput(withSound && m_hasSound ? &m_audio : nullptr);
        m_playbackError = NoError;
        m_player.play();
        return Ok;
    }

    qint32 togglePause() override
    {
        if (!m_open)
            return NothingChanged;
        if (m_player.playbackState() == QMediaPlayer::PlayingState) {
            // A position still on its way would make the paused video look
            // as if it played on.
            m_ticker.stop();
            dropWaitingEvents(ComponentEvent::PlayerPosition);
            m_player.pause();
        } else {
            // After the end this starts again from the beginning.
            m_playbackError = NoError;
            m_player.play();
        }
        return Ok;
    }

    qint32 playbackError(qint32 *error) override
    {
        if (!error)
            return InvalidArgument;
        *error = m_playbackError;
        m_playbackError = NoError;
        return Ok;
    }

    qint32 eventCode(quint32 *code) override
    {
        if (!code)
            return InvalidArgument;
        *code = m_lastEvent;
        return Ok;
    }

    qint32 playFrom(qint64 positionMs) override
    {
        if (!m_open)
            return WrongState;
        // Seeking past the end upsets the backend; the end itself finishes.
        qint64 position = qMax<qint64>(0, positionMs);
        if (m_info.lengthMs > 0)
            position = qMin<qint64>(position, m_info.lengthMs);
        m_playbackError = NoError;
        dropWaitingEvents(ComponentEvent::PlayerPosition);
        m_player.setPosition(position);
        if (m_player.playbackState() != QMediaPlayer::PlayingState)
            m_player.play();
        post(ComponentEvent::PlayerPosition, quintptr(position));
        return Ok;
    }

    qint32 volume(qint32 *volume) override
    {
        if (!volume)
            return InvalidArgument;
        *volume = m_volume;
        return Ok;
    }

    qint32 setVolume(qint32 volume) override
    {
        m_volume = qBound(0, volume, 100);
        m_audio.setVolume(linearGain(m_volume));
        return Ok;
    }

private:
    // A slider that moved linearly over the gain would be almost silent in
    // its lower half; the ear goes by ratios.
    static float linearGain(int volume)
    {
        return QAudio::convertVolume(volume / 100.0f, QAudio::LogarithmicVolumeScale, QAudio::LinearVolumeScale);
    }

    void stateChanged(QMediaPlayer::PlaybackState state)
    {
        if (!m_open)
            return;
        if (state == QMediaPlayer::PlayingState) {
            m_ticker.start();
            postEvent(Started);
            postPosition();
        } else if (state == QMediaPlayer::PausedState) {
            m_ticker.stop();
            postEvent(Paused);
        } else {
            m_ticker.stop();
        }
    }

    void finish(Error error)
    {
        if (!m_open || m_lastEvent == Finished)
            return;
        m_ticker.stop();
        m_playbackError = error;
        postEvent(Finished);
    }

    void postEvent(Event event)
    {
        m_lastEvent = event;
        post(ComponentEvent::PlayerState, event);
    }

    void postPosition() { post(ComponentEvent::PlayerPosition, quintptr(qMax<qint64>(0, m_player.position()))); }

    void post(ComponentEvent::Kind kind, quintptr wParam)
    {
        if (m_window)
            QCoreApplication::postEvent(m_window, new ComponentEvent(kind, wParam));
    }

    void dropWaitingEvents(int type = 0)
    {
        if (!m_window)
            return;
        if (type == 0 || type == ComponentEvent::PlayerState)
            QCoreApplication::removePostedEvents(m_window, ComponentEvent::PlayerState);
        if (type == 0 || type == ComponentEvent::PlayerPosition)
            QCoreApplication::removePostedEvents(m_window, ComponentEvent::PlayerPosition);
    }

    QMediaPlayer m_player;
    QAudioOutput m_audio;
    QVideoSink m_sink;
    QTimer m_ticker;
    QPointer<QWidget> m_window;
    QPointer<Picture> m_picture;
    bool m_open = false;
    bool m_hasSound = false;
    PlaybackInfo m_info;
    QString m_title;
    QString m_format;
    Event m_lastEvent = NoEvent;
    Error m_playbackError = NoError;
    int m_volume = 100;
};

} // namespace

extern "C" Q_DECL_EXPORT IVideoPlayer *TamselPlayer_Create()
{
    // The libraries' chatter would flood the program's output; errors still show.
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_ERROR); });
    return new VideoPlayerComponent;
}
