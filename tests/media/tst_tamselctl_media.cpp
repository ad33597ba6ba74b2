#include "mediaclips.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

// tamselctl's probe and convert, run as a user runs them.
class TestTamselctlMedia : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_clip;

    static QString tool() { return qEnvironmentVariable("TAMSEL_BIN_DIR") + QStringLiteral("/tamselctl"); }

    static int run(const QStringList &args, QByteArray *out = nullptr, QByteArray *err = nullptr)
    {
        QProcess p;
        p.start(tool(), args);
        if (!p.waitForFinished(120000))
            return -1;
        if (out)
            *out = p.readAllStandardOutput();
        if (err)
            *err = p.readAllStandardError();
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_clip = m_dir.filePath(QStringLiteral("holiday clip.avi"));
        MediaClips::ClipSpec spec;
        spec.width = 640;
        spec.height = 360;
        spec.rate = 30;
        spec.seconds = 3;
        spec.audioCodec = QStringLiteral("pcm_s16le");
        QVERIFY(MediaClips::make(m_clip, spec));
    }

    void probe()
    {
        QByteArray out;
        QByteArray err;
        const QString missing = m_dir.filePath(QStringLiteral("missing.mp4"));
        QCOMPARE(run({QStringLiteral("probe"), m_clip, missing}, &out, &err), 1);
        const QList<QByteArray> lines = out.trimmed().split('\n');
        QCOMPARE(lines.size(), 1);
        const QList<QByteArray> fields = lines.first().split('\t');
        QCOMPARE(fields.value(0), m_clip.toLocal8Bit());
        QCOMPARE(fields.value(1), QByteArray("3 s"));
        QCOMPARE(fields.value(3), QByteArray("640x360"));
        QCOMPARE(fields.value(4), QByteArray("30 fps"));
        QCOMPARE(fields.value(5), QByteArray("44100 Hz 2 ch"));
        QVERIFY2(err.contains("missing.mp4' cannot be open"), err.constData());
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addRow("probe without files") << QStringList{QStringLiteral("probe")};
        QTest::addRow("convert without a file") << QStringList{QStringLiteral("convert")};
        QTest::addRow("unknown quality") << QStringList{QStringLiteral("convert"), QStringLiteral("a.avi"),
                                                        QStringLiteral("--quality"), QStringLiteral("ultra")};
        QTest::addRow("malformed caps") << QStringList{QStringLiteral("convert"), QStringLiteral("a.avi"),
                                                       QStringLiteral("--caps"), QStringLiteral("320x240")};
    }
    void usageErrors()
    {
        QFETCH(QStringList, args);
        QCOMPARE(run(args), 2);
    }

    void convert()
    {
        QTemporaryDir out;
        QByteArray printed;
        QByteArray err;
        QCOMPARE(run({QStringLiteral("convert"), m_clip, QStringLiteral("--quality"), QStringLiteral("low"),
                      QStringLiteral("--out"), out.path()},
                     &printed, &err),
                 0);
        const QString output = out.filePath(QStringLiteral("holiday clip.mp4"));
        QCOMPARE(printed.trimmed(), output.toLocal8Bit());
        QVERIFY(err.contains("converting: 100 %"));
        // Low keeps within 176x144 at 128 kbit/s without a phone's own limits.
        const QJsonObject video = MediaClips::stream(MediaClips::probe(output), QStringLiteral("video"));
        QCOMPARE(video.value(QStringLiteral("width")).toInt(), 176);
        QCOMPARE(video.value(QStringLiteral("height")).toInt(), 144);
    }

    void interruptCancelsAndLeavesNothing()
    {
        MediaClips::ClipSpec spec;
        spec.width = 1280;
        spec.height = 720;
        spec.seconds = 30;
        const QString longClip = m_dir.filePath(QStringLiteral("long.mp4"));
        QVERIFY(MediaClips::make(longClip, spec));
        QTemporaryDir out;
        QProcess p;
        p.start(tool(), {QStringLiteral("convert"), longClip, QStringLiteral("--caps"), QStringLiteral("1280x720@4000"),
                         QStringLiteral("--quality"), QStringLiteral("high"), QStringLiteral("--out"), out.path()});
        QVERIFY(p.waitForStarted());
        // Interrupt once the conversion reports progress.
        QByteArray err;
        QTRY_VERIFY_WITH_TIMEOUT((err += p.readAllStandardError()).contains("converting: 2 %"), 60000);
        ::kill(pid_t(p.processId()), SIGINT);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 1);
        err += p.readAllStandardError();
        QVERIFY2(err.contains("conversion cancelled"), err.constData());
        QCOMPARE(MediaClips::allEntries(out.path()), QStringList());
    }

    void interruptEndsAConversionOfAFifo_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addRow("SIGINT") << int(SIGINT);
        QTest::addRow("SIGTERM") << int(SIGTERM);
    }
    void interruptEndsAConversionOfAFifo()
    {
        // Opening a FIFO blocks until something writes to it; nothing will.
        QFETCH(int, signal);
        MediaClips::StalledFifo fifo(m_dir.filePath(QStringLiteral("stream.mp4")));
        QVERIFY(fifo.made());
        QTemporaryDir out;
        QProcess p;
        p.start(tool(), {QStringLiteral("convert"), fifo.path(), QStringLiteral("--out"), out.path()});
        QVERIFY(p.waitForStarted());
        // Once the converter holds the FIFO, it waits in it.
        QTRY_VERIFY_WITH_TIMEOUT(fifo.openWriter(), 60000);
        ::kill(pid_t(p.processId()), signal);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 1);
        const QByteArray err = p.readAllStandardError();
        QVERIFY2(err.contains("conversion cancelled"), err.constData());
        QCOMPARE(MediaClips::allEntries(out.path()), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestTamselctlMedia)
#include "tst_tamselctl_media.moc"
