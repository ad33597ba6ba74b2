#include "downloadlink.h"
#include "downloadstates.h"

#include <QTest>

// What a tmk:// link becomes: the request, the title and the file name.
class TestDownloadLink : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("fileName");
        const QString client = QStringLiteral("&client=TSL&clientVersion=1.5");

        QTest::addRow("title in the middle")
            << QStringLiteral("tmk://server/get?id=7&itemTitle=My%20clip&x=1") << QStringLiteral("server") << 80
            << QString(QStringLiteral("/get?id=7") + client) << QStringLiteral("My%20clip") << QStringLiteral("My%20clip");
        // Without a title the name starts at the eleventh character.
        QTest::addRow("no title") << QStringLiteral("tmk://server/get?id=7") << QStringLiteral("server") << 80
                                  << QString(QStringLiteral("/get?id=7") + client) << QStringLiteral("er/get?id=7")
                                  << QStringLiteral("er%2Fget?id=7");
        QTest::addRow("port") << QStringLiteral("tmk://127.0.0.1:8080/clip.mp4?id=1&itemTitle=My%20clip")
                              << QStringLiteral("127.0.0.1") << 8080 << QString(QStringLiteral("/clip.mp4?id=1") + client)
                              << QStringLiteral("My%20clip") << QStringLiteral("My%20clip");
        QTest::addRow("ipv6 and port") << QStringLiteral("tmk://[::1]:81/v?itemTitle=x&itemTitle=y")
                                       << QStringLiteral("::1") << 81 << QString(QStringLiteral("/v?itemTitle=x") + client)
                                       << QStringLiteral("y") << QStringLiteral("y");
        QTest::addRow("port out of range") << QStringLiteral("tmk://host:99999/v?a=1&itemTitle=t") << QStringLiteral("host")
                                           << 0 << QString(QStringLiteral("/v?a=1") + client) << QStringLiteral("t")
                                           << QStringLiteral("t");
        QTest::addRow("raw space") << QStringLiteral("tmk://h/g?id=1&itemTitle=My clip") << QStringLiteral("h") << 80
                                   << QString(QStringLiteral("/g?id=1") + client) << QStringLiteral("My%20clip")
                                   << QStringLiteral("My%20clip");
        QTest::addRow("umlauts") << QStringLiteral("tmk://h/g?id=1&itemTitle=Gr\u00fc\u00dfe") << QStringLiteral("h") << 80
                                 << QString(QStringLiteral("/g?id=1") + client) << QStringLiteral("Gr%C3%BC%C3%9Fe")
                                 << QStringLiteral("Gr%C3%BC%C3%9Fe");
        // Titles that would leave the download folder or hide the file.
        QTest::addRow("slashes and dots") << QStringLiteral("tmk://h/g?id=1&itemTitle=../../etc/passwd")
                                          << QStringLiteral("h") << 80 << QString(QStringLiteral("/g?id=1") + client)
                                          << QStringLiteral("../../etc/passwd") << QStringLiteral("%2F..%2Fetc%2Fpasswd");
        QTest::addRow("dot dot") << QStringLiteral("tmk://h/g?id=1&itemTitle=..&x") << QStringLiteral("h") << 80
                                 << QString(QStringLiteral("/g?id=1") + client) << QStringLiteral("..")
                                 << QStringLiteral("download");
        QTest::addRow("empty") << QStringLiteral("tmk://h/g?id=1&itemTitle=&x=2") << QStringLiteral("h") << 80
                               << QString(QStringLiteral("/g?id=1") + client) << QString() << QStringLiteral("download");
        QTest::addRow("leading dot") << QStringLiteral("tmk://h/g?id=1&itemTitle=.hidden") << QStringLiteral("h") << 80
                                     << QString(QStringLiteral("/g?id=1") + client) << QStringLiteral(".hidden")
                                     << QStringLiteral("hidden");
        QTest::addRow("control characters") << QStringLiteral("tmk://h/g?id=1&itemTitle=a\nb\x01" "c")
                                             << QStringLiteral("h") << 80 << QString(QStringLiteral("/g?id=1") + client)
                                             << QStringLiteral("a%0Ab%01c") << QStringLiteral("a%0Ab%01c");
        QTest::addRow("no path") << QStringLiteral("tmk://h?id=1&itemTitle=t") << QStringLiteral("h") << 80
                                 << QString(QStringLiteral("/?id=1") + client) << QStringLiteral("t") << QStringLiteral("t");
    }
    void parse()
    {
        QFETCH(QString, link);
        const DownloadLink parsed = DownloadLinks::parse(link);
        QTEST(parsed.host, "host");
        QTEST(parsed.port, "port");
        QTEST(parsed.path, "path");
        QTEST(parsed.title, "title");
        QTEST(parsed.fileName, "fileName");
        QVERIFY(!parsed.fileName.contains(QLatin1Char('/')));
        QVERIFY(!parsed.fileName.startsWith(QLatin1Char('.')));
    }

    void requestUrl()
    {
        const DownloadLink parsed = DownloadLinks::parse(QStringLiteral("tmk://127.0.0.1:8080/clip.mp4?id=1&itemTitle=x"));
        QCOMPARE(parsed.url().toString(QUrl::FullyEncoded),
                 QStringLiteral("http://127.0.0.1:8080/clip.mp4?id=1&client=TSL&clientVersion=1.5"));
        QCOMPARE(DownloadLinks::parse(QStringLiteral("tmk://[::1]:81/v")).url().toString(QUrl::FullyEncoded),
                 QStringLiteral("http://[::1]:81/v&client=TSL&clientVersion=1.5"));
        // Hosts and ports that cannot be reached make no request.
        QVERIFY(!DownloadLinks::parse(QStringLiteral("tmk://host:0/v")).url().isValid());
        QVERIFY(!DownloadLinks::parse(QStringLiteral("tmk://user@host/v")).url().isValid());
        QVERIFY(!DownloadLinks::parse(QStringLiteral("tmk:///v")).url().isValid());
    }

    void safeFileName_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("name");
        QTest::addRow("plain") << QStringLiteral("clip") << QStringLiteral("clip");
        QTest::addRow("raw control characters") << QStringLiteral("a\nb\tc\x7f") << QStringLiteral("abc");
        QTest::addRow("only dots") << QStringLiteral("...") << QStringLiteral("download");
        QTest::addRow("only a slash") << QStringLiteral("/") << QStringLiteral("%2F");
        QTest::addRow("dots after a slash stay") << QStringLiteral("a/..") << QStringLiteral("a%2F..");
        QTest::addRow("too long") << QString(300, QLatin1Char('x')) << QString(200, QLatin1Char('x'));
        // A cut never leaves half an escape behind.
        QTest::addRow("cut at an escape") << (QString(199, QLatin1Char('x')) + QStringLiteral("%20tail"))
                                          << QString(199, QLatin1Char('x'));
    }
    void safeFileName()
    {
        QFETCH(QString, title);
        QTEST(DownloadLinks::safeFileName(title), "name");
    }

    void extension_data()
    {
        QTest::addColumn<QString>("contentType");
        QTest::addColumn<QString>("extension");
        QTest::addRow("3gpp in capitals") << QStringLiteral("VIDEO/3GPP") << QStringLiteral("3gp");
        QTest::addRow("3gpp with parameters") << QStringLiteral("video/3gpp; codecs=\"mp4v\"") << QStringLiteral("3gp");
        QTest::addRow("wmv") << QStringLiteral("video/x-ms-wmv") << QStringLiteral("wmv");
        QTest::addRow("mp4") << QStringLiteral("video/mp4") << QStringLiteral("mp4");
        QTest::addRow("anything else") << QStringLiteral("text/html") << QStringLiteral("mp4");
        QTest::addRow("none") << QString() << QStringLiteral("mp4");
    }
    void extension()
    {
        QFETCH(QString, contentType);
        QTEST(DownloadLinks::extensionFor(contentType), "extension");
    }

    void stateTexts_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("text");
        QTest::addRow("queued") << int(DownloadState::Queued) << QStringLiteral("Pending...");
        QTest::addRow("downloading") << int(DownloadState::Downloading) << QStringLiteral("Downloading...");
        QTest::addRow("completed") << int(DownloadState::Completed) << QStringLiteral("Completed.");
        QTest::addRow("failed") << int(DownloadState::Failed) << QStringLiteral("Failed");
        QTest::addRow("cancelled") << int(DownloadState::Cancelled) << QStringLiteral("Canceled");
        QTest::addRow("other") << 7 << QStringLiteral("Unknown");
    }
    void stateTexts()
    {
        QFETCH(int, state);
        QTEST(DownloadState::text(state), "text");
    }
};

QTEST_GUILESS_MAIN(TestDownloadLink)
#include "tst_downloadlink.moc"
