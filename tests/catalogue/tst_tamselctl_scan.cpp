#include "mediaclips.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

// tamselctl scan as a user runs it.
class TestTamselctlScan : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    static QString tool() { return qEnvironmentVariable("TAMSEL_BIN_DIR") + QStringLiteral("/tamselctl"); }
    static QString appSettings()
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
            + QStringLiteral("/Orvak/Orvak Tamsel/AppSettings.xml");
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString clip = m_dir.filePath(QStringLiteral("clip.mp4"));
        QVERIFY(MediaClips::make(clip));
        QDir().mkpath(m_dir.filePath(QStringLiteral("videos/sub")));
        for (int i = 0; i < 200; ++i)
            QVERIFY(QFile::copy(clip, m_dir.filePath(QStringLiteral("videos/sub/v%1.mp4").arg(i))));
        QVERIFY(QFile::rename(clip, m_dir.filePath(QStringLiteral("videos/top.mp4"))));
    }

    void init() { QFile::remove(appSettings()); }

    void scanListsEveryVideo()
    {
        QProcess p;
        p.start(tool(), {QStringLiteral("scan"), m_dir.filePath(QStringLiteral("videos"))});
        QVERIFY(p.waitForFinished(120000));
        QCOMPARE(p.exitCode(), 0);
        const QList<QByteArray> lines = p.readAllStandardOutput().trimmed().split('\n');
        QCOMPARE(lines.size(), 201);
        QCOMPARE(lines.first(), m_dir.filePath(QStringLiteral("videos/top.mp4")).toLocal8Bit() + "\t2");
        QVERIFY(QFile::exists(appSettings()));
    }

    void interruptStopsWithoutSaving()
    {
        QProcess p;
        p.start(tool(), {QStringLiteral("scan"), m_dir.filePath(QStringLiteral("videos"))});
        QByteArray out;
        QTRY_VERIFY_WITH_TIMEOUT((out += p.readAllStandardOutput()).contains('\n'), 60000);
        ::kill(pid_t(p.processId()), SIGINT);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(p.readAllStandardError().contains("scan stopped"));
        QVERIFY(!QFile::exists(appSettings()));
    }

    void usage()
    {
        QProcess p;
        p.start(tool(), {QStringLiteral("scan")});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 2);
        p.start(tool(), {QStringLiteral("scan"), m_dir.filePath(QStringLiteral("nowhere"))});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 1);
    }
};

QTEST_GUILESS_MAIN(TestTamselctlScan)
#include "tst_tamselctl_scan.moc"
