#include "componentevent.h"
#include "mediaclips.h"
#include "videoconvertercomponent.h"

#include <QDir>
#include <QLibrary>
#include <QProcess>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <atomic>
#include <cmath>
#include <memory>

using namespace ConverterComponent;

namespace {

struct Event final : EndEvent
{
    void set() override { semaphore.release(); }
    QSemaphore semaphore;
};

struct ProgressRecorder final : QObject
{
    bool event(QEvent *e) override
    {
        if (ComponentEvent::isComponentEvent(e)) {
            auto *c = static_cast<ComponentEvent *>(e);
            events.append({int(c->kind()), int(c->wParam())});
            return true;
        }
        return QObject::event(e);
    }
    QList<QPair<int, int>> events;
};

// The library as the program gets it: loaded by name at run time.
struct Component
{
    Component()
    {
        library.setFileName(qEnvironmentVariable("TAMSEL_BIN_DIR") + QStringLiteral("/libtamselconverter.so"));
        auto create = reinterpret_cast<TamselConverterFactory>(library.resolve(TAMSEL_CONVERTER_FACTORY));
        converter = create ? create() : nullptr;
    }
    ~Component()
    {
        if (converter)
            converter->release();
    }
    QLibrary library;
    IVideoConverter *converter = nullptr;
};

void writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
}

// Whether some process holds the file locked, as a running conversion holds
// its temporary file.
bool lockedByOthers(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked;
}

const char16_t *wide(const QString &text)
{
    return reinterpret_cast<const char16_t *>(text.utf16());
}

EncoderConfig config(int width, int height, double rate, int kbps, int channels, int sampleRate = 48000)
{
    EncoderConfig c;
    c.width = quint32(width);
    c.height = quint32(height);
    c.frameRate = rate;
    c.videoBitrate = quint32(kbps * 1024);
    c.audioChannels = quint8(channels);
    c.audioSampleRate = quint32(sampleRate);
    return c;
}

// The mean brightness of every frame of a video, in order.
QList<double> frameBrightness(const QString &video)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), video,
                                            QStringLiteral("-f"), QStringLiteral("rawvideo"), QStringLiteral("-pix_fmt"),
                                            QStringLiteral("gray"), QStringLiteral("-")});
    ffmpeg.waitForFinished(120000);
    const QByteArray data = ffmpeg.readAllStandardOutput();
    const QJsonObject stream = MediaClips::stream(MediaClips::probe(video), QStringLiteral("video"));
    const int frame = stream.value(QStringLiteral("width")).toInt() * stream.value(QStringLiteral("height")).toInt();
    QList<double> means;
    for (qsizetype at = 0; frame > 0 && at + frame <= data.size(); at += frame) {
        qint64 sum = 0;
        for (qsizetype i = at; i < at + frame; ++i)
            sum += quint8(data.at(i));
        means << double(sum) / frame;
    }
    return means;
}

} // namespace

class TestConverterComponent : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_clip720;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    // Opens, configures and runs one conversion to its end; returns the final error number.
    qint32 convert(IVideoConverter *c, const QString &source, const EncoderConfig &cfg, const QString &outputBase,
                   quint32 audioBps = 128000, QObject *progress = nullptr)
    {
        quint16 kind = 0;
        qint32 error = -1;
        if (c->openFile(wide(source), &kind, &error) < 0)
            return error;
        AudioRecord audio;
        audio.bitrate = audioBps;
        quint8 params[45] = {};
        if (c->configure(&cfg, params, sizeof params, &audio, sizeof audio, &error) < 0)
            return error;
        Event done;
        c->setEndEvent(&done, 2);
        if (progress)
            c->setProgressTarget(progress, 0, 100);
        if (c->start(wide(outputBase), 11, &error) < 0)
            return error;
        while (!done.semaphore.tryAcquire(1, 50))
            QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        c->finalResult(&error);
        c->closeFile();
        return error;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        Component component;
        QVERIFY2(component.converter, qPrintable(component.library.errorString()));
        m_clip720 = path(QStringLiteral("hd.mp4"));
        MediaClips::ClipSpec spec;
        spec.width = 1280;
        spec.height = 720;
        spec.rate = 25;
        QString log;
        QVERIFY2(MediaClips::make(m_clip720, spec, &log), qPrintable(log));
    }

    void openReportsProperties()
    {
        Component c;
        quint16 kind = 0;
        qint32 error = -1;
        QCOMPARE(c.converter->openFile(wide(m_clip720), &kind, &error), Ok);
        QCOMPARE(error, qint32(NoError));
        QCOMPARE(kind, quint16(1));
        const MediaInfo *info = nullptr;
        QCOMPARE(c.converter->mediaInfo(&info), Ok);
        QCOMPARE(info->width, quint16(1280));
        QCOMPARE(info->height, quint16(720));
        QCOMPARE(info->frameRate, 25.0);
        QVERIFY2(info->durationMs >= 1900 && info->durationMs <= 2100, qPrintable(QString::number(info->durationMs)));
        QCOMPARE(info->sampleRate, quint32(44100));
        QCOMPARE(info->channels, quint8(2));
    }

    void openFailures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<qint32>("expected");
        QTest::addRow("missing file") << QStringLiteral("missing.mp4") << QByteArray() << qint32(FileAccessProblem);
        QTest::addRow("text named avi") << QStringLiteral("notes.avi") << QByteArray("just some text\n").repeated(50)
                                       << qint32(UnsupportedFileType);
        QTest::addRow("empty file") << QStringLiteral("empty.mp4") << QByteArray("") << qint32(UnsupportedFileType);
        QTest::addRow("folder") << QStringLiteral("folder.mp4") << QByteArray("<dir>") << qint32(FileAccessProblem);
    }
    void openFailures()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(qint32, expected);
        const QString file = path(name);
        if (content == "<dir>") {
            QVERIFY(QDir().mkpath(file));
        } else if (!name.startsWith(QLatin1String("missing"))) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        Component c;
        quint16 kind = 0;
        qint32 error = -1;
        QVERIFY(c.converter->openFile(wide(file), &kind, &error) < 0);
        QCOMPARE(error, expected);
        const MediaInfo *info = nullptr;
        QVERIFY(c.converter->mediaInfo(&info) < 0);
    }

    void truncatedFileIsUnsupported()
    {
        // Without faststart the index sits at the end; cut it off.
        QFile whole(m_clip720);
        QVERIFY(whole.open(QIODevice::ReadOnly));
        const QString cut = path(QStringLiteral("cut.mp4"));
        QFile truncated(cut);
        QVERIFY(truncated.open(QIODevice::WriteOnly));
        truncated.write(whole.read(whole.size() / 2));
        truncated.close();
        const QStringList boxes = MediaClips::topLevelBoxes(m_clip720);
        if (boxes.indexOf(QStringLiteral("moov")) < boxes.indexOf(QStringLiteral("mdat")))
            QSKIP("the generated clip has its index in front");
        Component c;
        quint16 kind = 0;
        qint32 error = -1;
        QVERIFY(c.converter->openFile(wide(cut), &kind, &error) < 0);
        QCOMPARE(error, qint32(UnsupportedFileType));
    }

    void convertsToPhoneReadyMp4_data()
    {
        QTest::addColumn<int>("sourceWidth");
        QTest::addColumn<int>("sourceHeight");
        QTest::addColumn<bool>("sourceAudio");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<double>("rate");
        QTest::addColumn<int>("kbps");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("expectedChannels");
        QTest::addRow("hd to 320x240 stereo") << 1280 << 720 << true << 320 << 240 << 15.0 << 384 << 2 << 2;
        QTest::addRow("small source to 128x96") << 176 << 144 << true << 128 << 96 << 15.0 << 128 << 2 << 2;
        QTest::addRow("audio off") << 640 << 480 << true << 320 << 240 << 12.5 << 192 << 0 << 0;
        QTest::addRow("mono") << 640 << 480 << true << 320 << 240 << 15.0 << 192 << 1 << 1;
        QTest::addRow("source without audio") << 320 << 240 << false << 320 << 240 << 15.0 << 192 << 2 << 0;
    }
    void convertsToPhoneReadyMp4()
    {
        QFETCH(int, sourceWidth);
        QFETCH(int, sourceHeight);
        QFETCH(bool, sourceAudio);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(double, rate);
        QFETCH(int, kbps);
        QFETCH(int, channels);
        QFETCH(int, expectedChannels);

        const QString tag = QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_'));
        QString source = m_clip720;
        if (sourceWidth != 1280) {
            source = path(tag + QStringLiteral("-src.avi"));
            MediaClips::ClipSpec spec;
            spec.width = sourceWidth;
            spec.height = sourceHeight;
            spec.audio = sourceAudio;
            spec.audioCodec = QStringLiteral("pcm_s16le");
            QString log;
            QVERIFY2(MediaClips::make(source, spec, &log), qPrintable(log));
        }
        const QString base = path(tag + QStringLiteral("-out"));
        Component c;
        QCOMPARE(convert(c.converter, source, config(width, height, rate, kbps, channels), base), qint32(NoError));

        const QString output = base + QStringLiteral(".mp4");
        const QJsonObject probed = MediaClips::probe(output);
        const QJsonObject video = MediaClips::stream(probed, QStringLiteral("video"));
        QCOMPARE(video.value(QStringLiteral("codec_name")).toString(), QStringLiteral("h264"));
        QCOMPARE(video.value(QStringLiteral("profile")).toString(), QStringLiteral("Main"));
        QCOMPARE(video.value(QStringLiteral("pix_fmt")).toString(), QStringLiteral("yuv420p"));
        QCOMPARE(video.value(QStringLiteral("width")).toInt(), width);
        QCOMPARE(video.value(QStringLiteral("height")).toInt(), height);
        QCOMPARE(MediaClips::rational(video.value(QStringLiteral("avg_frame_rate")).toString()), rate);
        // A two-second test picture is hard to hold to a rate; stay within reason.
        const double bitrate = video.value(QStringLiteral("bit_rate")).toString().toDouble();
        QVERIFY2(bitrate > 0 && bitrate < kbps * 1024 * 2.0, qPrintable(QString::number(bitrate)));

        const QJsonObject audio = MediaClips::stream(probed, QStringLiteral("audio"));
        if (expectedChannels == 0) {
            QVERIFY(audio.isEmpty());
        } else {
            QCOMPARE(audio.value(QStringLiteral("codec_name")).toString(), QStringLiteral("aac"));
            QCOMPARE(audio.value(QStringLiteral("profile")).toString(), QStringLiteral("LC"));
            QCOMPARE(audio.value(QStringLiteral("channels")).toInt(), expectedChannels);
            QCOMPARE(audio.value(QStringLiteral("sample_rate")).toString(), QStringLiteral("48000"));
        }
        const double duration = probed.value(QStringLiteral("format")).toObject().value(QStringLiteral("duration")).toString().toDouble();
        QVERIFY2(qAbs(duration - 2.0) < 0.25, qPrintable(QString::number(duration)));

        const QStringList boxes = MediaClips::topLevelBoxes(output);
        QVERIFY2(boxes.indexOf(QStringLiteral("moov")) >= 0
                     && boxes.indexOf(QStringLiteral("moov")) < boxes.indexOf(QStringLiteral("mdat")),
                 qPrintable(boxes.join(QLatin1Char(' '))));
        // Nothing but the result is left in the folder.
        for (const QString &entry : MediaClips::allEntries(m_dir.path()))
            QVERIFY2(!entry.startsWith(QLatin1Char('.')), qPrintable(entry));
    }

    void widePictureIsLetterboxedNotStretched()
    {
        const QString base = path(QStringLiteral("letterbox"));
        Component c;
        QCOMPARE(convert(c.converter, m_clip720, config(320, 240, 15, 384, 0), base), qint32(NoError));
        const QByteArray luma = MediaClips::firstFrameLuma(base + QStringLiteral(".mp4"));
        QCOMPARE(luma.size(), 320 * 240);
        // 16:9 in 4:3 is 320x180 with 30 rows of black above and below.
        auto rowMean = [&](int row) {
            int sum = 0;
            for (int x = 0; x < 320; ++x)
                sum += quint8(luma[row * 320 + x]);
            return sum / 320;
        };
        QVERIFY2(rowMean(5) <= 20, qPrintable(QString::number(rowMean(5))));
        QVERIFY2(rowMean(235) <= 20, qPrintable(QString::number(rowMean(235))));
        QVERIFY2(rowMean(120) > 40, qPrintable(QString::number(rowMean(120))));
    }

    void progressIsPostedToTheTarget()
    {
        ProgressRecorder recorder;
        Component c;
        QCOMPARE(convert(c.converter, m_clip720, config(320, 240, 15, 192, 2), path(QStringLiteral("progress")),
                         128000, &recorder),
                 qint32(NoError));
        QVERIFY(!recorder.events.isEmpty());
        QCOMPARE(recorder.events.first(), qMakePair(int(ComponentEvent::PassBegins), 100));
        int last = -1;
        for (int i = 1; i < recorder.events.size(); ++i) {
            QCOMPARE(recorder.events.at(i).first, int(ComponentEvent::PassPosition));
            QVERIFY(recorder.events.at(i).second >= last);
            last = recorder.events.at(i).second;
        }
        QCOMPARE(last, 100);
        quint8 passes = 0;
        QCOMPARE(c.converter->passCount(nullptr, &passes), Ok);
        QCOMPARE(passes, quint8(1));
    }

    void cancelFromAnotherThreadLeavesNothing()
    {
        QTemporaryDir out;
        MediaClips::ClipSpec spec;
        spec.width = 1280;
        spec.height = 720;
        spec.seconds = 20;
        const QString source = path(QStringLiteral("long.mp4"));
        QVERIFY(MediaClips::make(source, spec));

        // Temporaries of conversions into this folder: one whose process was
        // killed, one of a conversion still running (held locked), and files
        // of the user's that only look alike.
        writeFile(out.filePath(QStringLiteral(".old.mp4.Ab12Cd.part")), QByteArray(500000, 'k'));
        const QString live = out.filePath(QStringLiteral(".live.mp4.Xy34Zw.part"));
        writeFile(live, "live");
        const int liveFd = ::open(QFile::encodeName(live).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(liveFd >= 0);
        QCOMPARE(::flock(liveFd, LOCK_EX), 0);
        const QStringList mine{QStringLiteral(".mine.mp4.part"), QStringLiteral(".notes.Ab12Cd.part"),
                               QStringLiteral("old.mp4.Ab12Cd.part")};
        for (const QString &name : mine)
            writeFile(out.filePath(name), "mine");

        Component c;
        quint16 kind = 0;
        qint32 error = -1;
        QCOMPARE(c.converter->openFile(wide(source), &kind, &error), Ok);
        const EncoderConfig cfg = config(1280, 720, 25, 2000, 2);
        AudioRecord audio;
        QCOMPARE(c.converter->configure(&cfg, nullptr, 0, &audio, sizeof audio, &error), Ok);
        Event done;
        c.converter->setEndEvent(&done, 2);
        ProgressRecorder recorder;
        c.converter->setProgressTarget(&recorder, 0, 100);
        const QString base = out.filePath(QStringLiteral("long"));
        QCOMPARE(c.converter->start(wide(base), 11, &error), Ok);
        // Cancel once the conversion is under way, from a thread of its own.
        QTRY_VERIFY_WITH_TIMEOUT(recorder.events.size() >= 3, 60000);
        // Meanwhile its own temporary is held, and the leftover is gone.
        const QStringList writing = QDir(out.path()).entryList({QStringLiteral(".long.mp4.*.part")},
                                                               QDir::Files | QDir::Hidden);
        QCOMPARE(writing.size(), 1);
        QVERIFY(lockedByOthers(out.filePath(writing.first())));
        QVERIFY(!QFileInfo::exists(out.filePath(QStringLiteral(".old.mp4.Ab12Cd.part"))));
        QThread *canceller = QThread::create([&] { c.converter->cancel(); });
        canceller->start();
        QVERIFY(done.semaphore.tryAcquire(1, 60000));
        canceller->wait();
        delete canceller;
        QVERIFY(c.converter->finalResult(&error) < 0);
        QCOMPARE(error, qint32(Cancelled));
        ::close(liveFd);
        QStringList kept = mine + QStringList(QStringLiteral(".live.mp4.Xy34Zw.part"));
        kept.sort();
        QStringList left = MediaClips::allEntries(out.path());
        left.sort();
        QCOMPARE(left, kept);
    }

    void cancelHoldsWheneverItComes_data()
    {
        QTest::addColumn<QString>("moment");
        QTest::addRow("before the file is open") << QStringLiteral("open");
        QTest::addRow("before the encoders are set up") << QStringLiteral("configure");
        QTest::addRow("before the start") << QStringLiteral("start");
        QTest::addRow("just after the start") << QStringLiteral("started");
    }
    void cancelHoldsWheneverItComes()
    {
        QFETCH(QString, moment);
        QTemporaryDir out;
        Component c;
        quint16 kind = 0;
        qint32 error = -1;
        auto cancelAt = [&](const char *here) {
            if (moment == QLatin1String(here))
                QCOMPARE(c.converter->cancel(), Ok);
        };
        cancelAt("open");
        const qint32 opened = c.converter->openFile(wide(m_clip720), &kind, &error);
        cancelAt("configure");
        const EncoderConfig cfg = config(320, 240, 15, 192, 2);
        AudioRecord audio;
        c.converter->configure(&cfg, nullptr, 0, &audio, sizeof audio, &error);
        cancelAt("start");
        Event done;
        c.converter->setEndEvent(&done, 2);
        error = -1;
        const qint32 started = c.converter->start(wide(out.filePath(QStringLiteral("held"))), 11, &error);
        cancelAt("started");
        if (moment == QLatin1String("open")) {
            QVERIFY(opened < 0);
        }
        if (moment == QLatin1String("started")) {
            QCOMPARE(started, Ok);
            QVERIFY(done.semaphore.tryAcquire(1, 60000));
            QVERIFY(c.converter->finalResult(&error) < 0);
        } else {
            QVERIFY(started < 0);
        }
        QCOMPARE(error, qint32(Cancelled));
        // The cancel holds for the instance's life: nothing later runs.
        QVERIFY(c.converter->openFile(wide(m_clip720), &kind, &error) < 0);
        QCOMPARE(error, qint32(Cancelled));
        QCOMPARE(MediaClips::allEntries(out.path()), QStringList());
    }

    void blockingSourceGivesWayToCancel_data()
    {
        QTest::addColumn<bool>("withWriter");
        QTest::addRow("no writer yet") << false;
        QTest::addRow("a writer that stalls") << true;
    }
    void blockingSourceGivesWayToCancel()
    {
        QFETCH(bool, withWriter);
        MediaClips::StalledFifo fifo(path(QStringLiteral("stream-%1.mp4").arg(withWriter)));
        QVERIFY(fifo.made());
        Component c;
        std::atomic<qint32> result{1};
        std::atomic<qint32> error{-1};
        std::unique_ptr<QThread> opener(QThread::create([&] {
            quint16 kind = 0;
            qint32 number = -1;
            result = c.converter->openFile(wide(fifo.path()), &kind, &number);
            error = number;
        }));
        opener->start();
        if (withWriter) {
            // The converter holds the FIFO, has read what it was given and
            // waits for more.
            QTRY_VERIFY_WITH_TIMEOUT(fifo.openWriter(), 30000);
            QFile header(m_clip720);
            QVERIFY(header.open(QIODevice::ReadOnly));
            QVERIFY(fifo.feed(header.read(64)));
            QTRY_COMPARE_WITH_TIMEOUT(fifo.unread(), 0, 30000);
        }
        QVERIFY(!opener->isFinished());
        QCOMPARE(c.converter->cancel(), Ok);
        QTRY_VERIFY_WITH_TIMEOUT(opener->isFinished(), 30000);
        QVERIFY(result.load() < 0);
        QCOMPARE(error.load(), qint32(Cancelled));
    }

    void sourceCutShortFails_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("options");
        QTest::addRow("avi") << QStringLiteral("short.avi") << QStringList();
        QTest::addRow("mp4, index in front")
            << QStringLiteral("short.mp4") << QStringList{QStringLiteral("-movflags"), QStringLiteral("+faststart")};
    }
    void sourceCutShortFails()
    {
        // A file whose header states ten seconds but that holds one must not
        // become a one-second video that looks complete.
        QFETCH(QString, name);
        QFETCH(QStringList, options);
        MediaClips::ClipSpec spec;
        spec.seconds = 10;
        spec.audioCodec = name.endsWith(QLatin1String(".avi")) ? QStringLiteral("pcm_s16le") : QStringLiteral("aac");
        spec.outputOptions = options;
        const QString whole = path(name);
        QVERIFY(MediaClips::make(whole, spec));
        const QString cut = path(QStringLiteral("cut-") + name);
        QVERIFY(MediaClips::cutShort(whole, cut, 0.1));
        QTemporaryDir out;
        Component c;
        quint16 kind = 0;
        qint32 error = -1;
        QCOMPARE(c.converter->openFile(wide(cut), &kind, &error), Ok);
        QCOMPARE(convert(c.converter, cut, config(320, 240, 15, 192, 2), out.filePath(QStringLiteral("cut"))),
                 qint32(TruncatedSource));
        QCOMPARE(MediaClips::allEntries(out.path()), QStringList());
        // The whole file converts.
        Component again;
        QCOMPARE(convert(again.converter, whole, config(320, 240, 15, 192, 2), out.filePath(QStringLiteral("whole"))),
                 qint32(NoError));
    }

    void lowerFrameRateKeepsEveryOtherFrame()
    {
        // Every source frame has a brightness of its own, so the output shows
        // which frames were kept.
        const QString source = path(QStringLiteral("levels.mp4"));
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"),
                     {QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                      QStringLiteral("-y"), QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                      QStringLiteral("color=c=black:s=64x48:r=30:d=20,format=yuv420p,"
                                     "geq=lum='20+4*mod(N,50)':cb=128:cr=128"),
                      QStringLiteral("-c:v"), QStringLiteral("mpeg4"), QStringLiteral("-q:v"), QStringLiteral("1"),
                      QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"), source});
        QVERIFY(ffmpeg.waitForFinished(120000) && ffmpeg.exitCode() == 0);
        QTemporaryDir out;
        Component c;
        const QString base = out.filePath(QStringLiteral("half"));
        QCOMPARE(convert(c.converter, source, config(64, 48, 15, 384, 0), base), qint32(NoError));

        const QList<double> in = frameBrightness(source);
        const QList<double> kept = frameBrightness(base + QStringLiteral(".mp4"));
        QCOMPARE(in.size(), 600);
        // Twenty seconds at 15 frames a second, not one more.
        QCOMPARE(kept.size(), 300);
        for (int n = 0; n < kept.size(); ++n) {
            const double wanted = std::abs(kept.at(n) - in.at(2 * n));
            QVERIFY2(wanted < 1.5, qPrintable(QStringLiteral("frame %1: %2, source frame %3: %4")
                                                  .arg(n).arg(kept.at(n)).arg(2 * n).arg(in.at(2 * n))));
        }
    }

    void existingTargetIsNeverReplaced()
    {
        const QString base = path(QStringLiteral("taken"));
        QFile existing(base + QStringLiteral(".mp4"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("keep me");
        existing.close();
        Component c;
        QCOMPARE(convert(c.converter, m_clip720, config(320, 240, 15, 192, 2), base), qint32(TargetProtected));
        QVERIFY(existing.open(QIODevice::ReadOnly));
        QCOMPARE(existing.readAll(), QByteArray("keep me"));
    }

    void missingOutputFolderFails()
    {
        Component c;
        QCOMPARE(convert(c.converter, m_clip720, config(320, 240, 15, 192, 2),
                         path(QStringLiteral("no/such/folder/out"))),
                 qint32(TargetProtected));
    }

    void badConfigurationIsRefused_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<double>("rate");
        QTest::addColumn<int>("kbps");
        QTest::addRow("zero size") << 0 << 0 << 15.0 << 192;
        QTest::addRow("zero rate") << 320 << 240 << 0.0 << 192;
        QTest::addRow("zero bit rate") << 320 << 240 << 15.0 << 0;
        QTest::addRow("absurd size") << 100000 << 240 << 15.0 << 192;
    }
    void badConfigurationIsRefused()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(double, rate);
        QFETCH(int, kbps);
        Component c;
        quint16 kind = 0;
        qint32 error = -1;
        QCOMPARE(c.converter->openFile(wide(m_clip720), &kind, &error), Ok);
        const EncoderConfig cfg = config(width, height, rate, kbps, 2);
        QVERIFY(c.converter->configure(&cfg, nullptr, 0, nullptr, 0, &error) < 0);
        QCOMPARE(error, qint32(InternalError));
        QVERIFY(c.converter->start(wide(path(QStringLiteral("never"))), 11, &error) < 0);
        QVERIFY(!QFile::exists(path(QStringLiteral("never.mp4"))));
    }
};

QTEST_GUILESS_MAIN(TestConverterComponent)
#include "tst_convertercomponent.moc"
