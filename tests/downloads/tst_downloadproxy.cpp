#include "catalogue.h"
#include "downloaditem.h"
#include "downloadmanager.h"
#include "downloadstates.h"
#include "downloadtestsupport.h"
#include "httptestserver.h"
#include "proxysettings.h"

#include <QFile>
#include <QTest>

using namespace DownloadState;
using TestSupport::HttpResponse;
using TestSupport::HttpTestProxy;
using TestSupport::HttpTestServer;

namespace {
constexpr int kTimeout = 30000;
} // namespace

// Downloads through the proxy the environment names (http_proxy, no_proxy),
// with a real forwarding proxy on 127.0.0.1.
class TestDownloadProxy : public QObject
{
    Q_OBJECT

private:
    HttpTestProxy m_proxy;

    void setProxy(const QByteArray &proxy, const QByteArray &bypass)
    {
        qputenv("http_proxy", proxy);
        qputenv("no_proxy", bypass);
    }

private Q_SLOTS:
    void initTestCase()
    {
        TestSupport::withoutProxies();
    }

    void cleanup() { Catalogue::instance().downloads.clear(); }

    void settingsFromTheEnvironment()
    {
        setProxy("http://127.0.0.1:" + QByteArray::number(m_proxy.port()), "localhost, .lan,,media");
        const ProxySettings settings = ProxySettings::lookUp(QStringLiteral("example.org"));
        QVERIFY(!settings.direct);
        QCOMPARE(settings.proxies.size(), 1);
        QCOMPARE(settings.proxies.first().hostName(), QStringLiteral("127.0.0.1"));
        QCOMPARE(settings.proxies.first().port(), m_proxy.port());
        QCOMPARE(settings.bypass, (QStringList{QStringLiteral("localhost"), QStringLiteral(".lan"), QStringLiteral("media")}));
        // Each pattern with a "*" after it, over the whole host, case kept.
        QVERIFY(settings.bypasses(QStringLiteral("localhost")));
        QVERIFY(settings.bypasses(QStringLiteral("localhost.localdomain")));
        QVERIFY(settings.bypasses(QStringLiteral("mediaserver")));
        QVERIFY(!settings.bypasses(QStringLiteral("x.lan")));
        QVERIFY(!settings.bypasses(QStringLiteral("LOCALHOST")));
        QVERIFY(!settings.bypasses(QStringLiteral("127.0.0.1")));
        QCOMPARE(settings.proxyFor(QStringLiteral("localhost")).type(), QNetworkProxy::NoProxy);
        QCOMPARE(settings.proxyFor(QStringLiteral("example.org")).type(), QNetworkProxy::HttpProxy);

        setProxy(QByteArray(), QByteArray());
        QVERIFY(ProxySettings::lookUp(QStringLiteral("example.org")).direct);
    }

    void proxyUsedThenBypassed()
    {
        HttpTestServer server;
        setProxy("http://127.0.0.1:" + QByteArray::number(m_proxy.port()), "localhost");
        server.route("/start", HttpResponse::redirect("http://localhost:" + QByteArray::number(server.port()) + "/final"));
        server.route("/final", HttpResponse::withBody("the video"));
        CDownloadManager manager;
        CDownloadItem *download = manager.add(server.link(QStringLiteral("/start?id=1&itemTitle=clip")));
        QTRY_COMPARE_WITH_TIMEOUT(download->state(), int(Completed), kTimeout);
        QVERIFY(!download->proxyInUse());
        QCOMPARE(QFile(download->item()->pc.path).size(), qint64(9));

        QList<QByteArray> seen;
        for (const TestSupport::HttpRequestRecord &r : server.requests())
            seen << r.method + ' ' + TestSupport::before(r.path, '?') + (r.viaProxy ? " proxied" : " direct");
        QCOMPARE(seen, (QList<QByteArray>{"HEAD /start proxied", "HEAD /final direct", "GET /final direct"}));
        QCOMPARE(m_proxy.requestsForwarded(), 1);
        download->releaseFolder();
    }

    void proxiedDownload()
    {
        HttpTestServer server;
        setProxy("http://127.0.0.1:" + QByteArray::number(m_proxy.port()), "");
        server.route("/v", HttpResponse::generated(2 << 20));
        const int before = m_proxy.requestsForwarded();
        CDownloadManager manager;
        CDownloadItem *download = manager.add(server.link(QStringLiteral("/v?id=1&itemTitle=clip")));
        QTRY_COMPARE_WITH_TIMEOUT(download->state(), int(Completed), kTimeout);
        QCOMPARE(QFile(download->item()->pc.path).size(), qint64(2 << 20));
        QCOMPARE(m_proxy.requestsForwarded() - before, 2);
        for (const TestSupport::HttpRequestRecord &request : server.requests())
            QVERIFY(request.viaProxy);
        download->releaseFolder();
    }

    void missingProxyFallsBackToDirect()
    {
        HttpTestServer server;
        setProxy("http://no-such-proxy.invalid:3128", "");
        server.route("/v", HttpResponse::withBody("the video"));
        CDownloadManager manager;
        QList<QString> reports;
        QObject context;
        manager.setErrorReceiver(&context, [&](const QString &, const QString &, const QString &friendly) {
            reports << friendly;
        });
        CDownloadItem *download = manager.add(server.link(QStringLiteral("/v?id=1&itemTitle=clip")));
        QTRY_COMPARE_WITH_TIMEOUT(download->state(), int(Completed), kTimeout);
        // The one proxy was listed, could not be found, and was given up on.
        QVERIFY(!download->proxySettings().direct);
        QVERIFY(download->proxySettings().proxies.isEmpty());
        QVERIFY(!download->proxyInUse());
        QVERIFY(reports.isEmpty());
        QCOMPARE(server.count("GET", "/v"), 1);
        QVERIFY(!server.requests().first().viaProxy);
        download->releaseFolder();
    }
};

QTEST_GUILESS_MAIN(TestDownloadProxy)
#include "tst_downloadproxy.moc"
