#include "componentevent.h"
#include "mediaclips.h"
#include "videocapabilities.h"
#include "videoconverter.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using Orvak_API::Phone_VideoCapabilities;
using Orvak_API::VideoConverter;

namespace {

const QString kTextJ = QStringLiteral(
    "An error occurred during conversion, and the selected file \n\n%1\n\ncould not be converted. \n\n"
    "See the log file for more information.");
const QString kTextL = QStringLiteral(
    "The selected file cannot be opened, as audio or video codecs required are missing. To be able to open "
    "the file, first install the required codecs. \n\nSee the log file for more information.");
const QString kTextA = QStringLiteral(
    "Orvak Pelmora is not installed. To be able to use Orvak Tamsel, first install Orvak Pelmora on your PC.");

[[maybe_unused]] Phone_VideoCapabilities caps(int width, int height, int kbps)
{
    Phone_VideoCapabilities c;
    c.width = width;
    c.height = height;
    c.maxBitrate = kbps;
    return c;
}

struct ProgressRecorder final : QObject
{
    bool event(QEvent *e) override
    {
        if (!ComponentEvent::isComponentEvent(e))
            return QObject::event(e);
        count.fetchAndAddRelaxed(1);
        return true;
    }
    QAtomicInt count;
};

} // namespace

// The converter as the program's tasks use it, converting real clips.
class TestVideoConverter : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString clip(const QString &name, int width, int height, bool audio = true, double seconds = 2)
    {
        const QString path = m_dir.filePath(name);
        if (QFile::exists(path))
            return path;
        MediaClips::ClipSpec spec;
        spec.width = width;
        spec.height = height;
        spec.audio = audio;
        spec.seconds = seconds;
        if (name.endsWith(QLatin1String(".avi")))
            spec.audioCodec = QStringLiteral("pcm_s16le");
        if (!MediaClips::make(path, spec))
            return {};
        return path;
    }

private Q_SLOTS:
    void initTestCase()
    {
#ifndef TAMSEL_NO_COMPONENT
        // The test runs outside the program's folder; point it at the built component.
        qputenv("TAMSEL_CONVERTER_LIBRARY", qgetenv("TAMSEL_BIN_DIR") + "/libtamselconverter.so");
#endif
    }

    void init()
    {
        QSettings store(QStringLiteral("Orvak"), QStringLiteral("Orvak Tamsel"));
        store.clear();
    }

#ifdef TAMSEL_NO_COMPONENT
    void missingComponentIsReported()
    {
        qputenv("TAMSEL_CONVERTER_LIBRARY", "/nonexistent/libtamselconverter.so");
        QObject mainWindow;
        QStringList friendly;
        Orvak_API::API_Base::setErrorReceiver(&mainWindow, [&](const QString &, const QString &, const QString &f) {
            friendly << f;
        });
        VideoConverter converter;
        Orvak_API::API_Base::setErrorReceiver(nullptr, nullptr);
        QCOMPARE(friendly, QStringList{kTextA});
        QCOMPARE(converter.lastResult(), int32_t(0x80040154u));
        QVERIFY(converter.errorFlag());
        QVERIFY(!converter.openFile(m_dir.filePath(QStringLiteral("any.mp4"))));
        QCOMPARE(converter.playbackLength(), 0u);
        QString target = QStringLiteral("any.mp4");
        QVERIFY(!converter.convert(m_dir.path(), target, 2, Phone_VideoCapabilities()));
    }
#else
    void conversions_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("sourceWidth");
        QTest::addColumn<int>("sourceHeight");
        QTest::addColumn<int>("quality");
        QTest::addColumn<Phone_VideoCapabilities>("limits");
        QTest::addColumn<QString>("settingKey");
        QTest::addColumn<QVariant>("settingValue");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("channels");

        QTest::addRow("hd, high, qvga phone at 384")
            << QStringLiteral("hd.mp4") << 1280 << 720 << 2 << caps(320, 240, 384) << QString() << QVariant()
            << 320 << 240 << 2;
        QTest::addRow("qcif source becomes 128x96")
            << QStringLiteral("qcif.avi") << 176 << 144 << 2 << caps(320, 240, 384) << QString() << QVariant()
            << 128 << 96 << 2;
        QTest::addRow("profile width without height is ignored")
            << QStringLiteral("vga.mp4") << 640 << 480 << 2 << caps(320, 240, 384)
            << QStringLiteral("Settings/HighWidth") << QVariant(400) << 320 << 240 << 2;
        QTest::addRow("audio off gives no audio track")
            << QStringLiteral("vga.mp4") << 640 << 480 << 2 << caps(320, 240, 384)
            << QStringLiteral("Settings/HighAudio") << QVariant(false) << 320 << 240 << 0;
        QTest::addRow("mono setting gives one channel")
            << QStringLiteral("vga.mp4") << 640 << 480 << 1 << caps(320, 240, 192)
            << QStringLiteral("Settings/MediumMono") << QVariant(true) << 320 << 240 << 1;
    }
    void conversions()
    {
        QFETCH(QString, source);
        QFETCH(int, sourceWidth);
        QFETCH(int, sourceHeight);
        QFETCH(int, quality);
        QFETCH(Phone_VideoCapabilities, limits);
        QFETCH(QString, settingKey);
        QFETCH(QVariant, settingValue);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, channels);
        if (!settingKey.isEmpty()) {
            QSettings store(QStringLiteral("Orvak"), QStringLiteral("Orvak Tamsel"));
            store.setValue(QStringLiteral("Settings/AdvSettings"), true);
            store.setValue(settingKey, settingValue);
        }
        const QString path = clip(source, sourceWidth, sourceHeight);
        QVERIFY(!path.isEmpty());
        QTemporaryDir out;
        VideoConverter converter;
        QSignalSpy errors(&converter, &VideoConverter::SignalErrorMessage);
        QVERIFY(converter.openFile(path));
        QCOMPARE(converter.playbackLength(), 2u);
        QString target = path;
        QVERIFY2(converter.convert(out.path() + QLatin1Char('/'), target, quality, limits),
                 qPrintable(converter.lastMessage()));
        QCOMPARE(errors.count(), 0);
        QCOMPARE(target, out.path() + QLatin1Char('/') + QFileInfo(source).completeBaseName() + QStringLiteral(".mp4"));
        QCOMPARE(converter.passCount(), quint8(1));
        converter.closeFile();
        QVERIFY(!converter.isFileOpen());

        const QJsonObject probed = MediaClips::probe(target);
        const QJsonObject video = MediaClips::stream(probed, QStringLiteral("video"));
        QCOMPARE(video.value(QStringLiteral("width")).toInt(), width);
        QCOMPARE(video.value(QStringLiteral("height")).toInt(), height);
        QCOMPARE(MediaClips::rational(video.value(QStringLiteral("avg_frame_rate")).toString()), 15.0);
        const QJsonObject audio = MediaClips::stream(probed, QStringLiteral("audio"));
        QCOMPARE(audio.value(QStringLiteral("channels")).toInt(), channels);
    }

    void sourceWithoutAudioConvertsToVideoOnly()
    {
        const QString path = clip(QStringLiteral("silent.mp4"), 320, 240, false);
        QTemporaryDir out;
        VideoConverter converter;
        QVERIFY(converter.openFile(path));
        QString target = path;
        QVERIFY(converter.convert(out.path(), target, 1, Phone_VideoCapabilities()));
        const QJsonObject probed = MediaClips::probe(target);
        QVERIFY(!MediaClips::stream(probed, QStringLiteral("video")).isEmpty());
        QVERIFY(MediaClips::stream(probed, QStringLiteral("audio")).isEmpty());
    }

    void unreadableSources_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("friendly");
        QTest::addRow("not a video") << QByteArray("hello, this is text\n").repeated(100) << 2 << kTextL;
        QTest::addRow("missing") << QByteArray() << 1
                                 << QStringLiteral("The selected file cannot be opened (for playback), as it is being "
                                                   "used by another application. To open the file, first close all "
                                                   "the applications using it.");
    }
    void unreadableSources()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, number);
        QFETCH(QString, friendly);
        const QString path = m_dir.filePath(QStringLiteral("bad-%1.avi").arg(number));
        if (!content.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        VideoConverter converter;
        QSignalSpy errors(&converter, &VideoConverter::SignalErrorMessage);
        QVERIFY(!converter.openFile(path));
        QCOMPARE(converter.lastCode(), int32_t(number));
        QCOMPARE(errors.count(), 1);
        QCOMPARE(errors.first().at(0).toString(), QStringLiteral("System Error"));
        QVERIFY(errors.first().at(1).toString().startsWith(QStringLiteral("File '") + path + QStringLiteral("' cannot be open: ")));
        QCOMPARE(errors.first().at(2).toString(), friendly);
        QCOMPARE(converter.playbackLength(), 0u);
    }

    void quietProbeReportsNothing()
    {
        VideoConverter converter;
        converter.setSuppressErrors(true);
        QSignalSpy errors(&converter, &VideoConverter::SignalErrorMessage);
        QVERIFY(!converter.openFile(m_dir.filePath(QStringLiteral("nothing-here.mp4"))));
        QCOMPARE(errors.count(), 0);
    }

    void cancelBeforeTheFileIsOpenHolds()
    {
        // A cancel while the job is still getting ready is never lost.
        const QString path = clip(QStringLiteral("early.mp4"), 320, 240);
        QTemporaryDir out;
        VideoConverter converter;
        QVERIFY(converter.cancel());
        QVERIFY(!converter.openFile(path));
        QCOMPARE(converter.lastCode(), int32_t(9));
        QString target = path;
        QVERIFY(!converter.convert(out.path(), target, 1, Phone_VideoCapabilities()));
        QCOMPARE(MediaClips::allEntries(out.path()), QStringList());
    }

    void sourceCutShortIsAFailureWithItsOwnText()
    {
        MediaClips::ClipSpec spec;
        spec.seconds = 10;
        spec.outputOptions = QStringList{QStringLiteral("-movflags"), QStringLiteral("+faststart")};
        const QString whole = m_dir.filePath(QStringLiteral("download.mp4"));
        QVERIFY(MediaClips::make(whole, spec));
        const QString cut = m_dir.filePath(QStringLiteral("interrupted download.mp4"));
        QVERIFY(MediaClips::cutShort(whole, cut, 0.1));
        QTemporaryDir out;
        VideoConverter converter;
        QStringList friendly;
        connect(&converter, &VideoConverter::SignalErrorMessage, this,
                [&](const QString &, const QString &, const QString &text) { friendly << text; });
        QVERIFY(converter.openFile(cut));
        QString target = cut;
        QVERIFY(!converter.convert(out.path(), target, 1, Phone_VideoCapabilities()));
        QCOMPARE(converter.lastCode(), int32_t(17));
        QCOMPARE(friendly.size(), 1);
        QCOMPARE(friendly.first(), QStringLiteral("The selected file \n\n%1\n\nends before its full length: it is "
                                                  "damaged or was not copied completely, and could not be converted. "
                                                  "\n\nSee the log file for more information.")
                                       .arg(cut));
        QCOMPARE(MediaClips::allEntries(out.path()), QStringList());
    }

    void cancelFromTheGuiThreadYieldsNine()
    {
        const QString path = clip(QStringLiteral("long.mp4"), 1280, 720, true, 20);
        QTemporaryDir out;
        ProgressRecorder progress;
        bool converted = true;
        QString target = path;
        QString friendly;
        int32_t code = -1;
        // The conversion blocks its thread, as on a task's worker thread.
        QThread *worker = QThread::create([&] {
            VideoConverter converter(&progress);
            QObject::connect(&converter, &VideoConverter::SignalErrorMessage, &converter,
                             [&](const QString &, const QString &, const QString &f) { friendly = f; },
                             Qt::DirectConnection);
            converter.openFile(path);
            QMetaObject::invokeMethod(&progress, [&] {
                QTRY_VERIFY_WITH_TIMEOUT(progress.count.loadRelaxed() >= 3, 60000);
                // cancel() is the one call allowed from another thread.
                QVERIFY(converter.cancel());
            }, Qt::QueuedConnection);
            converted = converter.convert(out.path(), target, 2, caps(1280, 720, 5000));
            code = converter.lastCode();
        });
        worker->start();
        QTRY_VERIFY_WITH_TIMEOUT(worker->isFinished(), 120000);
        delete worker;
        QVERIFY(!converted);
        QCOMPARE(code, int32_t(9));
        QCOMPARE(friendly, kTextJ.arg(path));
        QCOMPARE(MediaClips::allEntries(out.path()), QStringList());
    }
#endif
};

QTEST_GUILESS_MAIN(TestVideoConverter)
#include "tst_videoconverter.moc"
