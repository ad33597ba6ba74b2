#include "catalogue.h"
#include "downloadfolder.h"
#include "downloaditem.h"
#include "downloadmanager.h"
#include "downloadstates.h"
#include "downloadtestsupport.h"
#include "httptestserver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTest>

#include <functional>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace DownloadState;
using TestSupport::HttpResponse;
using TestSupport::HttpTestServer;

namespace {

constexpr int kTimeout = 30000;

struct Report
{
    QString title;
    QString technical;
    QString friendly;
};

// What the main window and the Downloads view hear from the manager.
class Listener
{
public:
    explicit Listener(CDownloadManager &manager)
    {
        manager.setViewReceiver(&m_context, [this](FileItem *item, bool final) { rows.append({item, final}); });
        manager.setErrorReceiver(&m_context, [this](const QString &title, const QString &technical,
                                                    const QString &friendly) {
            reports.append({title, technical, friendly});
        });
    }
    int rowsFor(const FileItem *item) const
    {
        return int(std::count_if(rows.begin(), rows.end(), [item](const auto &row) { return row.first == item; }));
    }

    QList<QPair<FileItem *, bool>> rows;
    QList<Report> reports;

private:
    QObject m_context;
};

QStringList leftInPrivateFolder()
{
    QStringList found;
    const QString folder = DownloadFolder::privateFolder();
    for (const QFileInfo &sub : QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        found << sub.fileName() + QLatin1Char(':') + QDir(sub.filePath()).entryList(QDir::Files).join(QLatin1Char(','));
    return found;
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// count downloads of "/v1", "/v2", ... named "clip1", "clip2", ..., each
// path answering with response(i).
QList<CDownloadItem *> addNumbered(CDownloadManager &manager, HttpTestServer &server, int count,
                                   const std::function<HttpResponse(int)> &response)
{
    QList<CDownloadItem *> downloads;
    for (int i = 1; i <= count; ++i) {
        server.route("/v" + QByteArray::number(i), response(i));
        downloads << manager.add(server.link(QStringLiteral("/v%1?id=%1&itemTitle=clip%1").arg(i)));
    }
    return downloads;
}

quint16 unusedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

// Downloads against a real HTTP server on 127.0.0.1.
class TestDownloads : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        TestSupport::withoutProxies();
    }

    void cleanup()
    {
        Catalogue::instance().downloads.clear();
        QVERIFY2(leftInPrivateFolder().isEmpty(), qPrintable(leftInPrivateFolder().join(QLatin1Char(' '))));
    }

    void privateFolderIsTheUsersOwn()
    {
        const QString folder = DownloadFolder::privateFolder();
        QVERIFY(!folder.isEmpty());
        QVERIFY(folder.startsWith(QDir::tempPath()));
        struct stat info = {};
        QCOMPARE(::lstat(QFile::encodeName(folder).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0700u);
        QCOMPARE(info.st_uid, ::geteuid());
    }

    void foreignPrivateFolderIsRefused()
    {
        if (::geteuid() != 0)
            QSKIP("handing the folder to another user needs root");
        const QString folder = DownloadFolder::privateFolder();
        const QByteArray native = QFile::encodeName(folder);
        QCOMPARE(::chown(native.constData(), 4242, 4242), 0);
        QString error;
        QVERIFY(DownloadFolder::privateFolder(&error).isEmpty());
        QVERIFY(error.contains(QLatin1String("someone else")));

        HttpTestServer server;
        server.route("/v", HttpResponse::withBody("data"));
        {
            CDownloadManager manager;
            Listener listener(manager);
            CDownloadItem *download = manager.add(server.link(QStringLiteral("/v?id=1&itemTitle=clip")));
            QTRY_COMPARE_WITH_TIMEOUT(download->state(), int(Failed), kTimeout);
            QCOMPARE(listener.reports.value(0).friendly,
                     QStringLiteral("The file cannot be downloaded. Please, try again."));
            QCOMPARE(server.requests().size(), 0);
        }
        QCOMPARE(::chown(native.constData(), ::geteuid(), ::getegid()), 0);
        // Nothing was written into the folder while it was someone else's.
        QVERIFY(QDir(folder).isEmpty());
    }

    void fourLinksThreeRunAtOnce()
    {
        HttpTestServer server;
        CDownloadManager manager;
        Listener listener(manager);
        const QList<CDownloadItem *> downloads = addNumbered(manager, server, 4, [](int i) {
            return HttpResponse::held("video " + QByteArray::number(i));
        });
        QTRY_COMPARE_WITH_TIMEOUT(server.waiting(), 3, kTimeout);
        QCOMPARE(manager.running(), 3);
        QCOMPARE(downloads.at(3)->state(), int(Queued));
        QVERIFY(downloads.at(3)->item()->rowText(3).endsWith(QLatin1String("|Pending...")));
        QCOMPARE(server.count("HEAD", "/v4"), 0);
        QVERIFY(!manager.allFinished());

        server.release("/v1");
        QTRY_COMPARE_WITH_TIMEOUT(downloads.at(0)->state(), int(Completed), kTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(server.count("HEAD", "/v4"), 1, kTimeout);
        QCOMPARE(downloads.at(3)->state(), int(Downloading));

        for (const QByteArray path : {"/v2", "/v3", "/v4"})
            server.release(path);
        QTRY_VERIFY_WITH_TIMEOUT(manager.allFinished(), kTimeout);
        for (int i = 0; i < 4; ++i) {
            FileItem *item = downloads.at(i)->item();
            QCOMPARE(downloads.at(i)->state(), int(Completed));
            QCOMPARE(QFileInfo(item->pc.path).fileName(), QStringLiteral("clip%1.mp4").arg(i + 1));
            QCOMPARE(contentOf(item->pc.path), "video " + QByteArray::number(i + 1));
            QCOMPARE(item->pc.suffix, QStringLiteral("mp4"));
            QVERIFY(item->rowText(3).endsWith(QLatin1String("|Completed.")));
            QVERIFY(!item->hasFailed(true));
            QVERIFY(listener.rows.contains({item, true}));
        }
        QVERIFY(listener.reports.isEmpty());
        QVERIFY(manager.downloads().isEmpty());
        // Completed files wait in their folders for the finishing step.
        for (CDownloadItem *download : std::as_const(downloads))
            download->releaseFolder();
    }

    void failures_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("friendly");
        QTest::addColumn<QString>("technical");
        QTest::addRow("404 on the GET") << QStringLiteral("/missing?id=1&itemTitle=gone")
                                        << QStringLiteral("The file does not exist on the requested server.")
                                        << QStringLiteral("Download failed, HTTP status: 404");
        QTest::addRow("connection lost mid-body")
            << QStringLiteral("/cut?id=1&itemTitle=cut")
            << QStringLiteral("The network connection is lost. Please, try to download the file again when the "
                              "connection is available.")
            << QStringLiteral("Download failed, QT error: ");
        QTest::addRow("connection refused")
            << QStringLiteral("tmk://127.0.0.1:%1/v?id=1&itemTitle=refused").arg(unusedPort())
            << QStringLiteral("The file cannot be downloaded. Please, try again.")
            << QStringLiteral("Download failed, QT error: ");
        QTest::addRow("no port") << QStringLiteral("tmk://127.0.0.1:0/v?id=1&itemTitle=noport")
                                 << QStringLiteral("The file cannot be downloaded. Please, try again.")
                                 << QStringLiteral("Download failed: the link names no host or port");
    }
    void failures()
    {
        QFETCH(QString, link);
        QFETCH(QString, friendly);
        QFETCH(QString, technical);
        HttpTestServer server;
        HttpResponse cut = HttpResponse::generated(4 << 20);
        cut.closeAfter = 1 << 20;
        server.route("/cut", cut);
        CDownloadManager manager;
        Listener listener(manager);
        CDownloadItem *download = manager.add(link.startsWith(QLatin1String("tmk:")) ? link : server.link(link));
        FileItem *item = download->item();
        QTRY_COMPARE_WITH_TIMEOUT(download->state(), int(Failed), kTimeout);
        QCOMPARE(listener.reports.size(), 1);
        QCOMPARE(listener.reports.first().title, QStringLiteral("Download Error"));
        QCOMPARE(listener.reports.first().friendly, friendly);
        QVERIFY2(listener.reports.first().technical.startsWith(technical),
                 qPrintable(listener.reports.first().technical));
        QVERIFY(item->hasFailed(true));
        QVERIFY(item->rowText(3).endsWith(QLatin1String("|Failed")));
        QVERIFY(listener.rows.contains({item, true}));
        QVERIFY(!QFile::exists(item->pc.path));
        QVERIFY(manager.allFinished());
    }

    void fullDiskFailsAndLeavesNoFile()
    {
        // A file-size limit stands in for a full disk: writes past it fail.
        struct rlimit old = {};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = old;
        limit.rlim_cur = 1 << 20;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);

        HttpTestServer server;
        server.route("/v", HttpResponse::generated(4 << 20));
        CDownloadManager manager;
        Listener listener(manager);
        CDownloadItem *download = manager.add(server.link(QStringLiteral("/v?id=1&itemTitle=big")));
        const QString partial = download->item()->pc.path;
        const bool ended = QTest::qWaitFor([&] { return isFinal(download->state()); }, kTimeout);
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);
        QVERIFY(ended);
        QCOMPARE(download->state(), int(Failed));
        QCOMPARE(listener.reports.value(0).friendly, QStringLiteral("The file cannot be downloaded. Please, try again."));
        QVERIFY(listener.reports.value(0).technical.startsWith(QLatin1String("Download failed, file error: ")));
        QVERIFY(!QFile::exists(partial));
    }

    void contentTypes_data()
    {
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<QString>("suffix");
        QTest::addRow("3gpp in capitals") << QByteArray("VIDEO/3GPP") << QStringLiteral("3gp");
        QTest::addRow("wmv") << QByteArray("video/x-ms-wmv") << QStringLiteral("wmv");
        QTest::addRow("other") << QByteArray("application/octet-stream") << QStringLiteral("mp4");
        QTest::addRow("none") << QByteArray() << QStringLiteral("mp4");
    }
    void contentTypes()
    {
        QFETCH(QByteArray, type);
        QFETCH(QString, suffix);
        HttpTestServer server;
        HttpResponse r = HttpResponse::generated(3 << 20);
        r.contentType = type;
        server.route("/v", r);
        CDownloadManager manager;
        CDownloadItem *download = manager.add(server.link(QStringLiteral("/v?id=1&itemTitle=My%20clip")));
        QTRY_COMPARE_WITH_TIMEOUT(download->state(), int(Completed), kTimeout);
        const FileItem *item = download->item();
        QCOMPARE(item->pc.suffix, suffix);
        QCOMPARE(QFileInfo(item->pc.path).fileName(), QStringLiteral("My%20clip.") + suffix);
        QCOMPARE(item->pc.name, QStringLiteral("My%20clip"));
        QCOMPARE(QFileInfo(item->pc.path).size(), qint64(3 << 20));
        download->releaseFolder();
    }

    void redirects_data()
    {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<int>("redirects");
        QTest::addColumn<bool>("completes");
        QTest::addRow("absolute") << QByteArray("/absolute") << 1 << true;
        QTest::addRow("relative") << QByteArray("/dir/relative") << 1 << true;
        QTest::addRow("chain of three") << QByteArray("/r1") << 3 << true;
        QTest::addRow("another port") << QByteArray("/elsewhere") << 1 << true;
        QTest::addRow("loop") << QByteArray("/loop") << 10 << false;
    }
    void redirects()
    {
        QFETCH(QByteArray, start);
        QFETCH(int, redirects);
        QFETCH(bool, completes);
        HttpTestServer server;
        HttpTestServer other;
        const QByteArray here = "http://" + server.base();
        server.route("/final", HttpResponse::withBody("the video"));
        server.route("/dir/final", HttpResponse::withBody("the video"));
        other.route("/final", HttpResponse::withBody("the video"));
        server.route("/absolute", HttpResponse::redirect(here + "/final"));
        server.route("/dir/relative", HttpResponse::redirect("final?x=1", 301));
        server.route("/r1", HttpResponse::redirect(here + "/r2"));
        server.route("/r2", HttpResponse::redirect("/r3", 307));
        server.route("/r3", HttpResponse::redirect("final"));
        server.route("/elsewhere", HttpResponse::redirect("http://" + other.base() + "/final"));
        server.route("/loop", HttpResponse::redirect("/loop"));

        CDownloadManager manager;
        Listener listener(manager);
        CDownloadItem *download =
            manager.add(server.link(QString::fromLatin1(start) + QStringLiteral("?id=1&itemTitle=clip")));
        QTRY_VERIFY_WITH_TIMEOUT(isFinal(download->state()), kTimeout);
        if (completes) {
            QCOMPARE(download->state(), int(Completed));
            QCOMPARE(contentOf(download->item()->pc.path), QByteArray("the video"));
            QCOMPARE(server.count("GET", "/final") + server.count("GET", "/dir/final") + other.count("GET", "/final"), 1);
            download->releaseFolder();
        } else {
            QCOMPARE(download->state(), int(Failed));
            // The first request and ten redirects, then the generic failure.
            QCOMPARE(server.count("HEAD", "/loop"), redirects + 1);
            QCOMPARE(listener.reports.value(0).friendly,
                     QStringLiteral("The file cannot be downloaded. Please, try again."));
        }
        QCOMPARE(server.count("GET", start), 0);
    }

    void redirectToHttpsUsesTlsOnItsPort()
    {
        HttpTestServer server;
        HttpTestServer tls;
        server.route("/v", HttpResponse::redirect("https://" + tls.base() + "/final"));
        CDownloadManager manager;
        Listener listener(manager);
        CDownloadItem *download = manager.add(server.link(QStringLiteral("/v?id=1&itemTitle=clip")));
        QTRY_COMPARE_WITH_TIMEOUT(download->state(), int(Failed), kTimeout);
        QVERIFY(tls.tlsAttempts() >= 1);
        QCOMPARE(tls.requests().size(), 0);
        QCOMPARE(download->url().scheme(), QStringLiteral("https"));
        QCOMPARE(download->url().port(), int(tls.port()));
    }

    void progress_data()
    {
        QTest::addColumn<bool>("withLength");
        QTest::addColumn<QString>("rowEnd");
        QTest::addRow("with a length") << true << QStringLiteral("|50 %");
        QTest::addRow("without a length") << false << QStringLiteral("|Downloading...");
    }
    void progress()
    {
        QFETCH(bool, withLength);
        QFETCH(QString, rowEnd);
        HttpTestServer server;
        HttpResponse r = HttpResponse::generated(4 << 20);
        r.sendLength = withLength;
        r.pauseAfter = 2 << 20;
        server.route("/v", r);
        CDownloadManager manager;
        CDownloadItem *download = manager.add(server.link(QStringLiteral("/v?id=1&itemTitle=clip")));
        FileItem *item = download->item();
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(item->pc.path).size() == (2 << 20), kTimeout);
        QTRY_VERIFY2_WITH_TIMEOUT(item->rowText(3).endsWith(rowEnd), qPrintable(item->rowText(3)), kTimeout);
        QCOMPARE(download->percent(), withLength ? 50 : -1);
        server.release("/v");
        QTRY_COMPARE_WITH_TIMEOUT(download->state(), int(Completed), kTimeout);
        QCOMPARE(QFileInfo(item->pc.path).size(), qint64(4 << 20));
        download->releaseFolder();
    }

    void cancelQueuedAndRunning()
    {
        HttpTestServer server;
        CDownloadManager manager;
        Listener listener(manager);
        const QList<CDownloadItem *> downloads = addNumbered(manager, server, 5, [](int) {
            HttpResponse r = HttpResponse::generated(4 << 20);
            r.pauseAfter = 1 << 20;
            return r;
        });
        QTRY_COMPARE_WITH_TIMEOUT(server.waiting(), 3, kTimeout);
        FileItem *running = downloads.at(0)->item();
        FileItem *queued = downloads.at(4)->item();
        const QString partial = running->pc.path;
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(partial).size() == (1 << 20), kTimeout);
        const int rowsBefore = listener.rowsFor(running) + listener.rowsFor(queued);

        manager.cancel(QList<FileItem *>{queued});
        QCOMPARE(downloads.at(4)->state(), int(Cancelled));
        QCOMPARE(queued->rowText(3).section(QLatin1Char('|'), -1), QStringLiteral("Canceled"));
        manager.cancel(QList<FileItem *>{running});
        QCOMPARE(downloads.at(0)->state(), int(Cancelled));
        QVERIFY(!QFile::exists(partial));
        QVERIFY(!QDir(QFileInfo(partial).absolutePath()).exists());
        // The caller has taken the rows away: no row update follows a cancel.
        QCOMPARE(listener.rowsFor(running) + listener.rowsFor(queued), rowsBefore);
        QVERIFY(listener.reports.isEmpty());

        // The running one's place goes to the next queued download.
        QTRY_COMPARE_WITH_TIMEOUT(server.count("HEAD", "/v4"), 1, kTimeout);
        QCOMPARE(server.count("HEAD", "/v5"), 0);
        QCOMPARE(manager.running(), 3);
        manager.cancelAll();
        for (CDownloadItem *download : std::as_const(downloads))
            QCOMPARE(download->state(), int(Cancelled));
        QVERIFY(manager.downloads().isEmpty());
        QVERIFY(manager.allFinished());
    }

    void reorderMovesTheQueue()
    {
        HttpTestServer server;
        CDownloadManager manager;
        const QList<CDownloadItem *> downloads =
            addNumbered(manager, server, 5, [](int) { return HttpResponse::held(); });
        QTRY_COMPARE_WITH_TIMEOUT(server.waiting(), 3, kTimeout);
        // The view's new order: the last download first, the rest as they were.
        QList<FileItem *> order{downloads.at(4)->item()};
        for (int i = 0; i < 4; ++i)
            order << downloads.at(i)->item();
        manager.reorder(order);
        server.release("/v1");
        QTRY_COMPARE_WITH_TIMEOUT(server.count("HEAD", "/v5"), 1, kTimeout);
        QCOMPARE(server.count("HEAD", "/v4"), 0);
        QCOMPARE(downloads.at(3)->state(), int(Queued));
        QCOMPARE(manager.downloads().last(), downloads.at(3));
        manager.cancelAll();
        downloads.at(0)->releaseFolder();
    }

    void closingWithDownloadsRunningLeavesNoFile()
    {
        HttpTestServer server;
        HttpResponse r = HttpResponse::generated(8 << 20);
        r.pauseAfter = 1 << 20;
        server.route("/v", r);
        server.route("/held", HttpResponse::held());
        auto manager = std::make_unique<CDownloadManager>();
        CDownloadItem *receiving = manager->add(server.link(QStringLiteral("/v?id=1&itemTitle=clip")));
        manager->add(server.link(QStringLiteral("/held?id=2&itemTitle=other")));
        const QString partial = receiving->item()->pc.path;
        FileItem *item = receiving->item();
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(partial).size() == (1 << 20), kTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(server.waiting(), 2, kTimeout);
        manager.reset();
        QVERIFY(!QFile::exists(partial));
        QVERIFY(leftInPrivateFolder().isEmpty());
        QCOMPARE(item->download, nullptr);
    }
};

QTEST_GUILESS_MAIN(TestDownloads)
#include "tst_downloads.moc"
