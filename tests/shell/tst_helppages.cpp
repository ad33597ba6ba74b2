// The help the build ships, as a user meets it: every topic the program
// opens has a page of its own, every link and picture on every page leads
// somewhere, and every page can be reached from the index.

#include "helpservice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {

QString helpFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/HELP");
}

QString readPage(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The href and src targets of a page, without their #fragments.
QStringList targets(const QString &html, const char *attribute)
{
    QStringList found;
    const QRegularExpression pattern(QStringLiteral("\\b%1=\"([^\"]*)\"").arg(QLatin1String(attribute)));
    for (auto it = pattern.globalMatch(html); it.hasNext();)
        found << it.next().captured(1).section(QLatin1Char('#'), 0, 0);
    return found;
}

bool isExternal(const QString &target)
{
    return target.startsWith(QLatin1String("http:")) || target.startsWith(QLatin1String("https:"))
        || target.startsWith(QLatin1String("mailto:"));
}

} // namespace

class TestHelpPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QCOMPARE(Help::helpFolder(), helpFolder()); }

    void everyTopicHasItsOwnPage_data()
    {
        QTest::addColumn<int>("topic");
        // The main window's help (menu and per view), the settings pages and
        // the folder dialog.
        for (int topic : {1000, 1010, 1020, 1030, 1040, 1050, 1060, 1070, 1080, 1090})
            QTest::addRow("%d", topic) << topic;
    }
    void everyTopicHasItsOwnPage()
    {
        QFETCH(int, topic);
        const QString page = Help::pagePath(topic);
        QCOMPARE(QFileInfo(page).fileName(), QStringLiteral("%1.html").arg(topic));
        const QString html = readPage(page);
        QVERIFY2(html.contains(QLatin1String("<h1>")), "the page has no heading");
        QVERIFY2(!targets(html, "src").isEmpty(), "the page shows no picture of what it explains");
    }

    void linksAndPicturesResolve_data()
    {
        QTest::addColumn<QString>("page");
        const QStringList pages = QDir(helpFolder()).entryList({QStringLiteral("*.html")}, QDir::Files);
        QVERIFY(pages.size() > 10);
        for (const QString &page : pages)
            QTest::addRow("%s", qPrintable(page)) << page;
    }
    void linksAndPicturesResolve()
    {
        QFETCH(QString, page);
        const QDir folder(helpFolder());
        const QString html = readPage(folder.filePath(page));
        QVERIFY(!html.isEmpty());
        for (const QString &link : targets(html, "href")) {
            if (isExternal(link) || link.isEmpty())
                continue;
            QVERIFY2(QFileInfo::exists(folder.filePath(link)), qPrintable(page + QStringLiteral(" links to ") + link));
        }
        for (const QString &picture : targets(html, "src")) {
            QVERIFY2(!isExternal(picture), qPrintable(page + QStringLiteral(" loads ") + picture + QStringLiteral(" from the net")));
            const QImage image(folder.filePath(picture));
            QVERIFY2(!image.isNull(), qPrintable(page + QStringLiteral(" shows a missing picture ") + picture));
            QVERIFY2(image.width() >= 200 && image.height() >= 100, qPrintable(picture + QStringLiteral(" is too small")));
        }
    }

    void everyPageReachableFromTheIndex()
    {
        const QDir folder(helpFolder());
        const QStringList linked = targets(readPage(folder.filePath(QStringLiteral("index.html"))), "href");
        const QSet<QString> reachable(linked.cbegin(), linked.cend());
        for (const QString &page : folder.entryList({QStringLiteral("*.html")}, QDir::Files)) {
            if (page != QLatin1String("index.html"))
                QVERIFY2(reachable.contains(page), qPrintable(page + QStringLiteral(" is not in the index")));
        }
    }
};

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv); // QImage reads the pictures through the image plugins
    TestHelpPages test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_helppages.moc"
