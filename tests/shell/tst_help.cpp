#include "helpservice.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>

// The help service against real folders. It is built twice: once beside the
// help the build ships (tests/withhelp/HELP links to bin/HELP), once with no
// help beside it, where the help is found in the user's data folder or not
// at all. The desktop's browser is replaced by a handler that records what
// it is asked to open: there is no browser on a test machine.
class PageCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public Q_SLOTS:
    void openUrl(const QUrl &url) { opened.append(url); }
};

namespace {

struct FailureSeen
{
    Help::Failure failure;
    int topic;
    QString page;
};

#ifdef TAMSEL_WITHOUT_HELP
void writePage(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<!DOCTYPE html><title>page</title>");
}
#endif

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_catcher, "openUrl");
        Help::setFailureHandler([this](Help::Failure failure, int topic, const QString &page) {
            m_failures.append({failure, topic, page});
        });
    }
    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        Help::setFailureHandler({});
    }
    void init()
    {
        m_catcher.opened.clear();
        m_failures.clear();
    }

    void looksBesideTheProgramFirst()
    {
        const QStringList folders = Help::searchFolders();
        QVERIFY(folders.size() >= 2);
        QCOMPARE(folders.constFirst(), QCoreApplication::applicationDirPath() + QStringLiteral("/HELP"));
        QCOMPARE(folders.at(1), QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                                    + QStringLiteral("/Orvak/Orvak Tamsel/HELP"));
    }

#ifndef TAMSEL_WITHOUT_HELP
    void shippedHelpOpensTheTopicsPage_data()
    {
        QTest::addColumn<int>("topic");
        QTest::addColumn<QString>("page");
        QTest::addRow("menu") << 1000 << "1000.html";
        QTest::addRow("single view") << 1040 << "1040.html";
        QTest::addRow("folder dialog") << 1070 << "1070.html";
        // A topic the help has no page for falls back to the index.
        QTest::addRow("unknown topic") << 1234 << "index.html";
    }
    void shippedHelpOpensTheTopicsPage()
    {
        QFETCH(int, topic);
        QFETCH(QString, page);
        const QString path = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("HELP/") + page);
        QVERIFY(Help::openHelp(topic));
        QCOMPARE(m_catcher.opened, QList<QUrl>{QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())});
        QVERIFY(m_failures.isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("Orvak Tamsel Help"));
    }
#else
    void withoutHelpTheUserIsTold()
    {
        QVERIFY(Help::helpFolder().isEmpty());
        QVERIFY(!Help::openHelp(1070));
        QVERIFY(m_catcher.opened.isEmpty());
        QCOMPARE(m_failures.size(), 1);
        QCOMPARE(m_failures.constFirst().failure, Help::Failure::NotInstalled);
        QCOMPARE(m_failures.constFirst().topic, 1070);
        QVERIFY(m_failures.constFirst().page.isEmpty());
    }

    void topicPagesAndTheIndexInTheDataFolder_data()
    {
        QTest::addColumn<QStringList>("pages");
        QTest::addColumn<int>("topic");
        QTest::addColumn<QString>("opened");
        const QStringList both{QStringLiteral("index.html"), QStringLiteral("1070.html")};
        QTest::addRow("topic page") << both << 1070 << "1070.html";
        QTest::addRow("index for a topic without page") << both << 1000 << "index.html";
        QTest::addRow("topic page without index") << QStringList{QStringLiteral("1070.html")} << 1070 << "1070.html";
        QTest::addRow("neither") << QStringList{QStringLiteral("1070.html")} << 1080 << QString();
        QTest::addRow("empty folder") << QStringList() << 1000 << QString();
    }
    void topicPagesAndTheIndexInTheDataFolder()
    {
        QFETCH(QStringList, pages);
        QFETCH(int, topic);
        QFETCH(QString, opened);
        QDir folder(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                    + QStringLiteral("/Orvak/Orvak Tamsel/HELP"));
        QVERIFY(folder.removeRecursively());
        QVERIFY(folder.mkpath(QStringLiteral(".")));
        for (const QString &page : pages)
            writePage(folder.filePath(page));

        QCOMPARE(Help::helpFolder(), folder.absolutePath());
        const bool shown = Help::openHelp(topic);
        if (opened.isEmpty()) {
            QVERIFY(!shown);
            QVERIFY(m_catcher.opened.isEmpty());
            QCOMPARE(m_failures.size(), 1);
            QCOMPARE(m_failures.constFirst().failure, Help::Failure::NotInstalled);
        } else {
            QVERIFY(shown);
            QCOMPARE(m_catcher.opened, QList<QUrl>{QUrl::fromLocalFile(folder.absoluteFilePath(opened))});
            QVERIFY(m_failures.isEmpty());
        }
        QVERIFY(folder.removeRecursively());
    }
#endif

private:
    PageCatcher m_catcher;
    QList<FailureSeen> m_failures;
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
