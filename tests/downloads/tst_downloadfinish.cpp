#include "catalogue.h"
#include "copyquestion.h"
#include "downloadfinish.h"
#include "downloadfolder.h"
#include "downloaditem.h"
#include "downloadmanager.h"
#include "downloadstates.h"
#include "folderphones.h"
#include "downloadtestsupport.h"
#include "httptestserver.h"
#include "phonemanagement.h"
#include "phonesinfo.h"
#include "settingsstore.h"
#include "taskitem.h"
#include "taskmanager.h"
#include "taskstates.h"
#include "xmlfile.h"

#include <QDomDocument>
#include <QTemporaryDir>
#include <QTest>

using namespace DownloadState;
using TestSupport::HttpResponse;
using TestSupport::HttpTestServer;

namespace {

constexpr int kTimeout = 60000;

// Answers the copy question as a user would, and counts the questions.
class ScriptedQuestion final : public CopyQuestion
{
public:
    bool phoneListed() const override { return listed; }
    bool askCopyToPhone(const QString &name) override
    {
        asked << name;
        return answer;
    }

    bool listed = true;
    bool answer = false;
    QStringList asked;
};

// The lengths the My collection cache holds, by path.
QHash<QString, int> cachedLengths()
{
    QHash<QString, int> lengths;
    QDomDocument cache;
    if (XmlFile::read(Catalogue::myCollectionCachePath(), cache) != XmlFile::ReadResult::Read)
        return lengths;
    const QDomElement section = cache.documentElement().firstChildElement(QStringLiteral("MyCollectionScanResults"));
    for (QDomElement e = section.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        lengths.insert(e.text(), e.attribute(QStringLiteral("playback_sec")).toInt());
    return lengths;
}

} // namespace

// The step after a download: into My collection, measured, and to the phone
// when the user wanted it; and the copy question's rule.
class TestDownloadFinish : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QByteArray m_clip;
    std::unique_ptr<TestSupport::FolderPhones> m_phones;

    QString collection() const { return m_dir.filePath(QStringLiteral("collection")); }
    QString card() const { return m_phones->memoryFolder(QStringLiteral("p"), 1) + QStringLiteral("/Videos"); }

    CDownloadItem *downloaded(CDownloadManager &manager, HttpTestServer &server, const QString &title)
    {
        server.route("/clip.mp4", HttpResponse::withBody(m_clip));
        CDownloadItem *download = manager.add(server.link(QStringLiteral("/clip.mp4?id=1&itemTitle=") + title));
        if (!QTest::qWaitFor([&] { return isFinal(download->state()); }, kTimeout))
            return nullptr;
        return download;
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
        Settings::setDownloadToPhone(-1);
        m_phones = std::make_unique<TestSupport::FolderPhones>();
        m_phones->addPhone(QStringLiteral("p"), QStringLiteral("356000000000088"), QStringLiteral("Pocket"),
                           QStringLiteral("16"),
                           {{QStringLiteral("Phone memory"), 256LL << 20}, {QStringLiteral("Memory card"), 1LL << 30}});
        Orvak_API::PhoneManagement management;
        Orvak_API::PhonesInfo phones;
        QTRY_VERIFY_WITH_TIMEOUT(management.getPhones(phones) && phones.size() == 1, 10000);
        Catalogue::instance().setCurrentPhone(phones.first());
    }

    void cleanup()
    {
        Catalogue::instance().downloads.clear();
        Catalogue::instance().myCollection.clear();
        Catalogue::instance().tasks.clear();
        m_phones.reset();
        QVERIFY(QDir(DownloadFolder::privateFolder()).isEmpty());
    }

    void intoMyCollectionUnderAFreeName()
    {
        // My collection already holds a video of that name.
        QVERIFY(QFile::copy(m_dir.filePath(QStringLiteral("clip.mp4")), collection() + QStringLiteral("/My%20clip.mp4")));
        HttpTestServer server;
        CDownloadManager manager;
        CDownloadItem *download = downloaded(manager, server, QStringLiteral("My%20clip"));
        QVERIFY(download);
        QCOMPARE(download->state(), int(Completed));
        FileItem *item = download->item();
        const QString source = item->pc.path;

        const FinishedDownload finished = Downloads::finishDownload(item, nullptr);
        const QString target = collection() + QStringLiteral("/My%20clip (1).mp4");
        QVERIFY(finished.collectionItem);
        QVERIFY(!finished.copyQueued);
        QCOMPARE(item->pc.targetPath, target);
        QCOMPARE(item->pc.path, target);
        QVERIFY(!QFile::exists(source));
        QCOMPARE(QFileInfo(target).size(), qint64(m_clip.size()));
        QCOMPARE(finished.collectionItem->pc.path, target);
        QCOMPARE(finished.collectionItem->pc.playbackLength, 2);
        QCOMPARE(Catalogue::instance().myCollection.size(), 1);
        QCOMPARE(cachedLengths().value(target), 2);
        // Asked again, the step does nothing more.
        QVERIFY(!Downloads::finishDownload(item, nullptr).collectionItem);
    }

    void copyDecision_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<bool>("listed");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("copy");
        QTest::addRow("never") << 0 << true << true << false << false;
        QTest::addRow("always") << 1 << true << false << false << true;
        QTest::addRow("ask, yes") << -1 << true << true << true << true;
        QTest::addRow("ask, no") << -1 << true << false << true << false;
        QTest::addRow("no phone listed") << 1 << false << true << false << false;
    }
    void copyDecision()
    {
        QFETCH(int, setting);
        QFETCH(bool, listed);
        QFETCH(bool, answer);
        QFETCH(bool, asked);
        QFETCH(bool, copy);
        Settings::setDownloadToPhone(setting);
        ScriptedQuestion question;
        question.listed = listed;
        question.answer = answer;
        HttpTestServer server;
        CDownloadManager manager;
        manager.setCopyQuestion(&question);
        CTaskManager tasks;
        CDownloadItem *download = downloaded(manager, server, QStringLiteral("phone%20clip"));
        QVERIFY(download);
        QCOMPARE(question.asked, asked ? QStringList{QStringLiteral("phone%20clip")} : QStringList());
        QCOMPARE(download->copyToPhone(), copy);

        const FinishedDownload finished = Downloads::finishDownload(download->item(), &tasks);
        QVERIFY(finished.collectionItem);
        QCOMPARE(finished.copyQueued, copy);
        QCOMPARE(tasks.tasks().size(), copy ? 1 : 0);
        if (!copy)
            return;
        CTaskItem *task = tasks.tasks().first();
        QCOMPARE(task->kind(), int(TaskState::CopyToPhoneKind));
        QTRY_COMPARE_WITH_TIMEOUT(task->state(), int(TaskState::CopyToPhoneDone), kTimeout);
        QCOMPARE(QFileInfo(card() + QStringLiteral("/phone%20clip.mp4")).size(), qint64(m_clip.size()));
    }

    void noRoomInMyCollection()
    {
        // The My collection folder cannot be made: a file stands in its way.
        TestSupport::writeFile(m_dir.filePath(QStringLiteral("blocker")), "x");
        Settings::setMyCollectionFolder(m_dir.filePath(QStringLiteral("blocker/collection")));
        HttpTestServer server;
        CDownloadManager manager;
        QStringList reports;
        QObject context;
        manager.setErrorReceiver(&context, [&](const QString &, const QString &, const QString &friendly) {
            reports << friendly;
        });
        CDownloadItem *download = downloaded(manager, server, QStringLiteral("clip"));
        QVERIFY(download);
        const QString source = download->item()->pc.path;
        QVERIFY(!Downloads::finishDownload(download->item(), nullptr).collectionItem);
        QCOMPARE(download->state(), int(Failed));
        QCOMPARE(reports, QStringList{QStringLiteral("The downloaded file cannot be moved to My collection.")});
        QVERIFY(!QFile::exists(source));
        QVERIFY(Catalogue::instance().myCollection.isEmpty());
    }

    void unfinishedDownloadsAreLeftAlone()
    {
        HttpTestServer server;
        server.route("/v", HttpResponse::held());
        CDownloadManager manager;
        CDownloadItem *download = manager.add(server.link(QStringLiteral("/v?id=1&itemTitle=clip")));
        QTRY_COMPARE_WITH_TIMEOUT(server.waiting(), 1, kTimeout);
        QVERIFY(!Downloads::finishDownload(download->item(), nullptr).collectionItem);
        QCOMPARE(download->state(), int(Downloading));
        FileItem plain;
        QVERIFY(!Downloads::finishDownload(&plain, nullptr).collectionItem);
        QVERIFY(!Downloads::finishDownload(nullptr, nullptr).collectionItem);
    }
};

QTEST_GUILESS_MAIN(TestDownloadFinish)
#include "tst_downloadfinish.moc"
