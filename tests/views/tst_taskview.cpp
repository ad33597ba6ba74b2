// The Tasks list with real tasks: conversions of generated clips, copies to
// and from a folder phone and deletions, and what My collection shows when
// each has ended.

#include "viewfixture.h"

#include "fileitem.h"
#include "mycollectionview.h"
#include "storagebtns.h"
#include "taskfixture.h"
#include "taskitem.h"
#include "taskjobs.h"
#include "taskmanager.h"
#include "taskstates.h"
#include "taskview.h"

#include <QToolButton>

using namespace TaskState;
using namespace ViewTest;

namespace {

// The views of the main window around one real task queue.
struct Lists
{
    Lists()
    {
        host.context = 2;
        host.tasks = &tasks;
        collection.setTaskView(&view);
        collection.setPhoneConnected(true);
        view.setMyCollectionView(&collection);
        tasks.setViewReceiver(&view, [this](FileItem *item, bool finished) { view.taskViewUpdatedSlot(item, finished); });
    }
    ~Lists() { tasks.cancelAll(); }

    // The task's row is done once the queue has dropped the task.
    bool ended() const { return tasks.tasks().isEmpty(); }

    Host host;
    CTaskManager tasks;
    TaskView view{&host};
    MyCollectionView collection{&host};
};

// A task's state as an item reports it, for the states the queue uses for
// itself and never shows.
class StateOnly final : public FileItemTask
{
public:
    explicit StateOnly(int state) : m_state(state) {}
    int taskState() const override { return m_state; }
    int taskKind() const override { return ConvertKind; }
    QString taskStateText() const override { return QStringLiteral("-"); }

private:
    int m_state;
};

} // namespace

class TestTaskView : public QObject
{
    Q_OBJECT

private:
    TestSupport::TaskFiles m_files;
    std::unique_ptr<TestSupport::FolderPhones> m_phones;
    TestSupport::GatedProgress m_progress;

    QString card() const { return m_phones->memoryFolder(QStringLiteral("p"), 1) + QStringLiteral("/Videos"); }

    // A My collection video on the PC, in the collection folder.
    FileItem *collected(const QString &name)
    {
        const QString path = m_files.collection() + QLatin1Char('/') + name;
        if (!QFile::exists(path))
            QFile::copy(m_files.clip, path);
        FileItem *item = Catalogue::instance().appendMyCollectionItem();
        item->pc.setFromFile(path);
        return item;
    }

    // A video on the phone's card and the My collection item that shows it.
    FileItem *onPhone(const QString &name)
    {
        QDir().mkpath(card());
        QFile::copy(m_files.clip, card() + QLatin1Char('/') + name);
        FileItem *item = Catalogue::instance().appendMyCollectionItem();
        item->phone.name = name;
        item->phone.path = QStringLiteral("\\\\E:\\Videos\\") + name;
        item->phone.suffix = QFileInfo(name).suffix();
        item->phone.size = QFileInfo(card() + QLatin1Char('/') + name).size();
        item->phone.created = item->phone.modified = QDateTime::currentDateTime();
        item->phone.found = true;
        return item;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(loadProgramTheme());
        m_files.setUp();
        CTaskJob::setProgressDisplay(&m_progress);
    }

    void init()
    {
        m_progress.reset();
        TestSupport::attachCurrentPhone(m_phones, QStringLiteral("356000000000078"));
    }

    void cleanup()
    {
        Catalogue::instance().scanResults.clear();
        Catalogue::instance().myCollection.clear();
        m_files.emptyCollection();
        m_phones.reset();
    }

    void aConversionAddsToMyCollection()
    {
        Lists lists;
        lists.collection.refill();
        FileItem *scanned = m_files.scanned(m_files.copyOf(m_files.clip, QStringLiteral("holiday.avi")));
        QCOMPARE(lists.tasks.addTasks({scanned}, lists.view.items(), ConvertKind), 0);
        QCOMPARE(lists.view.topLevelItemCount(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(lists.ended(), 120000);
        QCOMPARE(lists.view.topLevelItem(0)->text(3), QStringLiteral("Conversion done"));
        const QList<TreeItem *> rows = lists.collection.fileRows();
        QCOMPARE(rows.size(), 1);
        const FileItem *converted = rows.first()->fileItem();
        QCOMPARE(converted->pc.path, m_files.collection() + QStringLiteral("/holiday.mp4"));
        QVERIFY(QFile::exists(converted->pc.path));
        QCOMPARE(Catalogue::instance().myCollection.size(), 1);
        QVERIFY(lists.host.statusRefreshes > 0);
        // The task row stays, with its last text; the scheduler has let go.
        QCOMPARE(lists.view.fileRows().size(), 1);
    }

    void copiesAndDeletionsUpdateTheirRows_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("copy to the phone") << int(CopyToPhoneKind);
        QTest::newRow("copy to the PC") << int(CopyToPcKind);
        QTest::newRow("delete on the phone") << int(DeletePhoneKind);
        QTest::newRow("delete on the PC") << int(DeletePcKind);
    }
    void copiesAndDeletionsUpdateTheirRows()
    {
        QFETCH(int, kind);
        Lists lists;
        FileItem *item = nullptr;
        if (kind == CopyToPhoneKind || kind == DeletePcKind)
            item = collected(QStringLiteral("beach.mp4"));
        else
            item = onPhone(QStringLiteral("beach.mp4"));
        const QUuid id = item->uuid;
        lists.collection.refill();
        lists.host.playWhenCopied(id);
        QCOMPARE(lists.tasks.addTasks({item}, {}, kind), 0);
        QTRY_VERIFY_WITH_TIMEOUT(lists.ended(), 60000);
        TreeItem *row = lists.collection.rowOf(id);
        const QString pcCopy = m_files.collection() + QStringLiteral("/beach.mp4");
        const QString phoneCopy = card() + QStringLiteral("/beach.mp4");
        switch (kind) {
        case CopyToPhoneKind:
            QVERIFY(QFile::exists(phoneCopy));
            QVERIFY(row);
            QCOMPARE(row->fileItem()->location(), FileItem::Both);
            QCOMPARE(row->fileItem()->phone.path, QStringLiteral("\\\\E:\\Videos\\beach.mp4"));
            QCOMPARE(lists.collection.storageButtons(row)->phoneAction(), int(DeletePhoneKind));
            break;
        case CopyToPcKind:
            QVERIFY(QFile::exists(pcCopy));
            QVERIFY(row);
            QCOMPARE(row->fileItem()->pc.path, pcCopy);
            QCOMPARE(row->fileItem()->location(), FileItem::Both);
            QCOMPARE(lists.collection.storageButtons(row)->pcAction(), int(DeletePcKind));
            // The double click had asked for it to be played once copied.
            QCOMPARE(lists.host.played, QStringList{pcCopy});
            break;
        case DeletePhoneKind:
        case DeletePcKind:
            QVERIFY(!QFile::exists(kind == DeletePhoneKind ? phoneCopy : pcCopy));
            // On neither side any more: the row, its group and the entry are gone.
            QVERIFY(!row);
            QCOMPARE(lists.collection.topLevelItemCount(), 0);
            QVERIFY(!Catalogue::instance().myCollection.find(id));
            break;
        }
    }

    // The same video is not queued twice while its task is not done: here
    // its copy to the phone is held while it runs.
    void aVideoIsNotQueuedTwice()
    {
        Lists lists;
        FileItem *item = collected(QStringLiteral("twice.mp4"));
        lists.collection.refill();
        lists.collection.setCurrentItem(lists.collection.rowOf(item->uuid));
        m_progress.holdCopy = true;
        lists.collection.menu_copy2Phone();
        QVERIFY(m_progress.arrived.tryAcquire(1, 30000));
        lists.collection.menu_copy2Phone();
        QCOMPARE(lists.tasks.tasks().size(), 1);
        m_progress.resume.release();
        QTRY_VERIFY_WITH_TIMEOUT(lists.ended(), 60000);
        QVERIFY(QFile::exists(card() + QStringLiteral("/twice.mp4")));
    }

    // A task ending while My collection is rebuilt leaves the list to a
    // second rebuild, which sees the files as the task left them.
    void aTaskEndingDuringARebuildAsksForAnother()
    {
        Lists lists;
        lists.host.building = true;
        FileItem *scanned = m_files.scanned(m_files.copyOf(m_files.clip, QStringLiteral("late.avi")));
        QCOMPARE(lists.tasks.addTasks({scanned}, {}, ConvertKind), 0);
        QTRY_VERIFY_WITH_TIMEOUT(lists.ended(), 120000);
        QCOMPARE(lists.host.fills, 1);
        QVERIFY(Catalogue::instance().myCollection.isEmpty());
        QCOMPARE(lists.collection.topLevelItemCount(), 0);
        QVERIFY(QFile::exists(m_files.collection() + QStringLiteral("/late.mp4")));
    }

    void aFailedTaskChangesNoList()
    {
        Lists lists;
        FileItem *item = collected(QStringLiteral("gone.mp4"));
        lists.collection.refill();
        QFile::remove(item->pc.path);
        QCOMPARE(lists.tasks.addTasks({item}, {}, CopyToPhoneKind), 0);
        QTRY_VERIFY_WITH_TIMEOUT(lists.ended(), 60000);
        QCOMPARE(lists.view.topLevelItem(0)->text(3), TaskState::text(CopyFailed));
        TreeItem *row = lists.collection.rowOf(item->uuid);
        QVERIFY(row);
        QCOMPARE(row->fileItem()->location(), FileItem::PcOnly);
    }

    void internalStatesAreNotShown()
    {
        Lists lists;
        FileItem item;
        item.pc.name = QStringLiteral("x.avi");
        StateOnly internal(0x1000013);
        item.task = &internal;
        lists.view.taskViewUpdatedSlot(&item, false);
        QCOMPARE(lists.view.topLevelItemCount(), 0);
        StateOnly dropped(Cancelled);
        item.task = &dropped;
        lists.view.taskViewUpdatedSlot(&item, true);
        QCOMPARE(lists.view.topLevelItemCount(), 0);
    }

    void theSelectionSetsTheCancelEntries()
    {
        Lists lists;
        m_progress.holdConversion = true;
        FileItem *scanned = m_files.scanned(m_files.copyOf(m_files.clip, QStringLiteral("held.avi")));
        lists.tasks.addTasks({scanned}, {}, ConvertKind);
        QVERIFY(m_progress.arrived.tryAcquire(1, 30000));
        lists.view.clearSelection();
        QVERIFY(lists.host.enabled("actionCancelAll"));
        QVERIFY(!lists.host.enabled("actionCancel"));
        QCOMPARE(lists.host.button("toolButton_DeleteTasks")->toolTip(), QStringLiteral("Cancel all tasks"));
        lists.view.topLevelItem(0)->setSelected(true);
        QVERIFY(lists.host.enabled("actionCancel"));
        QVERIFY(!lists.host.enabled("actionClearCompleted"));
        QCOMPARE(lists.host.button("toolButton_DeleteTasks")->toolTip(), QStringLiteral("Cancel selected task(s)"));
        m_progress.resume.release();
        lists.tasks.cancelAll();
    }

    // Dragging a waiting task to the front of the list moves it to the front
    // of the waiting tasks.
    void droppingReordersTheQueue()
    {
        Lists lists;
        lists.host.show(&lists.view);
        m_progress.holdConversion = true;
        QList<FileItem *> items;
        for (const char *name : {"one.avi", "two.avi", "three.avi"})
            items << m_files.scanned(m_files.copyOf(m_files.clip, QLatin1String(name)));
        lists.tasks.addTasks(items, {}, ConvertKind);
        QVERIFY(m_progress.arrived.tryAcquire(1, 30000)); // "one" converts, held
        QCOMPARE(lists.view.topLevelItemCount(), 3);
        lists.view.clearSelection();
        lists.view.topLevelItem(2)->setSelected(true);
        dropSelectionAbove(lists.view, lists.view.topLevelItem(1));
        QStringList queue;
        for (CTaskItem *task : lists.tasks.tasks())
            queue << task->item()->pc.name;
        QCOMPARE(queue, (QStringList{QStringLiteral("one"), QStringLiteral("three"), QStringLiteral("two")}));
        m_progress.resume.release();
        lists.tasks.cancelAll();
    }
};

QTEST_MAIN(TestTaskView)
#include "tst_taskview.moc"
