#pragma once

// What the player's widget tests share: the shipped theme, a host standing in
// for the main window, and a window that records the component's events.

#include "componentevent.h"
#include "playerhost.h"
#include "theme.h"
#include "videoplayer.h"

#include <QIcon>
#include <QList>
#include <QPushButton>
#include <QResource>
#include <QTest>

// Makes the default theme current, read from the built resource package.
inline bool loadShippedTheme()
{
    if (!QResource::registerResource(qEnvironmentVariable("TAMSEL_BIN_DIR")
                                         + QStringLiteral("/Resource/videotransfer.rcc"),
                                     QStringLiteral("/Theme/")))
        return false;
    CTheme::setCurrent(new CTheme(QStringLiteral(":/Theme/Resources/DefaultTheme15.xml"), QStringLiteral(":/Theme/")));
    return !CTheme::pixmap(CTheme::PlayerPanel, CTheme::Background).isNull();
}

// Whether icon shows the theme's picture of element.
inline bool showsIcon(const QIcon &icon, CTheme::Element element)
{
    const QSize size = CTheme::iconSize(element);
    return !icon.isNull() && icon.pixmap(size).toImage() == CTheme::icon(element).pixmap(size).toImage();
}

// The main window as the panel and the video widget see it: it plays the
// chosen file in `window` with the host's player, and keeps two buttons.
class TestHost final : public CPlayerHost
{
public:
    Orvak_API::VideoPlayer *videoPlayer() override { return player; }

    bool startOrResumePlayback() override
    {
        ++startRequests;
        if (!player)
            return false;
        if (player->isFileOpen())
            return player->togglePause();
        return player->playFile(window, file);
    }

    void pausePlayback() override
    {
        ++pauseRequests;
        if (player)
            player->togglePause();
    }

    bool setFullScreenVideo(bool on) override
    {
        fullScreenRequests << on;
        if (!agreesToFullScreen || on == fullScreen)
            return false;
        fullScreen = on;
        return true;
    }

    QWidget *copyToMyCollectionControl() override { return &copyToMyCollection; }
    QWidget *copyToPhoneControl() override { return &copyToPhone; }
    bool hasPhoneEntries() const override { return phones; }

    Orvak_API::VideoPlayer *player = nullptr;
    QObject *window = nullptr;
    QString file;
    QPushButton copyToMyCollection;
    QPushButton copyToPhone;
    bool phones = true;
    bool agreesToFullScreen = true;
    bool fullScreen = false;
    QList<bool> fullScreenRequests;
    int startRequests = 0;
    int pauseRequests = 0;
};

// Records what the player component posts to an object: positions in
// milliseconds and the number of player events.
class EventRecorder final : public QObject
{
public:
    explicit EventRecorder(QObject *watched) { watched->installEventFilter(this); }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (ComponentEvent::isComponentEvent(event)) {
            const auto *component = static_cast<const ComponentEvent *>(event);
            if (component->kind() == ComponentEvent::PlayerPosition)
                positions << qint64(component->wParam());
            else if (component->kind() == ComponentEvent::PlayerState)
                ++playerEvents;
        }
        return false;
    }

    bool positionsRise() const
    {
        if (positions.size() < 2 || positions.constLast() <= positions.constFirst())
            return false;
        for (int i = 1; i < positions.size(); ++i) {
            if (positions.at(i) < positions.at(i - 1))
                return false;
        }
        return true;
    }

    QList<qint64> positions;
    int playerEvents = 0;
};

// Collects what the wrappers signal, as the main window's error slot would.
class ErrorCollector
{
public:
    ErrorCollector()
    {
        Orvak_API::API_Base::setErrorReceiver(&m_receiver, [this](const QString &, const QString &message,
                                                                  const QString &friendly) {
            messages << message;
            friendlyTexts << friendly;
        });
    }
    ~ErrorCollector() { Orvak_API::API_Base::setErrorReceiver(nullptr, nullptr); }

    QStringList messages;
    QStringList friendlyTexts;

private:
    QObject m_receiver;
};
