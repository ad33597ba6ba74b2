#pragma once

#include <QIcon>
#include <QWidget>

#include <memory>

class CPlayerHost;
class QToolButton;
namespace Ui {
class CPlayerPanelClass;
}

// The control strip under the video: play/pause, the position slider, the
// time, a mute button and the volume slider. It drives the host's player and
// follows the position the video widget hands it. Both sliders run from 0 to
// 100. GUI thread only.
class CPlayerPanel final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CPlayerPanel)

public:
    explicit CPlayerPanel(QWidget *parent = nullptr);
    ~CPlayerPanel() override;

    // host is not owned and must outlive the panel; without one the buttons
    // do nothing.
    void setHost(CPlayerHost *host);

    bool isPlaying() const { return m_playing; }
    bool hasEnded() const { return m_ended; }
    int savedVolume() const { return m_savedVolume; }

    // "h:mm:ss / h:mm:ss" of a position and a length in milliseconds.
    static QString timeText(uint position, uint length);

Q_SIGNALS:
    // The play button turned into a pause button (true) or back.
    void playingChanged(bool playing);

public Q_SLOTS:
    void on_playButton_clicked();
    void updatePosition(int percent, uint position, uint length);
    void playbackFinished();
    void on_progressSlider_actionTriggered(int action);
    void on_progressSlider_sliderReleased();
    void on_volumeSlider_valueChanged(int value);
    void on_SoundButton_clicked();
    void volume_up();
    void volume_down();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void setPlaying(bool playing);
    void showPlayIcon(bool play);
    void showSoundIcon(bool sound);
    static void showButton(QToolButton *button, const QIcon &icon, const QString &text);
    void setHostControlsEnabled(bool enabled);
    void seekTo(int percent);

    std::unique_ptr<Ui::CPlayerPanelClass> m_ui;
    CPlayerHost *m_host = nullptr;
    bool m_playing = false;
    bool m_ended = false;
    int m_savedVolume = 0;
    bool m_showsPause = false;
    bool m_showsMuted = false;
    QIcon m_playIcon;
    QIcon m_pauseIcon;
    QIcon m_soundIcon;
    QIcon m_mutedIcon;
};
