#include "playerfixture.h"
#include "playerpanel.h"
#include "stubplayer.h"
#include "videoplayerwidget.h"

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QLibrary>
#include <QSlider>
#include <QToolButton>

using Orvak_API::VideoPlayer;

// The panel and the video widget against a player component made for this
// test (stubplayer.cpp): it can fail the volume call and report a length of
// 0, which the real component on this machine never does, and it records the
// positions and sizes it is sent. Real playback is tst_videoplayer's.
class TestPlayerPanel : public QObject
{
    Q_OBJECT

private:
    StubPlayerState *m_stub = nullptr;

    struct Rig
    {
        explicit Rig(const QString &file = QStringLiteral("clip.mp4"))
        {
            host.player = &player;
            host.window = &video;
            host.file = file;
            panel.setHost(&host);
            video.setHost(&host);
            video.setPlayerPanel(&panel);
        }
        template<typename T>
        T *child(const char *name)
        {
            return panel.findChild<T *>(QLatin1String(name));
        }
        QSlider *progress() { return child<QSlider>("progressSlider"); }
        QSlider *volume() { return child<QSlider>("volumeSlider"); }
        QToolButton *play() { return child<QToolButton>("playButton"); }
        QToolButton *sound() { return child<QToolButton>("SoundButton"); }
        QString time() { return child<QLabel>("Timelabel")->text(); }

        VideoPlayer player;
        TestHost host;
        CPlayerPanel panel;
        VideoPlayerWidget video;
    };

private Q_SLOTS:
    void initTestCase()
    {
        const QByteArray library = TAMSEL_STUB_PLAYER;
        qputenv("TAMSEL_PLAYER_LIBRARY", library);
        QLibrary stub(QString::fromLocal8Bit(library));
        auto state = reinterpret_cast<StubPlayerStateFunction>(stub.resolve(TAMSEL_STUB_PLAYER_STATE));
        QVERIFY2(state, qPrintable(stub.errorString()));
        m_stub = state();
        QVERIFY(loadShippedTheme());
    }

    void init()
    {
        *m_stub = StubPlayerState();
        m_stub->failVolume = false;
    }

    void panelLayout()
    {
        Rig rig;
        QCOMPARE(rig.panel.size(), QSize(289, 48));
        QCOMPARE(rig.play()->size(), QSize(20, 20));
        QCOMPARE(rig.sound()->size(), QSize(20, 20));
        // Tall enough for the theme's knob.
        QCOMPARE(rig.progress()->height(), 12);
        QVERIFY(rig.volume()->width() >= 65);
        QCOMPARE(rig.progress()->maximum(), 100);
        QCOMPARE(rig.volume()->maximum(), 100);
        QCOMPARE(rig.play()->accessibleName(), rig.play()->toolTip());
        QCOMPARE(rig.sound()->accessibleName(), rig.sound()->toolTip());
    }

    void updatePosition_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<uint>("position");
        QTest::addColumn<uint>("length");
        QTest::addColumn<bool>("held");
        QTest::addColumn<QString>("time");
        QTest::addColumn<int>("slider");
        QTest::addRow("one and a half of three minutes") << 50 << 90000u << 180000u << false
                                                         << QStringLiteral("0:01:30 / 0:03:00") << 50;
        QTest::addRow("hours") << 51 << 3725000u << 7200000u << false << QStringLiteral("1:02:05 / 2:00:00") << 51;
        QTest::addRow("slider held down") << 50 << 90000u << 180000u << true
                                          << QStringLiteral("0:01:30 / 0:03:00") << 20;
    }
    void updatePosition()
    {
        QFETCH(int, percent);
        QFETCH(uint, position);
        QFETCH(uint, length);
        QFETCH(bool, held);
        QFETCH(QString, time);
        QFETCH(int, slider);
        Rig rig;
        rig.progress()->setValue(20);
        rig.progress()->setSliderDown(held);
        rig.panel.updatePosition(percent, position, length);
        QCOMPARE(rig.time(), time);
        QCOMPARE(rig.progress()->value(), slider);
        // Positions mean the video plays.
        QVERIFY(rig.panel.isPlaying());
        QVERIFY(showsIcon(rig.play()->icon(), CTheme::PauseIcon));
        QVERIFY(!rig.host.copyToMyCollection.isEnabled());
        QVERIFY(!rig.host.copyToPhone.isEnabled());
    }

    void videoWidgetForwardsPositions_data()
    {
        QTest::addColumn<quint32>("length");
        QTest::addColumn<QString>("time");
        QTest::addColumn<int>("slider");
        QTest::addRow("three minutes") << 180000u << QStringLiteral("0:01:30 / 0:03:00") << 50;
        QTest::addRow("length unknown") << 0u << QStringLiteral("0:00:00 / 0:00:00") << 0;
    }
    void videoWidgetForwardsPositions()
    {
        QFETCH(quint32, length);
        QFETCH(QString, time);
        QFETCH(int, slider);
        m_stub->lengthMs = length;
        Rig rig;
        QVERIFY(rig.player.playFile(&rig.video, rig.host.file));
        QCoreApplication::postEvent(&rig.video, new ComponentEvent(ComponentEvent::PlayerPosition, 90000));
        QCoreApplication::sendPostedEvents(&rig.video);
        QCOMPARE(rig.time(), time);
        QCOMPARE(rig.progress()->value(), slider);
    }

    void theEndLeavesTheSliderAloneOnce()
    {
        Rig rig;
        rig.panel.updatePosition(40, 4000, 10000);
        rig.panel.playbackFinished();
        QCOMPARE(rig.progress()->value(), 100);
        QVERIFY(rig.panel.hasEnded());
        QVERIFY(!rig.panel.isPlaying());
        QVERIFY(showsIcon(rig.play()->icon(), CTheme::PlayIcon));
        QVERIFY(rig.host.copyToMyCollection.isEnabled());

        // A position that was still on its way belongs to the finished run.
        rig.panel.updatePosition(95, 9500, 10000);
        QCOMPARE(rig.progress()->value(), 100);
        QVERIFY(!rig.panel.hasEnded());
        QVERIFY(!rig.panel.isPlaying());
        rig.panel.updatePosition(10, 1000, 10000);
        QCOMPARE(rig.progress()->value(), 10);
        QVERIFY(rig.panel.isPlaying());
    }

    void playButton_data()
    {
        QTest::addColumn<bool>("phones");
        QTest::addRow("with a phone") << true;
        QTest::addRow("without a phone") << false;
    }
    void playButton()
    {
        QFETCH(bool, phones);
        Rig rig;
        rig.host.phones = phones;
        rig.host.copyToPhone.setEnabled(phones);
        QSignalSpy playing(&rig.panel, &CPlayerPanel::playingChanged);
        rig.panel.show();

        QTest::mouseClick(rig.play(), Qt::LeftButton);
        QCOMPARE(rig.host.startRequests, 1);
        QVERIFY(rig.player.isFileOpen());
        QVERIFY(rig.panel.isPlaying());
        QVERIFY(showsIcon(rig.play()->icon(), CTheme::PauseIcon));
        QCOMPARE(rig.play()->toolTip(), QStringLiteral("Pause"));
        QVERIFY(!rig.host.copyToMyCollection.isEnabled());
        QVERIFY(!rig.host.copyToPhone.isEnabled());

        QTest::mouseClick(rig.play(), Qt::LeftButton);
        QCOMPARE(rig.host.pauseRequests, 1);
        QVERIFY(!rig.panel.isPlaying());
        QVERIFY(showsIcon(rig.play()->icon(), CTheme::PlayIcon));
        QCOMPARE(rig.play()->toolTip(), QStringLiteral("Play"));
        QVERIFY(rig.host.copyToMyCollection.isEnabled());
        QCOMPARE(rig.host.copyToPhone.isEnabled(), phones);
        QCOMPARE(playing.size(), 2);
    }

    void playButtonStaysWhenNothingStarts()
    {
        Rig rig;
        rig.host.player = nullptr; // nothing can play
        rig.panel.show();
        QTest::mouseClick(rig.play(), Qt::LeftButton);
        QCOMPARE(rig.host.startRequests, 1);
        QVERIFY(!rig.panel.isPlaying());
        QVERIFY(showsIcon(rig.play()->icon(), CTheme::PlayIcon));
        QVERIFY(rig.host.copyToMyCollection.isEnabled());
    }

    void muteAndUnmute()
    {
        Rig rig;
        m_stub->volume = 60;
        rig.panel.show();
        QCOMPARE(rig.volume()->value(), 60);

        QTest::mouseClick(rig.sound(), Qt::LeftButton);
        QCOMPARE(rig.volume()->value(), 0);
        QCOMPARE(m_stub->volume, 0);
        QVERIFY(showsIcon(rig.sound()->icon(), CTheme::SoundMutedIcon));
        QCOMPARE(rig.sound()->accessibleName(), QStringLiteral("Unmute"));

        QTest::mouseClick(rig.sound(), Qt::LeftButton);
        QCOMPARE(rig.volume()->value(), 60);
        QCOMPARE(m_stub->volume, 60);
        QVERIFY(showsIcon(rig.sound()->icon(), CTheme::SoundIcon));
        QCOMPARE(rig.sound()->accessibleName(), QStringLiteral("Mute"));
    }

    void unmuteWithoutSavedVolumeDoesNothing()
    {
        Rig rig;
        m_stub->volume = 0;
        rig.panel.show();
        QCOMPARE(rig.panel.savedVolume(), 0);
        QTest::mouseClick(rig.sound(), Qt::LeftButton);
        QCOMPARE(rig.volume()->value(), 0);
        QCOMPARE(m_stub->volume, 0);
    }

    void volumeSteps_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("result");
        QTest::addRow("up") << 50 << true << 60;
        QTest::addRow("up to the top") << 95 << true << 100;
        QTest::addRow("up at the top") << 100 << true << 100;
        QTest::addRow("down") << 50 << false << 40;
        QTest::addRow("down to the bottom") << 5 << false << 0;
        QTest::addRow("down at the bottom") << 0 << false << 0;
    }
    void volumeSteps()
    {
        QFETCH(int, start);
        QFETCH(bool, up);
        QFETCH(int, result);
        Rig rig;
        m_stub->volume = start;
        rig.panel.show();
        if (up)
            rig.panel.volume_up();
        else
            rig.panel.volume_down();
        QCOMPARE(rig.volume()->value(), result);
        QCOMPARE(m_stub->volume, result);
    }

    void volumeFailureIsSignalledOnce()
    {
        m_stub->failVolume = true;
        ErrorCollector errors;
        Rig rig;
        rig.panel.show();
        QCOMPARE(errors.messages, QStringList{QStringLiteral("Getting audio volume: Unknown reason")});
        QVERIFY(!rig.sound()->isEnabled());
        QVERIFY(!rig.volume()->isEnabled());
        QVERIFY(showsIcon(rig.sound()->icon(), CTheme::SoundMutedIcon));
        QVERIFY(!rig.player.volumeSupported());

        // Later reads fail quietly, and the sound stays off.
        QCOMPARE(rig.player.volume(), -1);
        rig.panel.hide();
        rig.panel.show();
        QCOMPARE(m_stub->volumeReads, 3);
        QCOMPARE(errors.messages.size(), 1);
        QVERIFY(!rig.volume()->isEnabled());
        QVERIFY(!rig.player.setVolume(30));
        QVERIFY(rig.player.playFile(&rig.video, rig.host.file));
        QCOMPARE(m_stub->playWithSound, QList<quint8>{0});
    }

    void seekWithinTheLength_data()
    {
        QTest::addColumn<quint32>("length");
        QTest::addColumn<double>("percent");
        QTest::addColumn<QList<qint64>>("sent");
        QTest::addRow("beyond the end") << 180000u << 150.0 << QList<qint64>{180000};
        QTest::addRow("before the start") << 180000u << -5.0 << QList<qint64>{0};
        QTest::addRow("a fraction of a millisecond truncates") << 180000u << 0.001 << QList<qint64>{1};
        QTest::addRow("length unknown") << 0u << 50.0 << QList<qint64>{};
    }
    void seekWithinTheLength()
    {
        QFETCH(quint32, length);
        QFETCH(double, percent);
        QFETCH(QList<qint64>, sent);
        m_stub->lengthMs = length;
        Rig rig;
        QVERIFY(!rig.player.seek(percent)); // nothing open yet
        QVERIFY(rig.player.playFile(&rig.video, rig.host.file));
        QVERIFY(rig.player.seek(percent));
        QCOMPARE(m_stub->playFromCalls, sent);
    }

    void progressSliderSeeks()
    {
        m_stub->lengthMs = 200000;
        Rig rig;
        rig.panel.show();
        QVERIFY(rig.player.playFile(&rig.video, rig.host.file));
        QSlider *slider = rig.progress();
        slider->setValue(30);
        slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(m_stub->playFromCalls, QList<qint64>{80000});

        // While the knob is held, only the release seeks.
        slider->setSliderDown(true);
        slider->triggerAction(QAbstractSlider::SliderMove);
        slider->setSliderPosition(70);
        QCOMPARE(m_stub->playFromCalls.size(), 1);
        slider->setSliderDown(false);
        QCOMPARE(m_stub->playFromCalls, (QList<qint64>{80000, 140000}));
    }
};

QTEST_MAIN(TestPlayerPanel)
#include "tst_playerpanel.moc"
