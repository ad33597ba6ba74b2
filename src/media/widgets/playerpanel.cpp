#include "playerpanel.h"

#include "playerhost.h"
#include "theme.h"
#include "ui_playerpanel.h"
#include "videoplayer.h"

#include <QFontDatabase>
#include <QPainter>
#include <QTime>

CPlayerPanel::CPlayerPanel(QWidget *parent) : QWidget(parent), m_ui(std::make_unique<Ui::CPlayerPanelClass>())
{
    // Connects the on_<child>_<signal> slots by name.
    m_ui->setupUi(this);
    setFixedSize(289, 48);

    m_playIcon = CTheme::icon(CTheme::PlayIcon);
    m_pauseIcon = CTheme::icon(CTheme::PauseIcon);
    m_soundIcon = CTheme::icon(CTheme::SoundIcon);
    m_mutedIcon = CTheme::icon(CTheme::SoundMutedIcon);
    m_ui->playButton->setIconSize(CTheme::iconSize(CTheme::PlayIcon));
    m_ui->SoundButton->setIconSize(CTheme::iconSize(CTheme::SoundIcon));
    showPlayIcon(true);
    showSoundIcon(true);

    QFont font = QFontDatabase::font(QStringLiteral("Orvak Standard Normal"), QStringLiteral("Normal"), 8);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setPointSize(7);
    m_ui->Timelabel->setFont(font);
    QPalette light = m_ui->Timelabel->palette();
    light.setColor(QPalette::WindowText, Qt::white);
    m_ui->Timelabel->setPalette(light);
    m_ui->progressSlider->setAccessibleName(tr("Playback position"));
    m_ui->volumeSlider->setAccessibleName(tr("Volume"));
}

CPlayerPanel::~CPlayerPanel() = default;

void CPlayerPanel::setHost(CPlayerHost *host)
{
    m_host = host;
}

QString CPlayerPanel::timeText(uint position, uint length)
{
    const QString format = QStringLiteral("h:mm:ss");
    return QTime(0, 0).addMSecs(int(position)).toString(format) + QStringLiteral(" / ")
        + QTime(0, 0).addMSecs(int(length)).toString(format);
}

void CPlayerPanel::on_playButton_clicked()
{
    if (m_playing) {
        if (m_host)
            m_host->pausePlayback();
        m_ended = false;
        setPlaying(false);
        setHostControlsEnabled(true);
        showPlayIcon(true);
        return;
    }
    // Nothing may have started (no video chosen, or it failed to open):
    // then the panel stays as it is.
    if (!m_host || !m_host->startOrResumePlayback())
        return;
    m_ended = false;
    setPlaying(true);
    setHostControlsEnabled(false);
    showPlayIcon(false);
}

void CPlayerPanel::updatePosition(int percent, uint position, uint length)
{
    if (!m_ended)
        setPlaying(true);
    if (m_playing) {
        showPlayIcon(false);
        setHostControlsEnabled(false);
    }
    if (!m_ui->progressSlider->isSliderDown()) {
        // The first position after the end belongs to the finished run.
        if (m_ended)
            m_ended = false;
        else
            m_ui->progressSlider->setValue(percent);
    }
    m_ui->Timelabel->setText(timeText(position, length));
}

void CPlayerPanel::playbackFinished()
{
    m_ui->progressSlider->setValue(100);
    setPlaying(false);
    m_ended = true;
    setHostControlsEnabled(true);
    showPlayIcon(true);
}

void CPlayerPanel::on_progressSlider_actionTriggered(int)
{
    // While the knob is dragged, the release seeks.
    if (!m_ui->progressSlider->isSliderDown())
        seekTo(m_ui->progressSlider->sliderPosition());
}

void CPlayerPanel::on_progressSlider_sliderReleased()
{
    seekTo(m_ui->progressSlider->value());
}

void CPlayerPanel::on_volumeSlider_valueChanged(int value)
{
    if (Orvak_API::VideoPlayer *player = m_host ? m_host->videoPlayer() : nullptr)
        player->setVolume(value);
    if (value == 0) {
        showSoundIcon(false);
    } else {
        m_savedVolume = value;
        showSoundIcon(true);
    }
}

void CPlayerPanel::on_SoundButton_clicked()
{
    if (m_ui->volumeSlider->value() != 0) {
        m_savedVolume = m_ui->volumeSlider->value();
        m_ui->volumeSlider->setValue(0);
        showSoundIcon(false);
    } else if (m_savedVolume != 0) {
        m_ui->volumeSlider->setValue(m_savedVolume);
        showSoundIcon(true);
    }
}

void CPlayerPanel::volume_up()
{
    const int value = m_ui->volumeSlider->value();
    if (value < 100)
        m_ui->volumeSlider->setValue(qMin(value + 10, 100));
}

void CPlayerPanel::volume_down()
{
    const int value = m_ui->volumeSlider->value();
    if (value > 0)
        m_ui->volumeSlider->setValue(qMax(value - 10, 0));
}

void CPlayerPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    Orvak_API::VideoPlayer *player = m_host ? m_host->videoPlayer() : nullptr;
    if (!player)
        return;
    const int volume = player->volume();
    if (volume == -1) {
        showSoundIcon(false);
        m_ui->SoundButton->setEnabled(false);
        m_ui->volumeSlider->setEnabled(false);
    } else {
        m_ui->volumeSlider->setValue(volume);
    }
}

void CPlayerPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    CTheme::paint(&painter, CTheme::PlayerPanel, CTheme::Background, rect());
}

void CPlayerPanel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        m_ui->progressSlider->setAccessibleName(tr("Playback position"));
        m_ui->volumeSlider->setAccessibleName(tr("Volume"));
        showPlayIcon(!m_showsPause);
        showSoundIcon(!m_showsMuted);
    }
}

void CPlayerPanel::setPlaying(bool playing)
{
    if (m_playing == playing)
        return;
    m_playing = playing;
    Q_EMIT playingChanged(playing);
}

void CPlayerPanel::showPlayIcon(bool play)
{
    m_showsPause = !play;
    showButton(m_ui->playButton, play ? m_playIcon : m_pauseIcon, play ? tr("Play") : tr("Pause"));
}

void CPlayerPanel::showSoundIcon(bool sound)
{
    m_showsMuted = !sound;
    showButton(m_ui->SoundButton, sound ? m_soundIcon : m_mutedIcon, sound ? tr("Mute") : tr("Unmute"));
}

void CPlayerPanel::showButton(QToolButton *button, const QIcon &icon, const QString &text)
{
    button->setIcon(icon);
    // An icon-only button is named by what it does now.
    button->setToolTip(text);
    button->setAccessibleName(text);
}

void CPlayerPanel::setHostControlsEnabled(bool enabled)
{
    if (!m_host)
        return;
    if (QWidget *control = m_host->copyToMyCollectionControl())
        control->setEnabled(enabled);
    if (QWidget *control = m_host->copyToPhoneControl())
        control->setEnabled(enabled && m_host->hasPhoneEntries());
}

void CPlayerPanel::seekTo(int percent)
{
    if (Orvak_API::VideoPlayer *player = m_host ? m_host->videoPlayer() : nullptr)
        player->seek(percent);
}
