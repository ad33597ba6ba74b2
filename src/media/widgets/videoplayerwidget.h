#pragma once

#include <QRect>
#include <QWidget>

class CPlayerHost;
class CPlayerPanel;

// The black window the player component draws the video into. It hands the
// component's events to the panel (a finished playback, the position) and
// switches full-screen video on a double click or off with Escape, asking
// the host first. GUI thread only.
class VideoPlayerWidget final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VideoPlayerWidget)

public:
    explicit VideoPlayerWidget(QWidget *parent = nullptr);
    ~VideoPlayerWidget() override;

    // Neither is owned; both must outlive the widget. The player is the
    // host's.
    void setHost(CPlayerHost *host);
    void setPlayerPanel(CPlayerPanel *panel);

    bool isFullScreenVideo() const { return m_fullScreen; }
    // The geometry the widget had before full-screen video.
    QRect savedGeometry() const { return m_savedGeometry; }

protected:
    bool event(QEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void switchFullScreen();

    bool m_fullScreen = false;
    QRect m_savedGeometry{QPoint(0, 0), QPoint(-1, -1)};
    CPlayerHost *m_host = nullptr;
    CPlayerPanel *m_panel = nullptr;
};
