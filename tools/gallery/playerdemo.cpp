#include "playerdemo.h"

#include "mediaclips.h"
#include "playerpanel.h"
#include "videoplayer.h"
#include "videoplayerwidget.h"

#include <QSlider>
#include <QVBoxLayout>

#include <cstdio>

PlayerDemo::PlayerDemo(QWidget *parent)
    : QWidget(parent), m_player(std::make_unique<Orvak_API::VideoPlayer>()), m_video(new VideoPlayerWidget),
      m_panel(new CPlayerPanel)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    // A wide window for a 4:3 clip: the bars show the picture keeps its shape.
    m_video->setFixedSize(400, 225);
    layout->addWidget(m_video, 0, Qt::AlignHCenter);
    layout->addWidget(m_panel, 0, Qt::AlignHCenter);
    m_video->setHost(this);
    m_video->setPlayerPanel(m_panel);
    m_panel->setHost(this);
    m_panel->setObjectName(QStringLiteral("widgetPlayerPanel"));
}

PlayerDemo::~PlayerDemo() = default;

void PlayerDemo::setLockedControls(QWidget *copyToMyCollection, QWidget *copyToPhone)
{
    m_copyToMyCollection = copyToMyCollection;
    m_copyToPhone = copyToPhone;
}

bool PlayerDemo::start()
{
    m_clip = m_dir.filePath(QStringLiteral("demo.mp4"));
    MediaClips::ClipSpec spec;
    spec.seconds = 6;
    QString log;
    if (!MediaClips::make(m_clip, spec, &log)) {
        std::fprintf(stderr, "cannot make the demo clip: %s\n", qPrintable(log));
        return false;
    }
    // As the play button does it.
    m_panel->on_playButton_clicked();
    return m_player->isFileOpen();
}

int PlayerDemo::progress() const
{
    return m_panel->findChild<QSlider *>(QStringLiteral("progressSlider"))->value();
}

Orvak_API::VideoPlayer *PlayerDemo::videoPlayer()
{
    return m_player.get();
}

bool PlayerDemo::startOrResumePlayback()
{
    if (m_player->isFileOpen())
        return m_player->togglePause();
    return m_player->playFile(m_video, m_clip);
}

void PlayerDemo::pausePlayback()
{
    m_player->togglePause();
}

bool PlayerDemo::setFullScreenVideo(bool)
{
    // The gallery window stays as it is.
    return false;
}
