// The Downloads list with real downloads from a local server: progress and
// outcome in the rows, the finished file in My collection, the entries and
// buttons that follow the list, clearing and reordering.

#include "viewfixture.h"

#include "downloaditem.h"
#include "downloadmanager.h"
#include "downloadstates.h"
#include "downloadtestsupport.h"
#include "downloadview.h"
#include "fileitem.h"
#include "httptestserver.h"
#include "mycollectionview.h"
#include "settingsstore.h"

#include <QTemporaryDir>

using namespace DownloadState;
using namespace ViewTest;
using TestSupport::HttpResponse;
using TestSupport::HttpTestServer;

namespace {

constexpr int kTimeout = 60000;

struct Lists
{
    Lists()
    {
        host.context = 3;
        host.downloads = &downloads;
        view.setMyCollectionView(&collection);
        downloads.setViewReceiver(&view, [this](FileItem *item, bool finished) {
            view.downloadViewUpdatedSlot(item, finished);
        });
    }
    ~Lists() { downloads.cancelAll(); }

    TreeItem *rowOf(const CDownloadItem *download) const { return view.rowOf(download->item()->uuid); }

    Host host;
    CDownloadManager downloads;
    DownloadView view{&host};
    MyCollectionView collection{&host};
};

QStringList names(const QList<CDownloadItem *> &downloads)
{
    QStringList list;
    for (const CDownloadItem *download : downloads)
        list << download->item()->name();
    return list;
}

} // namespace

class TestDownloadView : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QByteArray m_clip;

    QString collection() const { return m_dir.filePath(QStringLiteral("collection")); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(loadProgramTheme());
        m_clip = TestSupport::prepareClipDownloads(m_dir.filePath(QStringLiteral("clip.mp4")));
        QVERIFY(!m_clip.isEmpty());
        Settings::setDownloadToPhone(0);
    }

    void init()
    {
        TestSupport::freshCollection(collection());
        Catalogue::instance().downloads.clear();
        Catalogue::instance().myCollection.clear();
    }

    void anEmptyListSwitchesEverythingOff()
    {
        Lists lists;
        for (const char *name : {"actionCancelAll", "actionCancel", "actionClearCompleted"})
            lists.host.menuAction(QLatin1String(name))->setEnabled(true);
        lists.host.button("toolButton_DeleteDownloads")->setEnabled(true);
        lists.host.button("toolButton_ClearCompletedDownloads")->setEnabled(true);
        QVERIFY(!lists.view.UpdateListStatus());
        for (const char *name : {"actionCancelAll", "actionCancelAllD", "actionCancel", "actionCancelD",
                                 "actionClearCompleted"})
            QVERIFY2(!lists.host.enabled(name), name);
        QVERIFY(!lists.host.button("toolButton_DeleteDownloads")->isEnabled());
        QVERIFY(!lists.host.button("toolButton_ClearCompletedDownloads")->isEnabled());
    }

    void aFinishedDownloadGoesIntoMyCollection()
    {
        HttpTestServer server;
        server.route("/clip.mp4", HttpResponse::withBody(m_clip));
        Lists lists;
        CDownloadItem *download = lists.downloads.add(server.link(QStringLiteral("/clip.mp4?id=1&itemTitle=Sunset")));
        QCOMPARE(lists.view.topLevelItemCount(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(download->state(), int(Completed), kTimeout);
        QTRY_COMPARE(lists.rowOf(download)->text(2), QStringLiteral("Completed."));
        const QList<TreeItem *> rows = lists.collection.fileRows();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(QFileInfo(rows.first()->fileItem()->pc.path).absolutePath(), collection());
        QVERIFY(QFile::exists(rows.first()->fileItem()->pc.path));
        QVERIFY(lists.view.isSomethingFinished());
        QVERIFY(!lists.view.isSomethingRunning());
        QVERIFY(lists.host.enabled("actionClearCompleted"));
        QVERIFY(!lists.host.enabled("actionCancelAll"));
        QVERIFY(lists.host.button("toolButton_ClearCompletedDownloads")->isEnabled());
        QVERIFY(!lists.host.button("toolButton_DeleteDownloads")->isEnabled());
    }

    void runningDownloadsAndTheSelection()
    {
        HttpTestServer server;
        server.route("/held", HttpResponse::held());
        Lists lists;
        CDownloadItem *download = lists.downloads.add(server.link(QStringLiteral("/held?id=1&itemTitle=Slow")));
        QTRY_COMPARE_WITH_TIMEOUT(server.waiting(), 1, kTimeout);
        lists.view.clearSelection();
        QVERIFY(lists.view.isSomethingRunning());
        QVERIFY(lists.host.enabled("actionCancelAll"));
        QVERIFY(!lists.host.enabled("actionCancel"));
        QVERIFY(lists.host.button("toolButton_DeleteDownloads")->isEnabled());
        QCOMPARE(lists.host.button("toolButton_DeleteDownloads")->toolTip(), QStringLiteral("Cancel all downloads"));
        lists.rowOf(download)->setSelected(true);
        QVERIFY(lists.host.enabled("actionCancelD"));
        QCOMPARE(lists.host.button("toolButton_DeleteDownloads")->toolTip(),
                 QStringLiteral("Cancel selected download(s)"));
        // In another context the selection changes nothing.
        lists.host.context = 0;
        lists.view.clearSelection();
        QVERIFY(lists.host.enabled("actionCancelD"));
        server.release("/held");
    }

    void clearingFinishedAndRunning()
    {
        HttpTestServer server;
        server.route("/clip.mp4", HttpResponse::withBody(m_clip));
        server.route("/held", HttpResponse::held());
        Lists lists;
        CDownloadItem *done = lists.downloads.add(server.link(QStringLiteral("/clip.mp4?id=1&itemTitle=Done")));
        CDownloadItem *failed = lists.downloads.add(server.link(QStringLiteral("/missing?id=2&itemTitle=Missing")));
        QTRY_VERIFY_WITH_TIMEOUT(isFinal(done->state()) && isFinal(failed->state()), kTimeout);
        CDownloadItem *running = lists.downloads.add(server.link(QStringLiteral("/held?id=3&itemTitle=Running")));
        QTRY_COMPARE_WITH_TIMEOUT(server.waiting(), 1, kTimeout);
        QCOMPARE(failed->state(), int(Failed));
        QCOMPARE(lists.view.topLevelItemCount(), 3);

        lists.view.ClearFinished();
        QCOMPARE(lists.view.topLevelItemCount(), 1);
        QVERIFY(lists.rowOf(running));
        QCOMPARE(Catalogue::instance().downloads.size(), 1);
        QVERIFY(!lists.host.button("toolButton_ClearCompletedDownloads")->isEnabled());

        lists.view.clearSelection();
        QVERIFY(lists.view.ClearSelectedDownloading().isEmpty());
        const QUuid id = running->item()->uuid;
        lists.rowOf(running)->setSelected(true);
        QCOMPARE(lists.view.ClearSelectedDownloading(), QList<QUuid>{id});
        QCOMPARE(lists.view.topLevelItemCount(), 0);
        lists.downloads.cancel(QList<QUuid>{id});
        server.release("/held");
    }

    void clearingAllUnfinished()
    {
        HttpTestServer server;
        server.route("/held", HttpResponse::held());
        Lists lists;
        for (int i = 1; i <= 4; ++i)
            lists.downloads.add(server.link(QStringLiteral("/held?id=%1&itemTitle=v%1").arg(i)));
        QTRY_COMPARE_WITH_TIMEOUT(server.waiting(), CDownloadManager::MaxRunning, kTimeout);
        lists.downloads.cancelAll();
        lists.view.ClearAllDownloading();
        QCOMPARE(lists.view.topLevelItemCount(), 0);
        QVERIFY(Catalogue::instance().downloads.isEmpty());
        QVERIFY(!lists.view.UpdateListStatus());
        server.release("/held");
    }

    // The queue follows the rows: dropping the last waiting download on top
    // of the other waiting one starts it first.
    void droppingReordersTheQueue()
    {
        HttpTestServer server;
        server.route("/held", HttpResponse::held());
        Lists lists;
        lists.host.show(&lists.view);
        for (int i = 1; i <= 5; ++i)
            lists.downloads.add(server.link(QStringLiteral("/held?id=%1&itemTitle=v%1").arg(i)));
        QTRY_COMPARE_WITH_TIMEOUT(server.waiting(), CDownloadManager::MaxRunning, kTimeout);
        lists.view.clearSelection();
        lists.view.topLevelItem(4)->setSelected(true);
        dropSelectionAbove(lists.view, lists.view.topLevelItem(3));
        QStringList shown;
        for (TreeItem *row : lists.view.fileRows())
            shown << row->text(0);
        QCOMPARE(shown.mid(3), (QStringList{QStringLiteral("v5"), QStringLiteral("v4")}));
        QCOMPARE(names(lists.downloads.downloads()).mid(3), shown.mid(3));
        server.release("/held");
    }
};

QTEST_MAIN(TestDownloadView)
#include "tst_downloadview.moc"
