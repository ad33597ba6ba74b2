#include "conversionplan.h"

#include <QSettings>
#include <QTest>

using Conversion::PhoneLimits;
using Conversion::Plan;
using Conversion::SourceProperties;

class TestConversionPlan : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QSettings store(QStringLiteral("Orvak"), QStringLiteral("Orvak Tamsel"));
        store.clear();
    }

    void plan_data()
    {
        QTest::addColumn<SourceProperties>("source");
        QTest::addColumn<Settings::ProfileValues>("profile");
        QTest::addColumn<PhoneLimits>("limits");
        QTest::addColumn<Plan>("expected");

        const auto high = Settings::defaultProfile(Settings::Quality::High);
        const auto low = Settings::defaultProfile(Settings::Quality::Low);
        const PhoneLimits qvga384{320, 240, 384};

        QTest::addRow("hd source, high, qvga phone")
            << SourceProperties{1280, 720, 25, 44100, 2} << high << qvga384
            << Plan{320, 240, 15, 384 * 1024, 128 * 1000, 44100, 2};
        QTest::addRow("source slower than the profile")
            << SourceProperties{320, 240, 10, 44100, 2} << high << qvga384
            << Plan{320, 240, 10, 384 * 1024, 128000, 44100, 2};
        QTest::addRow("small source always 128x96")
            << SourceProperties{176, 144, 15, 8000, 1} << high << PhoneLimits{640, 480, 1000}
            << Plan{128, 96, 15, 384 * 1024, 128000, 8000, 1};
        QTest::addRow("small but not both sides")
            << SourceProperties{176, 160, 15, 8000, 1} << high << qvga384
            << Plan{176, 160, 15, 384 * 1024, 128000, 8000, 1};

        auto widthOnly = high;
        widthOnly.width = 400;
        QTest::addRow("profile width without height is ignored, caps still apply")
            << SourceProperties{640, 480, 30, 48000, 2} << widthOnly << qvga384
            << Plan{320, 240, 15, 384 * 1024, 128000, 48000, 2};
        QTest::addRow("profile width without height, roomy phone")
            << SourceProperties{640, 480, 30, 48000, 2} << widthOnly << PhoneLimits{800, 600, 1000}
            << Plan{640, 480, 15, 384 * 1024, 128000, 48000, 2};

        auto sized = high;
        sized.width = 400;
        sized.height = 300;
        QTest::addRow("profile size replaces both sides")
            << SourceProperties{640, 360, 30, 48000, 2} << sized << PhoneLimits{800, 600, 1000}
            << Plan{400, 300, 15, 384 * 1024, 128000, 48000, 2};
        QTest::addRow("phone bit rate caps the profile")
            << SourceProperties{320, 240, 30, 48000, 2} << high << PhoneLimits{320, 240, 192}
            << Plan{320, 240, 15, 192 * 1024, 128000, 48000, 2};
        QTest::addRow("phone narrower than the source")
            << SourceProperties{352, 200, 30, 48000, 2} << low << PhoneLimits{176, 144, 128}
            << Plan{176, 144, 15, 128 * 1024, 128000, 48000, 2};

        auto silent = high;
        silent.audio = false;
        QTest::addRow("audio off") << SourceProperties{320, 240, 30, 48000, 2} << silent << qvga384
                                   << Plan{320, 240, 15, 384 * 1024, 128000, 48000, 0};
        auto mono = high;
        mono.mono = true;
        QTest::addRow("mono") << SourceProperties{320, 240, 30, 48000, 6} << mono << qvga384
                              << Plan{320, 240, 15, 384 * 1024, 128000, 48000, 1};
        QTest::addRow("surround becomes stereo") << SourceProperties{320, 240, 30, 48000, 6} << high << qvga384
                                                 << Plan{320, 240, 15, 384 * 1024, 128000, 48000, 2};
        QTest::addRow("unknown sample and frame rate")
            << SourceProperties{320, 240, 0, 0, 2} << high << qvga384
            << Plan{320, 240, 15, 384 * 1024, 128000, 48000, 2};
    }
    void plan()
    {
        QFETCH(SourceProperties, source);
        QFETCH(Settings::ProfileValues, profile);
        QFETCH(PhoneLimits, limits);
        QFETCH(Plan, expected);
        const Plan p = Conversion::plan(source, profile, limits);
        QCOMPARE(p.width, expected.width);
        QCOMPARE(p.height, expected.height);
        QCOMPARE(p.frameRate, expected.frameRate);
        QCOMPARE(p.videoBitrate, expected.videoBitrate);
        QCOMPARE(p.audioBitrate, expected.audioBitrate);
        QCOMPARE(p.sampleRate, expected.sampleRate);
        QCOMPARE(p.channels, expected.channels);
    }

    void storedProfileOnlyWithAdvancedSettings()
    {
        Settings::ProfileValues stored = Settings::defaultProfile(Settings::Quality::High);
        stored.videoBitrate = 999;
        Settings::setProfile(Settings::Quality::High, stored);
        QCOMPARE(Conversion::profileFor(Settings::Quality::High).videoBitrate, 384);
        Settings::setAdvancedProfiles(true);
        QCOMPARE(Conversion::profileFor(Settings::Quality::High).videoBitrate, 999);
        QCOMPARE(Conversion::profileFor(Settings::Quality::Low).videoBitrate, 128);
    }

    void outputBase_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("expected");
        QTest::addRow("folder with separator") << QStringLiteral("/home/u/Videos/Orvak Tamsel/")
                                               << QStringLiteral("clip.avi")
                                               << QStringLiteral("/home/u/Videos/Orvak Tamsel/clip");
        QTest::addRow("folder without separator") << QStringLiteral("/c") << QStringLiteral("clip.avi")
                                                  << QStringLiteral("/c/clip");
        QTest::addRow("target with folders") << QStringLiteral("/c") << QStringLiteral("/src/films/holiday.2019.mov")
                                             << QStringLiteral("/c/holiday.2019");
        QTest::addRow("no extension") << QStringLiteral("/c") << QStringLiteral("/src/clip") << QStringLiteral("/c/clip");
        QTest::addRow("dot only in a folder name") << QStringLiteral("/c") << QStringLiteral("/src/v1.0/clip")
                                                   << QStringLiteral("/c/clip");
    }
    void outputBase()
    {
        QFETCH(QString, folder);
        QFETCH(QString, target);
        QFETCH(QString, expected);
        QCOMPARE(Conversion::outputBase(folder, target), expected);
    }
};

QTEST_GUILESS_MAIN(TestConversionPlan)
#include "tst_conversionplan.moc"
