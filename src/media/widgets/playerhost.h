#pragma once

class QWidget;
namespace Orvak_API {
class VideoPlayer;
}

// What the player panel and the video widget need of the main window, which
// implements it. GUI thread only.
class CPlayerHost
{
public:
    virtual ~CPlayerHost() = default;

    // The program's one player, owned by the host; null when there is none.
    virtual Orvak_API::VideoPlayer *videoPlayer() = 0;
    // The play button while nothing plays: starts the video chosen for the
    // single view, or resumes the paused one. False when nothing plays.
    virtual bool startOrResumePlayback() = 0;
    // The play button while a video plays.
    virtual void pausePlayback() = 0;
    // Switches the window's full-screen video on or off; true when it acted.
    virtual bool setFullScreenVideo(bool on) = 0;
    // The two controls of the window that are disabled while a video plays;
    // either may be null. The second is enabled again only while the phone
    // selector has entries.
    virtual QWidget *copyToMyCollectionControl() = 0;
    virtual QWidget *copyToPhoneControl() = 0;
    virtual bool hasPhoneEntries() const = 0;
};
