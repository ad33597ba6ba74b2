#include "catalogue.h"
#include "folderphones.h"
#include "mediaclips.h"
#include "phonemanagement.h"
#include "phonesinfo.h"
#include "scanthread.h"
#include "settingsstore.h"
#include "taskfixture.h"
#include "taskitem.h"
#include "taskjobs.h"
#include "taskmanager.h"
#include "taskstates.h"

#include <QTemporaryDir>
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
    QTemporaryDir m_dir;
    std::unique_ptr<TestSupport::FolderPhones> m_phones;
    TestSupport::GatedProgress m_progress;

    QString collection() const { return m_dir.filePath(QStringLiteral("collection")); }

private Q_SLOTS:
    void initTestCase()
    {
        TestSupport::useBuiltLibrary();
        qputenv("TAMSEL_CONVERTER_LIBRARY", qgetenv("TAMSEL_BIN_DIR") + "/libtamselconverter.so");
        Settings::setMyCollectionFolder(collection());
        QDir().mkpath(collection());
        CTaskJob::setProgressDisplay(&m_progress);
        m_phones = std::make_unique<TestSupport::FolderPhones>();
        m_phones->addPhone(QStringLiteral("p"), QStringLiteral("356000000000080"), QStringLiteral("Pocket"),
                           QStringLiteral("16"),
                           {{QStringLiteral("Phone memory"), 256LL << 20}, {QStringLiteral("Memory card"), 1LL << 30}});
        // Enough videos that listing them takes the builder a while.
        const QString card = m_phones->memoryFolder(QStringLiteral("p"), 1) + QStringLiteral("/Videos");
        for (int i = 0; i < 400; ++i)
            TestSupport::writeFile(card + QStringLiteral("/v%1.mp4").arg(i), QByteArray(100 + i, 'v'));
        TestSupport::writeFile(card + QStringLiteral("/clip.mp4"), "on the phone");
        for (int i = 0; i < 50; ++i)
            TestSupport::writeFile(collection() + QStringLiteral("/pc%1.mp4").arg(i), QByteArray(10 + i, 'p'));
        Orvak_API::PhoneManagement management;
        Orvak_API::PhonesInfo phones;
        QTRY_VERIFY_WITH_TIMEOUT(management.getPhones(phones) && phones.size() == 1, 10000);
        Catalogue::instance().setCurrentPhone(phones.first());
    }

    void cleanupTestCase() { m_phones.reset(); }

    void builderAndConversionWhileTheMainThreadRebuilds()
    {
        Catalogue &c = Catalogue::instance();
        QVERIFY(c.refreshMyCollection());
        const int whole = c.myCollection.size();
        QCOMPARE(whole, 401 + 50);
        QVERIFY(c.hasPhoneName(QStringLiteral("clip")));

        const QString clip = m_dir.filePath(QStringLiteral("clip.avi"));
        MediaClips::ClipSpec spec;
        spec.audioCodec = QStringLiteral("pcm_s16le");
        QVERIFY(MediaClips::make(clip, spec));
        FileItem *item = c.appendScanResult();
        item->pc.setFromFile(clip);

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
        QTRY_COMPARE_WITH_TIMEOUT(task->item()->pc.targetPath, collection() + QStringLiteral("/clip (1).mp4"), 10000);
        QVERIFY(QFile::exists(collection() + QStringLiteral("/clip (1).mp4")));
        // The builder's list became My collection whole, as the window was told.
        QCOMPARE(window.rebuilt, 1);
        QVERIFY(window.sizeWhenRebuilt >= whole);
        QVERIFY(c.refreshMyCollection());
        QCOMPARE(c.myCollection.size(), whole + 1);
    }
};

QTEST_GUILESS_MAIN(TestCatalogueRaces)
#include "tst_catalogueraces.moc"
