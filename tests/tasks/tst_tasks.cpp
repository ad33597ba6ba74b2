#include "taskfixture.h"
#include "taskitem.h"
#include "taskjobs.h"
#include "taskmanager.h"
#include "taskprogress.h"
#include "taskstates.h"

#include <QElapsedTimer>
#include <QTest>

using namespace TaskState;

namespace {

// Progress as the jobs report it. A real implementation of the display
// interface (the bar itself is tested with the widgets).
class RecordingProgress final : public TaskProgress
{
public:
    void copyStarted(const QString &fileName) override { add(QStringLiteral("copy ") + fileName); }
    void copyProgress(int percent) override { lastCopyPercent = percent; }
    void copyFinished() override { add(QStringLiteral("copy end")); }
    void conversionStarted(const QString &path) override { add(QStringLiteral("convert ") + path); }
    void conversionFinished() override { add(QStringLiteral("convert end")); }
    QObject *conversionProgressTarget() override { return nullptr; }

    QStringList log() const
    {
        QMutexLocker lock(&m_lock);
        return m_log;
    }
    std::atomic<int> lastCopyPercent{-1};

private:
    void add(const QString &line)
    {
        QMutexLocker lock(&m_lock);
        m_log << line;
    }
    mutable QMutex m_lock;
    QStringList m_log;
};

// Every state a task passes through, with when it was seen, recorded on the
// task's own thread as it happens.
class StateLog
{
public:
    void watch(CTaskItem *task)
    {
        QObject::connect(task, &CTaskItem::taskViewUpdatedSlot, task,
                         [this, task](FileItem *, bool final) { record(task, task->state(), final); },
                         Qt::DirectConnection);
    }
    struct Entry
    {
        CTaskItem *task;
        int state;
        bool final;
        qint64 at;
    };
    QList<Entry> entries() const
    {
        QMutexLocker lock(&m_lock);
        return m_entries;
    }
    QList<int> statesOf(CTaskItem *task) const
    {
        QList<int> states;
        for (const Entry &e : entries()) {
            if (e.task == task && (states.isEmpty() || states.last() != e.state))
                states << e.state;
        }
        return states;
    }
    qint64 firstAt(CTaskItem *task, int state) const
    {
        for (const Entry &e : entries()) {
            if (e.task == task && e.state == state)
                return e.at;
        }
        return -1;
    }

private:
    void record(CTaskItem *task, int state, bool final)
    {
        QMutexLocker lock(&m_lock);
        m_entries.append({task, state, final, m_clock.nsecsElapsed()});
    }
    mutable QMutex m_lock;
    QList<Entry> m_entries;
    QElapsedTimer m_clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
};

} // namespace

// The task queue with real threads, real conversions of generated clips and
// a real folder phone.
class TestTasks : public QObject
{
    Q_OBJECT

private:
    TestSupport::TaskFiles m_files;
    std::unique_ptr<TestSupport::FolderPhones> m_phones;
    RecordingProgress m_progress;

    QString card() const { return m_phones->memoryFolder(QStringLiteral("p"), 1) + QStringLiteral("/Videos"); }

    static void waitForAll(CTaskManager &manager)
    {
        QTRY_VERIFY_WITH_TIMEOUT(manager.allFinished(), 120000);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_files.setUp();
        CTaskJob::setProgressDisplay(&m_progress);
    }

    void init()
    {
        TestSupport::attachCurrentPhone(m_phones, QStringLiteral("356000000000077"));
        QCOMPARE(Catalogue::instance().memoryIndex, 1);
    }

    void cleanup()
    {
        Catalogue::instance().scanResults.clear();
        Catalogue::instance().myCollection.clear();
        m_files.emptyCollection();
        m_phones.reset();
    }

    void stateTexts_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("text");
        QTest::addRow("pending") << int(PendingCopyToPc) << QStringLiteral("Pending...");
        QTest::addRow("converting") << int(Converting) << QStringLiteral("Converting...");
        QTest::addRow("copying to pc") << int(CopyingToPc) << QStringLiteral("Copying...");
        QTest::addRow("deleting") << int(DeletingOnPc) << QStringLiteral("Deleting...");
        QTest::addRow("copy done") << int(CopyToPcDone) << QStringLiteral("Copying done");
        QTest::addRow("cancelled") << int(Cancelled) << QStringLiteral("Completed.");
        QTest::addRow("deleted") << int(DeletionDone) << QStringLiteral("Deletion Successful");
        QTest::addRow("conversion failed") << int(ConversionFailed) << QStringLiteral("Conversion Failed");
        QTest::addRow("other") << 0x42 << QStringLiteral("Unknown");
    }
    void stateTexts()
    {
        QFETCH(int, state);
        QFETCH(QString, text);
        QCOMPARE(TaskState::text(state), text);
    }

    void convertThenCopyToTheSelectedMemory()
    {
        // My collection already has clip.mp4: the conversion writes clip (1).mp4
        // and the copy that follows sends that file to the card.
        MediaClips::make(m_files.collection() + QStringLiteral("/clip.mp4"));
        FileItem *item = m_files.scanned(m_files.copyOf(m_files.clip, QStringLiteral("clip.avi")));
        CTaskManager manager;
        QList<QPair<QString, bool>> rows;
        QObject view;
        manager.setViewReceiver(&view, [&](FileItem *row, bool final) { rows.append({row->taskStateText(), final}); });
        StateLog log;
        QCOMPARE(manager.addTasks({item}, {}, ConvertAndCopyKind), 0);
        CTaskItem *task = manager.tasks().value(0);
        QVERIFY(task);
        log.watch(task);
        waitForAll(manager);
        QCOMPARE(task->state(), int(CopyToPhoneDone));
        QCOMPARE(log.statesOf(task), (QList<int>{Converting, PendingCopyToPhone, CopyingToPhone, CopyToPhoneDone}));
        const QString converted = m_files.collection() + QStringLiteral("/clip (1).mp4");
        QVERIFY(QFile::exists(converted));
        // The task's shown item follows on the main thread.
        QTRY_COMPARE(task->item()->pc.targetPath, converted);
        QVERIFY(QFile::exists(card() + QStringLiteral("/clip (1).mp4")));
        QTRY_VERIFY(!rows.isEmpty() && rows.last().second);
        // Between the two steps the row is not final.
        for (const auto &row : rows) {
            if (row.first == QLatin1String("Pending..."))
                QVERIFY(!row.second);
        }
        QCOMPARE(rows.last().first, QStringLiteral("Copying done"));
        QVERIFY(m_progress.log().contains(QStringLiteral("copy clip (1).mp4")));
        // The queued item itself keeps its own path; the task works on a copy.
        QCOMPARE(item->pc.path, m_files.filePath(QStringLiteral("clip.avi")));
    }

    void oneConversionAndOneCopyAtATime()
    {
        FileItem *first = m_files.scanned(m_files.copyOf(m_files.longClip, QStringLiteral("first.mp4")));
        FileItem *second = m_files.scanned(m_files.copyOf(m_files.clip, QStringLiteral("second.avi")));
        FileItem *copy = m_files.scanned(m_files.copyOf(m_files.clip, QStringLiteral("tocopy.avi")));
        CTaskManager manager;
        StateLog log;
        manager.addTasks({first, second}, {}, ConvertKind);
        const QList<CTaskItem *> conversions = manager.tasks();
        for (CTaskItem *t : conversions)
            log.watch(t);
        QTRY_COMPARE_WITH_TIMEOUT(conversions.at(0)->state(), int(Converting), 30000);
        QCOMPARE(conversions.at(1)->state(), int(PendingConversion));
        manager.addTasks({copy}, {}, CopyToPhoneKind);
        CTaskItem *copier = manager.tasks().last();
        log.watch(copier);
        waitForAll(manager);
        QCOMPARE(conversions.at(0)->state(), int(ConversionDone));
        QCOMPARE(conversions.at(1)->state(), int(ConversionDone));
        QCOMPARE(copier->state(), int(CopyToPhoneDone));
        // The second conversion began only after the first had ended; the copy
        // ran while the first conversion did.
        QVERIFY(log.firstAt(conversions.at(1), Converting) > log.firstAt(conversions.at(0), ConversionDone));
        QVERIFY(log.firstAt(copier, CopyToPhoneDone) < log.firstAt(conversions.at(0), ConversionDone));
    }

    void duplicatesAreSkipped()
    {
        FileItem *item = m_files.scanned(m_files.copyOf(m_files.longClip, QStringLiteral("dup.mp4")));
        CTaskManager manager;
        manager.addTasks({item}, {}, ConvertKind);
        // The Tasks view shows the task's own copy of the item.
        FileItem *shown = manager.tasks().first()->item();
        QVERIFY(!manager.allFinished());
        QCOMPARE(manager.addTasks({item}, {shown}, ConvertKind), 1);
        QCOMPARE(manager.tasks().size(), 1);
        waitForAll(manager);
        // A finished one may be queued again.
        QCOMPARE(manager.addTasks({item}, {shown}, ConvertKind), 0);
        QCOMPARE(manager.tasks().size(), 2);
        QVERIFY(!manager.allFinished());
        manager.cancelAll();
        QVERIFY(manager.allFinished());
    }

    void cancellingARunningCopyLeavesNothingOnThePhone()
    {
        FileItem *item = m_files.scanned(m_files.bigFile(QStringLiteral("huge.mp4"), 1500LL << 20));
        CTaskManager manager;
        QList<FileItem *> finalRows;
        QObject view;
        manager.setViewReceiver(&view, [&](FileItem *row, bool final) {
            if (final)
                finalRows << row;
        });
        m_progress.lastCopyPercent = -1;
        manager.addTasks({item}, {}, CopyToPhoneKind);
        CTaskItem *task = manager.tasks().first();
        QTRY_VERIFY_WITH_TIMEOUT(m_progress.lastCopyPercent >= 1, 60000);
        if (task->state() != CopyingToPhone)
            QSKIP("the copy finished before it could be cancelled");
        manager.cancelTasks({task});
        QCOMPARE(task->state(), int(Cancelled));
        QCOMPARE(task->taskStateText(), QStringLiteral("Completed."));
        QVERIFY(manager.tasks().isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(task->isFinished(), 60000);
        QCOMPARE(task->state(), int(Cancelled));
        QCOMPARE(MediaClips::allEntries(card()), QStringList());
        QTest::qWait(0);
    }

    void dropNeverGoesAheadOfRunningTasks()
    {
        FileItem *converting = m_files.scanned(m_files.copyOf(m_files.longClip, QStringLiteral("run1.mp4")));
        FileItem *copying = m_files.scanned(m_files.bigFile(QStringLiteral("run2.mp4"), 600LL << 20));
        FileItem *waitingA = m_files.scanned(m_files.copyOf(m_files.clip, QStringLiteral("waitA.avi")));
        FileItem *waitingB = m_files.scanned(m_files.copyOf(m_files.clip, QStringLiteral("waitB.avi")));
        CTaskManager manager;
        manager.addTasks({converting}, {}, ConvertKind);
        manager.addTasks({copying}, {}, CopyToPhoneKind);
        manager.addTasks({waitingA, waitingB}, {}, ConvertKind);
        const QList<CTaskItem *> before = manager.tasks();
        // The copy may already be done; running or done, it stays ahead.
        QTRY_VERIFY_WITH_TIMEOUT(before.at(0)->state() == Converting && !isPending(before.at(1)->state()), 30000);
        QVERIFY(!manager.moveTasks({waitingB}, -1));
        QVERIFY(!manager.moveTasks({waitingB}, 4));
        QVERIFY(manager.moveTasks({waitingB}, 0));
        const QList<CTaskItem *> after = manager.tasks();
        QCOMPARE(after, (QList<CTaskItem *>{before.at(0), before.at(1), before.at(3), before.at(2)}));
        manager.cancelAll();
        QVERIFY(manager.tasks().isEmpty());
        QCOMPARE(MediaClips::allEntries(card()), QStringList());
    }

    void copyToARemovedPhoneFails()
    {
        FileItem *item = m_files.scanned(m_files.copyOf(m_files.clip, QStringLiteral("late.avi")));
        m_phones->removePhone(QStringLiteral("p"));
        CTaskManager manager;
        manager.addTasks({item}, {}, CopyToPhoneKind);
        waitForAll(manager);
        QCOMPARE(manager.tasks().first()->state(), int(CopyFailed));
        QCOMPARE(manager.tasks().first()->item()->taskStateText(), QStringLiteral("Copy Failed"));
    }

    void deletions()
    {
        const QString pcFile = m_files.copyOf(m_files.clip, QStringLiteral("bin.avi"));
        FileItem *onPc = m_files.scanned(pcFile);
        TestSupport::writeFile(card() + QStringLiteral("/old.mp4"), QByteArray(100, 'o'));
        FileItem *onPhone = Catalogue::instance().appendMyCollectionItem();
        onPhone->phone.path = QStringLiteral("\\\\E:\\Videos\\old.mp4");
        onPhone->phone.name = QStringLiteral("old.mp4");
        FileItem *missing = m_files.scanned(pcFile);
        CTaskManager manager;
        manager.addTasks({onPc}, {}, DeletePcKind);
        waitForAll(manager);
        manager.addTasks({onPhone}, {}, DeletePhoneKind);
        manager.addTasks({missing}, {}, DeletePcKind);
        waitForAll(manager);
        const QList<CTaskItem *> tasks = manager.tasks();
        QCOMPARE(tasks.at(0)->state(), int(DeletionDone));
        QCOMPARE(tasks.at(1)->state(), int(DeletionDone));
        QCOMPARE(tasks.at(2)->state(), int(DeletionFailed));
        QVERIFY(!QFile::exists(pcFile));
        QVERIFY(!QFile::exists(card() + QStringLiteral("/old.mp4")));
    }

    void finishedTasksSeenByTheViewAreDropped()
    {
        FileItem *item = m_files.scanned(m_files.copyOf(m_files.clip, QStringLiteral("seen.avi")));
        CTaskManager manager;
        manager.addTasks({item}, {}, CopyToPhoneKind);
        waitForAll(manager);
        CTaskItem *task = manager.tasks().first();
        // The view marks what it has shown; the next pass drops it.
        task->setState(Cancelled);
        manager.notify(task);
        QTRY_VERIFY_WITH_TIMEOUT(manager.tasks().isEmpty(), 10000);
    }
};

QTEST_GUILESS_MAIN(TestTasks)
#include "tst_tasks.moc"
