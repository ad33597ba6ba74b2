#include "scanthread.h"
#include "taskfixture.h"
#include "taskitem.h"
#include "taskjobs.h"
#include "taskmanager.h"
#include "taskstates.h"

#include <QTest>

using namespace TaskState;

namespace {

// Stands in for the main window: counts the rebuilds it is told of and
// looks at My collection as it is then.
class Window final : public QObject
{
public:
    bool event(QEvent *e) override
    {
        if (e->type() != MyCollectionThread::Rebuilt)
            return QObject::event(e);
        ++rebuilt;
        sizeWhenRebuilt = Catalogue::instance().myCollection.size();
        return true;
    }
    int rebuilt = 0;
    int sizeWhenRebuilt = -1;
};

} // namespace

// The My collection builder and a conversion task at work while the main
// thread keeps rebuilding My collection itself: each works on what it was
// given, so nothing is read while it is changed (run it under
// ThreadSanitizer as well).
class TestCatalogueRaces : public QObject
{
    Q_OBJECT

private:
    TestSupport::TaskFiles m_files;
    std::unique_ptr<TestSupport::FolderPhones> m_phones;
    TestSupport::GatedProgress m_progress;

private Q_SLOTS:
    void initTestCase()
    {
        m_files.setUp();
        CTaskJob::setProgressDisplay(&m_progress);
        TestSupport::attachCurrentPhone(m_phones, QStringLiteral("356000000000080"));
        // Enough videos that listing them takes the builder a while.
        const QString card = m_phones->memoryFolder(QStringLiteral("p"), 1) + QStringLiteral("/Videos");
        for (int i = 0; i < 400; ++i)
            TestSupport::writeFile(card + QStringLiteral("/v%1.mp4").arg(i), QByteArray(100 + i, 'v'));
        TestSupport::writeFile(card + QStringLiteral("/clip.mp4"), "on the phone");
        for (int i = 0; i < 50; ++i)
            TestSupport::writeFile(m_files.collection() + QStringLiteral("/pc%1.mp4").arg(i), QByteArray(10 + i, 'p'));
    }

    void cleanupTestCase() { m_phones.reset(); }

    void builderAndConversionWhileTheMainThreadRebuilds()
    {
        Catalogue &c = Catalogue::instance();
        QVERIFY(c.refreshMyCollection());
        const int whole = c.myCollection.size();
        QCOMPARE(whole, 401 + 50);
        QVERIFY(c.hasPhoneName(QStringLiteral("clip")));

        FileItem *item = TestSupport::TaskFiles::scanned(m_files.copyOf(m_files.clip, QStringLiteral("clip.avi")));

        Window window;
        CTaskManager manager;
        // Queued while My collection knows the phone's clip.mp4.
        manager.addTasks({item}, {}, ConvertKind);
        CTaskItem *task = manager.tasks().first();
        MyCollectionThread builder(&window);
        builder.start();
        int rebuildsHere = 0;
        while (window.rebuilt == 0 || !isFinal(task->state())) {
            QVERIFY(c.refreshMyCollection());
            c.clearMyCollection();
            QVERIFY(c.buildMyCollection());
            ++rebuildsHere;
            QCoreApplication::processEvents();
            QVERIFY(rebuildsHere < 100000);
        }
        QVERIFY(builder.wait(60000));

        QCOMPARE(task->state(), int(ConversionDone));
        // The name the phone's video has was kept free.
        QTRY_COMPARE_WITH_TIMEOUT(task->item()->pc.targetPath, m_files.collection() + QStringLiteral("/clip (1).mp4"), 10000);
        QVERIFY(QFile::exists(m_files.collection() + QStringLiteral("/clip (1).mp4")));
        // The builder's list became My collection whole, as the window was told.
        QCOMPARE(window.rebuilt, 1);
        QVERIFY(window.sizeWhenRebuilt >= whole);
        QVERIFY(c.refreshMyCollection());
        QCOMPARE(c.myCollection.size(), whole + 1);
    }
};

QTEST_GUILESS_MAIN(TestCatalogueRaces)
#include "tst_catalogueraces.moc"
