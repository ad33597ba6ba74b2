#include "taskfixture.h"
#include "taskitem.h"
#include "taskmanager.h"
#include "taskstates.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace TaskState;

// Starting, cancelling and destroying tasks racing each other and the
// scheduler, over and over: quick deletions and copies, cancelled at random
// as the scheduler starts them. Meant to run under ThreadSanitizer and
// AddressSanitizer as well (TAMSEL_STRESS_ROUNDS sets how long).
class TestTaskStress : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TestSupport::FolderPhones> m_phones;

private Q_SLOTS:
    void initTestCase()
    {
        TestSupport::useBuiltLibrary();
        Settings::setMyCollectionFolder(m_dir.path());
        TestSupport::attachCurrentPhone(m_phones, QStringLiteral("356000000000079"));
    }

    void cleanupTestCase() { m_phones.reset(); }

    void startCancelAndDestroyRace_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::addRow("cancel all at once") << QStringLiteral("cancelAll");
        QTest::addRow("destroy the manager") << QStringLiteral("destroy");
        QTest::addRow("let the rest finish") << QStringLiteral("finish");
    }
    void startCancelAndDestroyRace()
    {
        QFETCH(QString, ending);
        const int configured = qEnvironmentVariableIntValue("TAMSEL_STRESS_ROUNDS");
        const int rounds = configured > 0 ? configured : 30;
        QRandomGenerator random(20261206);
        // Items of tasks destroyed in this round; no row update may name one.
        QSet<const FileItem *> gone;
        int strayUpdates = 0;
        const QString videos = m_phones->memoryFolder(QStringLiteral("p"), 1) + QStringLiteral("/Videos");

        for (int round = 0; round < rounds; ++round) {
            gone.clear();
            Catalogue::instance().scanResults.clear();
            QList<FileItem *> deletions;
            QList<FileItem *> copies;
            for (int i = 0; i < 24; ++i) {
                const QString path = m_dir.filePath(QStringLiteral("r%1-%2.mp4").arg(round).arg(i));
                TestSupport::writeFile(path, "v");
                FileItem *item = Catalogue::instance().appendScanResult();
                item->pc.setFromFile(path);
                (i % 4 == 0 ? copies : deletions) << item;
            }

            QObject view;
            auto manager = std::make_unique<CTaskManager>();
            manager->setViewReceiver(&view, [&](FileItem *row, bool) {
                // Reading the row's text touches the item, as a view does.
                if (row->taskStateText().isEmpty() || gone.contains(row))
                    ++strayUpdates;
            });
            manager->addTasks(deletions, {}, DeletePcKind);
            manager->addTasks(copies, {}, CopyToPhoneKind);
            const QList<CTaskItem *> all = manager->tasks();

            // Cancel about half of them while the scheduler is starting them.
            struct CancelledTask
            {
                CTaskItem *task;
                QString file;
                bool fileWasThere;
            };
            QList<CancelledTask> cancelled;
            for (CTaskItem *task : all) {
                if (random.bounded(2) == 0)
                    continue;
                manager->cancelTasks({task});
                const QString file = task->kind() == DeletePcKind ? task->item()->pc.path : QString();
                cancelled.append({task, file, !file.isEmpty() && QFile::exists(file)});
            }

            if (ending == QLatin1String("cancelAll")) {
                const QList<CTaskItem *> left = manager->tasks();
                QVERIFY(manager->cancelAll());
                for (CTaskItem *task : left)
                    gone.insert(task->item());
                QVERIFY(manager->tasks().isEmpty());
            } else if (ending == QLatin1String("finish")) {
                QTRY_VERIFY_WITH_TIMEOUT(manager->allFinished(), 60000);
            }

            // A cancel is never overwritten, and a deletion cancelled while its
            // file was still there never removes it later.
            for (const CancelledTask &c : cancelled) {
                QVERIFY(c.task->wait(60000));
                QCOMPARE(c.task->state(), int(Cancelled));
                if (c.fileWasThere)
                    QVERIFY2(QFile::exists(c.file), qPrintable(c.file));
            }
            // Deliver what the tasks queued once they are gone: nothing may
            // reach the view.
            for (CTaskItem *task : all)
                gone.insert(task->item());
            manager.reset();
            QCoreApplication::processEvents();
            for (const QString &name : TestSupport::everything(videos))
                QFile::remove(videos + QLatin1Char('/') + name);
        }
        QCOMPARE(strayUpdates, 0);
    }
};

QTEST_GUILESS_MAIN(TestTaskStress)
#include "tst_taskstress.moc"
