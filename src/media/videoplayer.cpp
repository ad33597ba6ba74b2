#include "videoplayer.h"

#include "componentlibrary.h"
#include "playerlibrary.h"
#include "videoplayercomponent.h"

#include <QRect>
#include <QSize>
#include <QVariant>

using PlayerComponent::IVideoPlayer;

namespace Orvak_API {

namespace {

const char kCreateContext[] = "Orvak Video player COM object cannot be created. Check if Orvak Pelmora installed.";

QString fromWide(const char16_t *text)
{
    return text ? QString::fromUtf16(text) : QString();
}

} // namespace

VideoPlayer::VideoPlayer(QObject *parent) : API_Base(parent)
{
    setErrorTable(mediaErrorTable);
    m_component = PlayerLibrary::create();
    checkComponentCreated(*this, m_component != nullptr, QLatin1String(kCreateContext));
}

VideoPlayer::~VideoPlayer()
{
    if (!m_component)
        return;
    m_component->closeFile();
    releaseFileReference();
    m_component->release();
}

void VideoPlayer::releaseFileReference()
{
    if (m_holdsFileReference)
        m_component->release();
    m_holdsFileReference = false;
}

bool VideoPlayer::playFile(QObject *window, const QString &path)
{
    m_window = window;
    if (!m_component)
        return false;
    // The component stays alive while it plays for us; one reference per
    // open file, given back when the file closes.
    if (!m_holdsFileReference) {
        m_component->addRef();
        m_holdsFileReference = true;
    }

    if (checkResult(m_component->setWindow(window), QStringLiteral("Cannot specify window for VideoPlayer"))) {
        // Widgets and windows both tell their size through this property,
        // which keeps this class free of widgets.
        const QSize size = window->property("size").toSize();
        checkResult(m_component->setPictureRect(0, 0, size.width(), size.height()),
                    QStringLiteral("Cannot specify window dimensions for VideoPlayer"));
    }

    // Opening closes whatever was open before.
    m_fileOpen = false;
    m_length = 0;
    quint16 kind = 0;
    qint32 error = 0;
    setLastResult(m_component->openFile(componentText(path), &kind, &error));
    setLastCode(error);
    reportError(QStringLiteral("File '") + path + QStringLiteral("' cannot be open"), true);
    if (lastResult() < 0)
        return false;

    const PlayerComponent::PlaybackInfo *info = nullptr;
    if (!checkResult(m_component->playbackInfo(&info), QStringLiteral("Cannot acquire video playback length"))
        || !info) {
        m_component->closeFile();
        return false;
    }
    m_length = info->lengthMs;
    m_title = fromWide(info->title);
    m_format = fromWide(info->format);
    m_fileOpen = true;

    error = 0;
    setLastResult(m_component->play(m_volumeSupported ? 1 : 0, &error));
    setLastCode(error);
    reportError(QStringLiteral("Cannot play video"), false);
    return lastResult() >= 0;
}

void VideoPlayer::closeFile()
{
    if (m_component && m_fileOpen)
        checkResult(m_component->closeFile(), QStringLiteral("Videoplayer CloseFile command failed"));
    m_fileOpen = false;
    // Position events that were already under way must not move the panel.
    m_length = 0;
    if (m_component)
        releaseFileReference();
}

bool VideoPlayer::setWindowDimensions(const QRect &r)
{
    if (!m_window || !m_component)
        return false;
    return checkResult(m_component->setPictureRect(0, 0, r.width(), r.height()),
                       QStringLiteral("Cannot specify window dimensions for VideoPlayer"));
}

bool VideoPlayer::togglePause()
{
    if (!m_component)
        return false;
    setLastResult(m_component->togglePause());
    // A failure changed nothing either.
    return lastResult() == 0;
}

bool VideoPlayer::seek(double percent)
{
    if (!m_component || !m_fileOpen)
        return false;
    if (m_length != 0) {
        const double clamped = qBound(0.0, percent, 100.0);
        const auto position = qint64(clamped / 100.0 * m_length);
        checkResult(m_component->playFrom(position), QStringLiteral("Cannot play video"));
    }
    return lastResult() >= 0;
}

int VideoPlayer::volume()
{
    if (!m_component) {
        m_volumeSupported = false;
        return -1;
    }
    qint32 value = 0;
    const qint32 result = m_component->volume(&value);
    if (result < 0) {
        if (!m_volumeFailureSignalled) {
            m_volumeFailureSignalled = true;
            checkResult(result, QStringLiteral("Getting audio volume"));
        } else {
            setLastResult(result);
            setLastCode(result);
        }
        m_volumeSupported = false;
        return -1;
    }
    setLastResult(result);
    m_volumeSupported = true;
    return value;
}

bool VideoPlayer::setVolume(int volume)
{
    if (!m_volumeSupported || !m_component)
        return false;
    return checkResult(m_component->setVolume(volume), QStringLiteral("Setting audio volume"));
}

uint VideoPlayer::eventCode()
{
    if (!m_component || !m_fileOpen)
        return 0;
    quint32 code = 0;
    if (!checkResult(m_component->eventCode(&code), QStringLiteral("Getting player event info")))
        return 0;
    if (code == PlayerComponent::Finished) {
        // A playback that stopped on an error says so, instead of looking
        // like a video that simply ended.
        qint32 error = 0;
        if (m_component->playbackError(&error) >= 0 && error != 0) {
            setLastCode(error);
            reportError(QStringLiteral("Cannot play video"), false);
        }
    }
    return code;
}

} // namespace Orvak_API
