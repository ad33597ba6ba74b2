#pragma once

#include "apibase.h"

#include <QPointer>
#include <QString>

class QRect;
namespace PlayerComponent {
class IVideoPlayer;
}

namespace Orvak_API {

// The program's handle on the video player component: it plays one file at a
// time into a window of the program (a widget), which then receives the
// component's events 2124 (a player event, read with eventCode()) and 2125
// (the position in milliseconds as wParam). Failures are reported through
// SignalErrorMessage with the media table. GUI thread only.
class VideoPlayer : public API_Base
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VideoPlayer)

public:
    explicit VideoPlayer(QObject *parent = nullptr);
    ~VideoPlayer() override;

    // Opens path and starts playing it in window, the picture filling the
    // window. Returns whether it plays.
    bool playFile(QObject *window, const QString &path);
    void closeFile();
    // The picture's size within the window: r's width and height.
    bool setWindowDimensions(const QRect &r);
    // Pauses or resumes (after the end: plays again); false when nothing
    // changed.
    bool togglePause();
    // Plays from percent of the length, clamped to 0 to 100. Sends nothing
    // when the length is not known (0).
    bool seek(double percent);
    // 0 to 100, or -1 when the component cannot tell; the first such failure
    // is signalled and turns the sound off for later playFile calls.
    int volume();
    bool setVolume(int volume);
    // The last player event; 1 = playback finished. A playback that ended on
    // an error is signalled here.
    uint eventCode();
    // Length of the open file in milliseconds.
    uint length() const { return m_length; }

    bool isFileOpen() const { return m_fileOpen; }
    bool volumeSupported() const { return m_volumeSupported; }
    // The two texts the component tells of the open file (its title and its
    // format); kept, not shown.
    QString title() const { return m_title; }
    QString formatText() const { return m_format; }

private:
    void releaseFileReference();

    QPointer<QObject> m_window;
    PlayerComponent::IVideoPlayer *m_component = nullptr;
    bool m_holdsFileReference = false;
    bool m_fileOpen = false;
    bool m_volumeSupported = true;
    bool m_volumeFailureSignalled = false;
    uint m_length = 0;
    QString m_title;
    QString m_format;
};

} // namespace Orvak_API
