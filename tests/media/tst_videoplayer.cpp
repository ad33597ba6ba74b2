#include "mediaclips.h"
#include "playerfixture.h"
#include "playerpanel.h"
#include "videoplayercomponent.h"
#include "videoplayerwidget.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>

#include <algorithm>
#include <QToolButton>

using Orvak_API::VideoPlayer;

namespace {

const QString kTextA = QStringLiteral(
    "Orvak Pelmora is not installed. To be able to use Orvak Tamsel, first install Orvak Pelmora on your PC.");
[[maybe_unused]] const QString kTextK = QStringLiteral(
    "The selected file cannot be opened (for playback), as it is being used by another application. To open the "
    "file, first close all the applications using it.");
[[maybe_unused]] const QString kTextL = QStringLiteral(
    "The selected file cannot be opened, as audio or video codecs required are missing. To be able to open the "
    "file, first install the required codecs. \n\nSee the log file for more information.");

// Playback runs in real time on a loaded machine: wait generously.
constexpr int kPlaybackTimeout = 30000;

// Share of pixels in a part of an image that are not black.
[[maybe_unused]] double litShare(const QImage &image, const QRect &area)
{
    int lit = 0;
    int all = 0;
    for (int y = area.top(); y <= area.bottom(); y += 2) {
        for (int x = area.left(); x <= area.right(); x += 2) {
            ++all;
            if (qGray(image.pixel(x, y)) > 24)
                ++lit;
        }
    }
    return all ? double(lit) / all : 0.0;
}

} // namespace

// The player as the program uses it, playing real clips on the real
// component (the sound goes nowhere on a machine without a sound card).
class TestVideoPlayer : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_withSound;
    QString m_silent;
    QString m_long;

    QString clip(const QString &name, bool audio, double seconds = 1.5)
    {
        const QString path = m_dir.filePath(name);
        MediaClips::ClipSpec spec;
        spec.audio = audio;
        spec.seconds = seconds;
        QString log;
        if (!MediaClips::make(path, spec, &log))
            qWarning("%s", qPrintable(log));
        return path;
    }

private Q_SLOTS:
    void initTestCase()
    {
#ifdef TAMSEL_NO_COMPONENT
        qputenv("TAMSEL_PLAYER_LIBRARY", "/nonexistent/libtamselplayer.so");
#else
        // The test runs outside the program's folder; point it at the built component.
        qputenv("TAMSEL_PLAYER_LIBRARY", qgetenv("TAMSEL_BIN_DIR") + "/libtamselplayer.so");
        QVERIFY(loadShippedTheme());
        m_withSound = clip(QStringLiteral("sound.mp4"), true);
        m_silent = clip(QStringLiteral("silent.mp4"), false);
        m_long = clip(QStringLiteral("long.mp4"), false, 8);
        QVERIFY(QFile::exists(m_withSound));
        QVERIFY(QFile::exists(m_silent));
        QVERIFY(QFile::exists(m_long));
#endif
    }

#ifdef TAMSEL_NO_COMPONENT
    void missingComponentIsReported()
    {
        ErrorCollector errors;
        VideoPlayer player;
        QCOMPARE(errors.friendlyTexts, QStringList{kTextA});
        QVERIFY(errors.messages.constFirst().startsWith(
            QStringLiteral("Orvak Video player COM object cannot be created.")));
        QCOMPARE(player.lastResult(), int32_t(0x80040154u));
        QVERIFY(player.errorFlag());

        QObject window;
        QVERIFY(!player.playFile(&window, m_dir.filePath(QStringLiteral("any.mp4"))));
        QVERIFY(!player.togglePause());
        QVERIFY(!player.seek(50));
        QCOMPARE(player.volume(), -1);
        QVERIFY(!player.setVolume(40));
        QCOMPARE(player.eventCode(), 0u);
        // Only the creation was signalled.
        QCOMPARE(errors.friendlyTexts.size(), 1);
    }
#else
    void playsToTheEnd_data()
    {
        QTest::addColumn<bool>("sound");
        QTest::addRow("video with sound") << true;
        QTest::addRow("video without sound") << false;
    }
    void playsToTheEnd()
    {
        QFETCH(bool, sound);
        ErrorCollector errors;
        VideoPlayer player;
        QWidget window;
        window.resize(320, 240);
        window.show();
        EventRecorder events(&window);

        QVERIFY(player.playFile(&window, sound ? m_withSound : m_silent));
        QVERIFY(player.isFileOpen());
        QVERIFY(qAbs(int(player.length()) - 1500) < 100);
        QCOMPARE(player.title(), sound ? QStringLiteral("sound") : QStringLiteral("silent"));
        QVERIFY(player.formatText().contains(QLatin1String("mpeg4")));
        QCOMPARE(player.formatText().contains(QLatin1String("aac")), sound);

        // The picture shows in the window while it plays.
        auto *picture = window.findChild<QWidget *>(QLatin1String(PlayerComponent::kPictureObjectName));
        QVERIFY(picture);
        QCOMPARE(picture->size(), window.size());
        QTRY_VERIFY_WITH_TIMEOUT(litShare(window.grab().toImage(), window.rect()) > 0.5, kPlaybackTimeout);

        QTRY_VERIFY_WITH_TIMEOUT(events.playerEvents > 0 && player.eventCode() == 1, kPlaybackTimeout);
        QVERIFY2(events.positionsRise(), qPrintable(QString::number(events.positions.size())));
        QVERIFY(events.positions.constLast() <= player.length());
        QVERIFY(errors.friendlyTexts.isEmpty());

        player.closeFile();
        QVERIFY(!player.isFileOpen());
        QCOMPARE(player.eventCode(), 0u);
    }

    void seekClampsToTheVideo()
    {
        VideoPlayer player;
        QWidget window;
        window.show();
        EventRecorder events(&window);
        QVERIFY(player.playFile(&window, m_withSound));
        QTRY_VERIFY_WITH_TIMEOUT(!events.positions.isEmpty() && events.positions.constLast() > 0, kPlaybackTimeout);

        // Beyond the end plays from the end: the video finishes at once.
        events.positions.clear();
        QVERIFY(player.seek(150));
        QTRY_VERIFY_WITH_TIMEOUT(player.eventCode() == 1, kPlaybackTimeout);
        QCOMPARE(events.positions.value(0), qint64(player.length()));

        // Before the start plays from the start, and on from there.
        events.positions.clear();
        QVERIFY(player.seek(-5));
        QTRY_VERIFY_WITH_TIMEOUT(events.positions.size() >= 3 && events.positions.constLast() > 0, kPlaybackTimeout);
        QCOMPARE(events.positions.constFirst(), 0);
        QVERIFY(events.positionsRise());
        QCOMPARE(player.eventCode(), uint(PlayerComponent::Started));
        player.closeFile();
    }

    void togglePausePausesAndResumes()
    {
        VideoPlayer player;
        QVERIFY(!player.togglePause()); // nothing open: nothing changes
        QWidget window;
        window.show();
        EventRecorder events(&window);
        // Long enough not to end while the test looks, however loaded the machine.
        QVERIFY(player.playFile(&window, m_long));
        QTRY_VERIFY_WITH_TIMEOUT(!events.positions.isEmpty() && events.positions.constLast() > 0, kPlaybackTimeout);

        QVERIFY(player.togglePause());
        QTRY_COMPARE_WITH_TIMEOUT(player.eventCode(), uint(PlayerComponent::Paused), kPlaybackTimeout);
        const int reported = events.positions.size();
        const qint64 pausedAt = events.positions.constLast();
        // Checking that nothing comes needs a stretch of time; more load only
        // makes it easier to pass.
        QTest::qWait(600);
        QCOMPARE(events.positions.size(), reported);

        QVERIFY(player.togglePause());
        QTRY_VERIFY_WITH_TIMEOUT(events.positions.constLast() > pausedAt, kPlaybackTimeout);
        QVERIFY(events.positions.mid(reported).constFirst() >= pausedAt);
        QVERIFY(player.seek(100));
        QTRY_VERIFY_WITH_TIMEOUT(player.eventCode() == 1, kPlaybackTimeout);
        // After the end it plays again from the start.
        events.positions.clear();
        QVERIFY(player.togglePause());
        QTRY_VERIFY_WITH_TIMEOUT(events.positions.size() >= 2, kPlaybackTimeout);
        QVERIFY(events.positions.constFirst() < 500);
        player.closeFile();
    }

    void volumeReadsBackWhatWasSet()
    {
        VideoPlayer player;
        QCOMPARE(player.volume(), 100);
        for (int volume : {37, 0, 100, 50}) {
            QVERIFY(player.setVolume(volume));
            QCOMPARE(player.volume(), volume);
        }
        QVERIFY(player.volumeSupported());
    }

    void unplayableFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("friendly");
        QTest::addRow("text file renamed .mp4") << QStringLiteral("notes.mp4")
                                                << QByteArray("These are my notes, not a video.\n") << 2 << kTextL;
        QTest::addRow("file gone") << QStringLiteral("gone.mp4") << QByteArray() << 1 << kTextK;
    }
    void unplayableFiles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(int, number);
        QFETCH(QString, friendly);
        const QString path = m_dir.filePath(name);
        if (!content.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        ErrorCollector errors;
        VideoPlayer player;
        QWidget window;
        QVERIFY(!player.playFile(&window, path));
        QCOMPARE(errors.friendlyTexts, QStringList{friendly});
        QVERIFY(errors.messages.constFirst().startsWith(QStringLiteral("File '") + path
                                                        + QStringLiteral("' cannot be open: ")));
        QCOMPARE(player.lastCode(), number);
        QVERIFY(player.errorFlag());
        QVERIFY(!player.isFileOpen());
        QVERIFY(!player.seek(50));
        QCOMPARE(player.eventCode(), 0u);
    }

    // The panel and the video widget in step with a real playback.
    void panelFollowsPlayback()
    {
        VideoPlayer player;
        TestHost host;
        CPlayerPanel panel;
        VideoPlayerWidget video;
        video.resize(320, 240);
        host.player = &player;
        host.window = &video;
        host.file = m_withSound;
        panel.setHost(&host);
        video.setHost(&host);
        video.setPlayerPanel(&panel);
        video.show();
        panel.show();
        auto *play = panel.findChild<QToolButton *>(QStringLiteral("playButton"));
        auto *progress = panel.findChild<QSlider *>(QStringLiteral("progressSlider"));
        auto *time = panel.findChild<QLabel *>(QStringLiteral("Timelabel"));
        QVERIFY(play && progress && time);

        // Values on the way, however the machine's load bunches the events.
        QSignalSpy moved(progress, &QSlider::valueChanged);
        QTest::mouseClick(play, Qt::LeftButton);
        QVERIFY(panel.isPlaying());
        QVERIFY(showsIcon(play->icon(), CTheme::PauseIcon));
        QVERIFY(!host.copyToMyCollection.isEnabled());
        QVERIFY(!host.copyToPhone.isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(panel.hasEnded(), kPlaybackTimeout);
        QCOMPARE(progress->value(), 100);
        QVERIFY(std::any_of(moved.cbegin(), moved.cend(), [](const QList<QVariant> &values) {
            return values.constFirst().toInt() > 0 && values.constFirst().toInt() < 100;
        }));
        QVERIFY(time->text().endsWith(QStringLiteral(" / 0:00:01")));
        QVERIFY(!panel.isPlaying());
        QVERIFY(showsIcon(play->icon(), CTheme::PlayIcon));
        QVERIFY(host.copyToMyCollection.isEnabled());
        QVERIFY(host.copyToPhone.isEnabled());
        player.closeFile();
    }

    // Black bars keep the picture's shape in a window of another shape.
    void pictureKeepsItsShape_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QRect>("picture");
        QTest::addColumn<QRect>("bar");
        // The clips are 4:3.
        QTest::addRow("wide window") << QSize(480, 180) << QRect(124, 4, 232, 172) << QRect(0, 0, 110, 180);
        QTest::addRow("tall window") << QSize(160, 400) << QRect(4, 144, 152, 112) << QRect(0, 0, 160, 130);
    }
    void pictureKeepsItsShape()
    {
        QFETCH(QSize, window);
        QFETCH(QRect, picture);
        QFETCH(QRect, bar);
        VideoPlayer player;
        VideoPlayerWidget video;
        TestHost host;
        host.player = &player;
        video.setHost(&host);
        video.resize(window);
        video.show();
        QVERIFY(player.playFile(&video, m_silent));
        QTRY_VERIFY_WITH_TIMEOUT(litShare(video.grab().toImage(), picture) > 0.5, kPlaybackTimeout);
        const QImage shot = video.grab().toImage();
        QCOMPARE(litShare(shot, bar), 0.0);
        QCOMPARE(litShare(shot, bar.translated(window.width() - bar.width(), window.height() - bar.height())), 0.0);
        player.closeFile();
    }

    void doubleClickResizesWhenTheHostAgrees()
    {
        VideoPlayer player;
        TestHost host;
        host.player = &player;
        VideoPlayerWidget video;
        video.setHost(&host);
        video.resize(200, 150);
        video.show();
        QVERIFY(player.playFile(&video, m_silent));
        auto *picture = video.findChild<QWidget *>(QLatin1String(PlayerComponent::kPictureObjectName));
        QVERIFY(picture);
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        QVERIFY(screen != video.size());

        host.agreesToFullScreen = false;
        QTest::mouseDClick(&video, Qt::LeftButton);
        QCOMPARE(host.fullScreenRequests, QList<bool>{true});
        QVERIFY(!video.isFullScreenVideo());
        QCOMPARE(picture->size(), QSize(200, 150));

        host.agreesToFullScreen = true;
        QTest::mouseDClick(&video, Qt::LeftButton);
        QCOMPARE(host.fullScreenRequests, (QList<bool>{true, true}));
        QVERIFY(video.isFullScreenVideo());
        QCOMPARE(picture->size(), screen);
        QCOMPARE(video.savedGeometry().size(), QSize(200, 150));

        // Escape leaves full-screen video as a second double click does.
        video.setFocus();
        QTest::keyClick(&video, Qt::Key_Escape);
        QCOMPARE(host.fullScreenRequests, (QList<bool>{true, true, false}));
        QVERIFY(!video.isFullScreenVideo());
        QCOMPARE(picture->size(), QSize(200, 150));
        player.closeFile();
    }
#endif
};

QTEST_MAIN(TestVideoPlayer)
#include "tst_videoplayer.moc"
