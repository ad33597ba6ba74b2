#pragma once

#include "playerhost.h"

#include <QTemporaryDir>
#include <QWidget>

#include <memory>

class CPlayerPanel;
class VideoPlayerWidget;
namespace Orvak_API {
class VideoPlayer;
}

// The single view as the main window shows it: the video widget playing a
// clip made on the spot, with the player panel under it. It stands in for
// the main window as the panel's host; the two copy buttons it locks during
// playback are handed in.
class PlayerDemo final : public QWidget, public CPlayerHost
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PlayerDemo)

public:
    explicit PlayerDemo(QWidget *parent = nullptr);
    ~PlayerDemo() override;

    void setLockedControls(QWidget *copyToMyCollection, QWidget *copyToPhone);
    // Makes the clip and starts playing it; false when FFmpeg cannot make it.
    bool start();
    // Share of the clip played, 0 to 100, as the panel shows it.
    int progress() const;

    Orvak_API::VideoPlayer *videoPlayer() override;
    bool startOrResumePlayback() override;
    void pausePlayback() override;
    bool setFullScreenVideo(bool on) override;
    QWidget *copyToMyCollectionControl() override { return m_copyToMyCollection; }
    QWidget *copyToPhoneControl() override { return m_copyToPhone; }
    bool hasPhoneEntries() const override { return true; }

private:
    QTemporaryDir m_dir;
    QString m_clip;
    std::unique_ptr<Orvak_API::VideoPlayer> m_player;
    VideoPlayerWidget *m_video;
    CPlayerPanel *m_panel;
    QWidget *m_copyToMyCollection = nullptr;
    QWidget *m_copyToPhone = nullptr;
};
