#include "folderphones.h"
#include "downloadtestsupport.h"
#include "httptestserver.h"
#include "settingsstore.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <unistd.h>

using TestSupport::HttpResponse;
using TestSupport::HttpTestServer;

namespace {
constexpr int kTimeout = 60000;
}

// tamselctl download as a user runs it, against a real server.
class TestTamselctlDownload : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QByteArray m_clip;

    static QString tool() { return qEnvironmentVariable("TAMSEL_BIN_DIR") + QStringLiteral("/tamselctl"); }
    QString collection() const { return m_dir.filePath(QStringLiteral("collection")); }
    static QString privateFolder()
    {
        return QDir::tempPath() + QStringLiteral("/tamsel-downloads-") + QString::number(::geteuid());
    }
    static QString cache()
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
            + QStringLiteral("/Orvak/Orvak Tamsel/MyCollectionCache.xml");
    }

    // Runs the tool while this thread keeps serving.
    static bool run(QProcess &p, const QStringList &args)
    {
        p.start(tool(), args);
        return p.waitForStarted() && QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, kTimeout);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_clip = TestSupport::prepareClipDownloads(m_dir.filePath(QStringLiteral("clip.mp4")));
        QVERIFY(!m_clip.isEmpty());
    }

    void init()
    {
        TestSupport::freshCollection(collection());
    }

    void cleanup() { QVERIFY(QDir(privateFolder()).isEmpty()); }

    void downloadsIntoMyCollection()
    {
        HttpTestServer server;
        server.route("/clip.mp4", HttpResponse::withBody(m_clip));
        QProcess p;
        QVERIFY(run(p, {QStringLiteral("download"), server.link(QStringLiteral("/clip.mp4?id=1&itemTitle=My%20clip"))}));
        const QByteArray errors = p.readAllStandardError();
        QCOMPARE(p.exitCode(), 0);
        const QString target = collection() + QStringLiteral("/My%20clip.mp4");
        QCOMPARE(p.readAllStandardOutput(), target.toLocal8Bit() + '\n');
        QVERIFY2(errors.contains("Downloading My%20clip"), errors.constData());
        QCOMPARE(QFileInfo(target).size(), qint64(m_clip.size()));
        QFile file(cache());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray entry = "playback_sec=\"2\">" + target.toUtf8() + "</File>";
        QVERIFY(file.readAll().contains(entry));
        QCOMPARE(server.count("GET", "/clip.mp4"), 1);
        QVERIFY(server.requests().last().path.endsWith("?id=1&client=TSL&clientVersion=1.5"));
    }

    void failureExitsWithBothTexts()
    {
        HttpTestServer server;
        QProcess p;
        QVERIFY(run(p, {QStringLiteral("download"), server.link(QStringLiteral("/gone?id=1&itemTitle=gone"))}));
        QCOMPARE(p.exitCode(), 1);
        QCOMPARE(p.readAllStandardOutput(), QByteArray());
        const QByteArray errors = p.readAllStandardError();
        QVERIFY(errors.contains("The file does not exist on the requested server."));
        QVERIFY(errors.contains("Download failed, HTTP status: 404"));
        QVERIFY(QDir(collection()).isEmpty());
    }

    void interruptLeavesNoFile()
    {
        HttpTestServer server;
        HttpResponse r = HttpResponse::generated(16 << 20);
        r.pauseAfter = 1 << 20;
        server.route("/v", r);
        QProcess p;
        p.start(tool(), {QStringLiteral("download"), server.link(QStringLiteral("/v?id=1&itemTitle=clip"))});
        QVERIFY(p.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(server.waiting(), 1, kTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(!QDir(privateFolder()).isEmpty(), kTimeout);
        ::kill(pid_t(p.processId()), SIGINT);
        QVERIFY(QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, kTimeout));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(p.readAllStandardError().contains("nothing was kept"));
        QVERIFY(QDir(collection()).isEmpty());
    }

    void nextStartRemovesWhatAKilledRunLeft()
    {
        HttpTestServer server;
        // A download in use while the next run starts: it is kept.
        server.route("/held", HttpResponse::held());
        QProcess running;
        running.start(tool(), {QStringLiteral("download"), server.link(QStringLiteral("/held?id=2&itemTitle=held"))});
        QVERIFY(running.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(server.count("HEAD", "/held"), 1, kTimeout);

        // A download whose program dies: its partial file stays behind.
        HttpResponse r = HttpResponse::generated(16 << 20);
        r.pauseAfter = 1 << 20;
        server.route("/v", r);
        QProcess killed;
        killed.start(tool(), {QStringLiteral("download"), server.link(QStringLiteral("/v?id=1&itemTitle=clip"))});
        QVERIFY(killed.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(server.count("GET", "/v"), 1, kTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(server.waiting(), 2, kTimeout);
        ::kill(pid_t(killed.processId()), SIGKILL);
        QVERIFY(QTest::qWaitFor([&] { return killed.state() == QProcess::NotRunning; }, kTimeout));
        QCOMPARE(QDir(privateFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 2);

        QProcess next;
        QVERIFY(run(next, {QStringLiteral("download"), server.link(QStringLiteral("/gone?itemTitle=x"))}));
        QCOMPARE(next.exitCode(), 1);
        QCOMPARE(QDir(privateFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
        server.release("/held");
        QVERIFY(QTest::qWaitFor([&] { return running.state() == QProcess::NotRunning; }, kTimeout));
        QCOMPARE(running.exitCode(), 0);
    }

    void toThePhone()
    {
        TestSupport::FolderPhones phones;
        phones.addPhone(QStringLiteral("p"), QStringLiteral("356000000000099"), QStringLiteral("Pocket"),
                        QStringLiteral("16"),
                        {{QStringLiteral("Phone memory"), 256LL << 20}, {QStringLiteral("Memory card"), 1LL << 30}});
        HttpTestServer server;
        server.route("/clip.mp4", HttpResponse::withBody(m_clip));
        QProcess p;
        QVERIFY(run(p, {QStringLiteral("download"), server.link(QStringLiteral("/clip.mp4?id=1&itemTitle=clip")),
                        QStringLiteral("--to-phone"), QStringLiteral("356000000000099")}));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        QCOMPARE(QFileInfo(phones.memoryFolder(QStringLiteral("p"), 1) + QStringLiteral("/Videos/clip.mp4")).size(),
                 qint64(m_clip.size()));
        QVERIFY(QFile::exists(collection() + QStringLiteral("/clip.mp4")));

        QVERIFY(run(p, {QStringLiteral("download"), server.link(QStringLiteral("/clip.mp4?itemTitle=x")),
                        QStringLiteral("--to-phone"), QStringLiteral("000")}));
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(p.readAllStandardError().contains("no phone with the serial number 000"));
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addRow("nothing") << QStringList{QStringLiteral("download")};
        QTest::addRow("not a tmk link") << QStringList{QStringLiteral("download"), QStringLiteral("http://host/v")};
        QTest::addRow("two links") << QStringList{QStringLiteral("download"), QStringLiteral("tmk://a/v"),
                                                  QStringLiteral("tmk://b/v")};
        QTest::addRow("phone without serial") << QStringList{QStringLiteral("download"), QStringLiteral("tmk://a/v"),
                                                             QStringLiteral("--to-phone")};
    }
    void usage()
    {
        QFETCH(QStringList, args);
        QProcess p;
        QVERIFY(run(p, args));
        QCOMPARE(p.exitCode(), 2);
    }
};

QTEST_GUILESS_MAIN(TestTamselctlDownload)
#include "tst_tamselctl_download.moc"
