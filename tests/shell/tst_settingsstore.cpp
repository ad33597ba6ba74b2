#include "settingsstore.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

// Runs inside the test sandbox: HOME and the XDG folders are private, so the
// store and the video folder here are the test's own.
class TestSettingsStore : public QObject
{
    Q_OBJECT

private:
    static QSettings store() { return QSettings(QStringLiteral("Orvak"), QStringLiteral("Orvak Tamsel")); }

private Q_SLOTS:
    void init()
    {
        QSettings s(QStringLiteral("Orvak"), QStringLiteral("Orvak Tamsel"));
        s.clear();
        s.sync();
        QDir(Settings::collectionDefaultFolder()).removeRecursively();
    }

    void runsInASandbox()
    {
        QVERIFY2(QDir::homePath().contains(QLatin1String("tamsel-test")), "run the test through tests/sandbox.sh");
    }

    void freshAccountDefaults()
    {
        QCOMPARE(Settings::scanFolder(), QString());
        QCOMPARE(Settings::scanFolderForScan(), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        QCOMPARE(Settings::windowSize(), QSize(930, 601));
        QCOMPARE(Settings::fullScreen(), false);
        QCOMPARE(Settings::volume(), 50);
        QCOMPARE(Settings::lastPhoneId(), QString());
        QVERIFY(Settings::website().startsWith(QLatin1String("https://")));
        QCOMPARE(Settings::noPhoneConnectedNotify(), true);
        QCOMPARE(Settings::optimizedForPhoneNotify(), true);
        QCOMPARE(Settings::qualityValue(), 1);
        QCOMPARE(Settings::quality(), Settings::Quality::Medium);
        QCOMPARE(Settings::downloadToPhone(), -1);
        QCOMPARE(Settings::advancedProfiles(), false);
        // Reading a default never writes it.
        QVERIFY(store().allKeys().isEmpty());
    }

    void collectionDefaultIsCreated()
    {
        const QString expected = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation)
            + QStringLiteral("/Orvak Tamsel");
        QVERIFY(!QDir(expected).exists());
        QCOMPARE(Settings::myCollectionFolder(), expected);
        QVERIFY(QDir(expected).exists());
    }

    void storedCollectionFolderWins()
    {
        Settings::setMyCollectionFolder(QStringLiteral("/srv/videos"));
        QCOMPARE(Settings::myCollectionFolder(), QStringLiteral("/srv/videos"));
    }

    void quality_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<Settings::Quality>("expected");
        QTest::addRow("high") << 2 << Settings::Quality::High;
        QTest::addRow("medium") << 1 << Settings::Quality::Medium;
        QTest::addRow("low") << 0 << Settings::Quality::Low;
        QTest::addRow("7 is low") << 7 << Settings::Quality::Low;
        QTest::addRow("negative is low") << -1 << Settings::Quality::Low;
    }
    void quality()
    {
        QFETCH(int, stored);
        QFETCH(Settings::Quality, expected);
        Settings::setQuality(stored);
        QCOMPARE(Settings::qualityValue(), stored);
        QCOMPARE(Settings::quality(), expected);
    }

    void profileDefaults_data()
    {
        QTest::addColumn<Settings::Quality>("quality");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<int>("videoBitrate");
        QTest::addRow("high") << Settings::Quality::High << QStringLiteral("High") << 384;
        QTest::addRow("medium") << Settings::Quality::Medium << QStringLiteral("Medium") << 192;
        QTest::addRow("low") << Settings::Quality::Low << QStringLiteral("Low") << 128;
    }
    void profileDefaults()
    {
        QFETCH(Settings::Quality, quality);
        QFETCH(QString, prefix);
        QFETCH(int, videoBitrate);
        QCOMPARE(Settings::qualityPrefix(quality), prefix);
        const Settings::ProfileValues p = Settings::profile(quality);
        QCOMPARE(p.fps, 15);
        QCOMPARE(p.videoBitrate, videoBitrate);
        QCOMPARE(p.width, 0);
        QCOMPARE(p.height, 0);
        QCOMPARE(p.audio, true);
        QCOMPARE(p.mono, false);
        QCOMPARE(p.audioBitrate, 128);
    }

    void profileRoundTripUsesTheDocumentedKeys()
    {
        Settings::ProfileValues p;
        p.fps = 25;
        p.videoBitrate = 512;
        p.width = 320;
        p.height = 240;
        p.audio = false;
        p.mono = true;
        p.audioBitrate = 64;
        Settings::setProfile(Settings::Quality::Medium, p);
        QVERIFY(Settings::profile(Settings::Quality::Medium) == p);
        QCOMPARE(store().value(QStringLiteral("Settings/MediumVideoBitrate")).toInt(), 512);
        QCOMPARE(store().value(QStringLiteral("Settings/MediumMono")).toBool(), true);
        QVERIFY(Settings::profile(Settings::Quality::High) == Settings::defaultProfile(Settings::Quality::High));
    }

    void keysAreStoredVerbatim()
    {
        Settings::setScanFolder(QStringLiteral("/home/a/Videos"));
        Settings::setLastPhoneId(QStringLiteral("004401234567890"));
        Settings::setDownloadToPhone(1);
        QCOMPARE(store().value(QStringLiteral("Settings/ScanFolder")).toString(), QStringLiteral("/home/a/Videos"));
        QCOMPARE(store().value(QStringLiteral("Settings/LastPhoneID")).toString(), QStringLiteral("004401234567890"));
        QCOMPARE(store().value(QStringLiteral("Settings/DownloadToPhone")).toInt(), 1);
        QCOMPARE(Settings::scanFolderForScan(), QStringLiteral("/home/a/Videos"));
    }

    void defaultWindowPosition_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QPoint>("expected");
        QTest::addRow("1920x1080") << QRect(0, 0, 1920, 1080) << QPoint(959 - 465, 539 - 300);
        QTest::addRow("odd size") << QRect(0, 0, 1025, 769) << QPoint(512 - 465, 384 - 300);
        // (-1280 + -1) / 2 truncates toward zero to -640.
        QTest::addRow("left of primary") << QRect(-1280, 0, 1280, 1024) << QPoint(-640 - 465, 511 - 300);
    }
    void defaultWindowPosition()
    {
        QFETCH(QRect, screen);
        QFETCH(QPoint, expected);
        QCOMPARE(Settings::defaultWindowPosition(screen), expected);
        QCOMPARE(Settings::windowPosition(screen), expected);
    }

    void windowGeometryRoundTrip()
    {
        Settings::setWindowGeometry(QPoint(10, 20), QSize(1000, 700));
        QCOMPARE(Settings::windowPosition(QRect(0, 0, 100, 100)), QPoint(10, 20));
        QCOMPARE(Settings::windowSize(), QSize(1000, 700));
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
