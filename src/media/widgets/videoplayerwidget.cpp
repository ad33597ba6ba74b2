#include "videoplayerwidget.h"

#include "componentevent.h"
#include "playerhost.h"
#include "playerpanel.h"
#include "videoplayer.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

VideoPlayerWidget::VideoPlayerWidget(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("margin:0px; background-color: black;"));
    // Escape leaves full-screen video once the picture has been clicked.
    setFocusPolicy(Qt::ClickFocus);
}

VideoPlayerWidget::~VideoPlayerWidget() = default;

void VideoPlayerWidget::setHost(CPlayerHost *host)
{
    m_host = host;
}

void VideoPlayerWidget::setPlayerPanel(CPlayerPanel *panel)
{
    m_panel = panel;
}

bool VideoPlayerWidget::event(QEvent *event)
{
    Orvak_API::VideoPlayer *player = m_host ? m_host->videoPlayer() : nullptr;
    if (player && m_panel && ComponentEvent::isComponentEvent(event)) {
        const auto *component = static_cast<const ComponentEvent *>(event);
        if (component->kind() == ComponentEvent::PlayerState) {
            if (player->eventCode() == 1)
                m_panel->playbackFinished();
        } else if (component->kind() == ComponentEvent::PlayerPosition) {
            const uint length = player->length();
            if (length != 0) {
                const auto position = uint(component->wParam());
                m_panel->updatePosition(int(position * 100.0 / length), position, length);
            }
        }
    }
    return QWidget::event(event);
}

void VideoPlayerWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        switchFullScreen();
        event->accept();
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

void VideoPlayerWidget::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && m_fullScreen) {
        switchFullScreen();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void VideoPlayerWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The picture follows the window however it was resized.
    if (Orvak_API::VideoPlayer *player = m_host ? m_host->videoPlayer() : nullptr)
        player->setWindowDimensions(rect());
}

void VideoPlayerWidget::switchFullScreen()
{
    if (!m_host)
        return;
    const bool on = !m_fullScreen;
    const QRect current = geometry();
    QRect target = m_savedGeometry;
    if (on) {
        const QScreen *screen = QGuiApplication::primaryScreen();
        target = screen ? screen->geometry() : current;
    }
    // Only a switch the window made changes the state: a refusal leaves the
    // next double click asking for the same thing again.
    if (!m_host->setFullScreenVideo(on))
        return;
    if (on)
        m_savedGeometry = current;
    m_fullScreen = on;
    if (Orvak_API::VideoPlayer *player = m_host->videoPlayer())
        player->setWindowDimensions(target);
}
