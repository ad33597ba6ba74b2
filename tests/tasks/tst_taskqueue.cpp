#include "taskfixture.h"
#include "taskitem.h"
#include "taskjobs.h"
#include "taskmanager.h"
#include "taskstates.h"

#include <QTest>

using namespace TaskState;

// Cancels that land at every moment of a conversion and of a copy, and the
// reordering of queued tasks, with real threads, real conversions and a real
// folder phone.
class TestTaskQueue : public QObject
{
    Q_OBJECT

private:
    TestSupport::TaskFiles m_files;
    std::unique_ptr<TestSupport::FolderPhones> m_phones;
    TestSupport::GatedProgress m_progress;

    QString card() const { return m_phones->memoryFolder(QStringLiteral("p"), 1) + QStringLiteral("/Videos"); }

    static CTaskItem *taskOf(CTaskManager &manager, const FileItem *item)
    {
        for (CTaskItem *task : manager.tasks()) {
            if (task->item()->uuid == item->uuid)
                return task;
        }
        return nullptr;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_files.setUp();
        CTaskJob::setProgressDisplay(&m_progress);
    }

    void init()
    {
        m_files.emptyCollection();
        m_progress.reset();
        TestSupport::attachCurrentPhone(m_phones, QStringLiteral("356000000000078"));
        QCOMPARE(Catalogue::instance().memoryIndex, 1);
    }

    void cleanup()
    {
        Catalogue::instance().scanResults.clear();
        Catalogue::instance().myCollection.clear();
        m_phones.reset();
    }

    void conversionCancelledAtEveryMoment_data()
    {
        QTest::addColumn<QString>("moment");
        QTest::addRow("at once") << QStringLiteral("at once");
        QTest::addRow("before the source is open") << QStringLiteral("before open");
        QTest::addRow("while the source blocks the open") << QStringLiteral("during open");
        QTest::addRow("mid-conversion") << QStringLiteral("mid-conversion");
    }
    void conversionCancelledAtEveryMoment()
    {
        // Whenever the cancel comes, nothing of the cancelled conversion is
        // written, and the conversion queued next starts only once the
        // cancelled one has stopped: never two at once.
        QFETCH(QString, moment);
        QString source;
        MediaClips::StalledFifo fifo(m_files.filePath(QStringLiteral("stream.mp4")));
        if (moment == QLatin1String("during open")) {
            // It is never given enough: its open never ends by itself.
            QVERIFY(fifo.made());
            source = fifo.path();
        } else {
            source = m_files.copyOf(moment == QLatin1String("mid-conversion") ? m_files.longClip : m_files.clip, QStringLiteral("first.avi"));
        }
        FileItem *first = m_files.scanned(source);
        FileItem *second = m_files.scanned(m_files.copyOf(m_files.clip, QStringLiteral("second.avi")));
        m_progress.holdConversion = moment == QLatin1String("before open");
        CTaskManager manager;
        manager.addTasks({first}, {}, ConvertKind);
        CTaskItem *cancelled = manager.tasks().value(0);
        QVERIFY(cancelled);

        if (moment == QLatin1String("before open")) {
            QVERIFY(m_progress.arrived.tryAcquire(1, 60000));
        } else if (moment == QLatin1String("during open")) {
            // The converter holds the FIFO, has read what it was given and
            // waits for more.
            QTRY_VERIFY_WITH_TIMEOUT(fifo.openWriter(), 60000);
            QFile header(m_files.longClip);
            QVERIFY(header.open(QIODevice::ReadOnly));
            QVERIFY(fifo.feed(header.read(64)));
            QTRY_COMPARE_WITH_TIMEOUT(fifo.unread(), 0, 60000);
        } else if (moment == QLatin1String("mid-conversion")) {
            QTRY_VERIFY_WITH_TIMEOUT(m_progress.events.count >= 3, 60000);
        }
        manager.cancelTasks({cancelled});
        QCOMPARE(cancelled->state(), int(Cancelled));
        manager.addTasks({second}, {}, ConvertKind);
        CTaskItem *next = taskOf(manager, second);
        QVERIFY(next);
        if (moment == QLatin1String("before open"))
            m_progress.resume.release();

        QVERIFY(cancelled->wait(60000));
        QTRY_COMPARE_WITH_TIMEOUT(next->state(), int(ConversionDone), 120000);
        QCOMPARE(cancelled->state(), int(Cancelled));
        QCOMPARE(m_progress.maxConversions.load(), 1);
        QCOMPARE(MediaClips::allEntries(m_files.collection()), QStringList(QStringLiteral("second.mp4")));
    }

    void copyCancelledAtEveryMoment_data()
    {
        QTest::addColumn<QString>("moment");
        QTest::addRow("at once") << QStringLiteral("at once");
        QTest::addRow("before the copy starts") << QStringLiteral("before copy");
        QTest::addRow("during the free-space query") << QStringLiteral("free space");
        QTest::addRow("mid-copy") << QStringLiteral("mid-copy");
    }
    void copyCancelledAtEveryMoment()
    {
        // Whenever the cancel comes, the new file never lands on the phone
        // and no piece of it stays there.
        QFETCH(QString, moment);
        QDir().mkpath(card());
        const bool replacing = moment == QLatin1String("free space");
        if (replacing) {
            // The phone has a file of that name, so the copy first asks how
            // much room there is; a full memory card makes that take a while.
            TestSupport::writeFile(card() + QStringLiteral("/movie.mp4"), "old copy");
            const QString filler = m_phones->memoryFolder(QStringLiteral("p"), 1) + QStringLiteral("/filler");
            QDir().mkpath(filler);
            for (int i = 0; i < 3000; ++i)
                TestSupport::writeFile(filler + QStringLiteral("/f%1").arg(i), "x");
        }
        const qint64 size = moment == QLatin1String("mid-copy") ? (512LL << 20) : (8LL << 20);
        FileItem *item = m_files.scanned(m_files.bigFile(QStringLiteral("movie.mp4"), size));
        m_progress.holdCopy = moment != QLatin1String("at once") && moment != QLatin1String("mid-copy");
        CTaskManager manager;
        manager.addTasks({item}, {}, CopyToPhoneKind);
        CTaskItem *task = manager.tasks().value(0);
        QVERIFY(task);
        if (moment == QLatin1String("before copy")) {
            QVERIFY(m_progress.arrived.tryAcquire(1, 60000));
        } else if (replacing) {
            // Let the job go on into the copy and cancel while it asks.
            QVERIFY(m_progress.arrived.tryAcquire(1, 60000));
            m_progress.resume.release();
        } else if (moment == QLatin1String("mid-copy")) {
            QTRY_VERIFY_WITH_TIMEOUT(m_progress.lastCopyPercent >= 1, 60000);
            if (task->state() != CopyingToPhone)
                QSKIP("the copy ended before it could be cancelled");
        }
        manager.cancelTasks({task});
        if (moment == QLatin1String("before copy"))
            m_progress.resume.release();
        QVERIFY(task->wait(60000));
        QCOMPARE(task->state(), int(Cancelled));
        // Nothing new; at most the old copy, whole.
        const QStringList left = MediaClips::allEntries(card());
        QVERIFY2(left.isEmpty() || (replacing && left == QStringList(QStringLiteral("movie.mp4"))),
                 qPrintable(left.join(QLatin1Char(','))));
        if (!left.isEmpty())
            QCOMPARE(TestSupport::readAll(card() + QStringLiteral("/movie.mp4")), QByteArray("old copy"));
    }

    void movingOnePhoneOnlyTaskMovesOnlyThatOne()
    {
        // Phone-only items all have an empty PC path; a drop must move the
        // dropped task alone.
        QList<FileItem *> phoneOnly;
        for (const QString &name : {QStringLiteral("a.mp4"), QStringLiteral("b.mp4"), QStringLiteral("c.mp4")}) {
            TestSupport::writeFile(card() + QLatin1Char('/') + name, "video");
            FileItem *item = Catalogue::instance().appendMyCollectionItem();
            item->phone.name = name;
            item->phone.path = QStringLiteral("\\\\E:\\Videos\\") + name;
            phoneOnly << item;
        }
        // A copy held at its start keeps the copy class busy, so the three
        // copies to the PC stay pending.
        FileItem *busy = m_files.scanned(m_files.bigFile(QStringLiteral("busy.mp4"), 1 << 20));
        m_progress.holdCopy = true;
        CTaskManager manager;
        manager.addTasks({busy}, {}, CopyToPhoneKind);
        QVERIFY(m_progress.arrived.tryAcquire(1, 60000));
        manager.addTasks(phoneOnly, {}, CopyToPcKind);
        const QList<CTaskItem *> before = manager.tasks();
        QCOMPARE(before.size(), 4);
        for (int i = 1; i < 4; ++i)
            QCOMPARE(before.at(i)->state(), int(PendingCopyToPc));

        QVERIFY(manager.moveTasks({before.at(3)->item()}, 1));
        QCOMPARE(manager.tasks(), (QList<CTaskItem *>{before.at(0), before.at(3), before.at(1), before.at(2)}));
        // The catalogue's own item finds its task just as well.
        QVERIFY(manager.moveTasks({phoneOnly.at(1)}, 0));
        QCOMPARE(manager.tasks(), (QList<CTaskItem *>{before.at(0), before.at(2), before.at(3), before.at(1)}));

        m_progress.resume.release();
        QTRY_VERIFY_WITH_TIMEOUT(manager.allFinished(), 60000);
        for (const QString &name : {QStringLiteral("a.mp4"), QStringLiteral("b.mp4"), QStringLiteral("c.mp4")})
            QVERIFY(QFile::exists(m_files.collection() + QLatin1Char('/') + name));
    }
};

QTEST_GUILESS_MAIN(TestTaskQueue)
#include "tst_taskqueue.moc"
