#include "catalogue.h"
#include "folderphones.h"
#include "mediaclips.h"
#include "phonemanagement.h"
#include "phonesinfo.h"
#include "settingsstore.h"
#include "taskfixture.h"
#include "taskitem.h"
#include "taskjobs.h"
#include "taskmanager.h"
#include "taskstates.h"

#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace TaskState;

// Cancels that land at every moment of a conversion and of a copy, and the
// reordering of queued tasks, with real threads, real conversions and a real
// folder phone.
class TestTaskQueue : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TestSupport::FolderPhones> m_phones;
    TestSupport::GatedProgress m_progress;
    QString m_clip;     // 2 s, 320x240
    QString m_longClip; // 40 s, 1280x720: converts for a few seconds

    QString collection() const { return m_dir.filePath(QStringLiteral("collection")); }
    QString card() const { return m_phones->memoryFolder(QStringLiteral("p"), 1) + QStringLiteral("/Videos"); }

    FileItem *scanned(const QString &path)
    {
        FileItem *item = Catalogue::instance().appendScanResult();
        item->pc.setFromFile(path);
        item->pc.path = path;
        item->pc.name = QFileInfo(path).completeBaseName();
        return item;
    }

    QString copyOf(const QString &source, const QString &name)
    {
        const QString path = m_dir.filePath(name);
        QFile::remove(path);
        return QFile::copy(source, path) ? path : QString();
    }

    QString bigFile(const QString &name, qint64 bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || !f.resize(bytes))
            return {};
        return path;
    }

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
        TestSupport::useBuiltLibrary();
        qputenv("TAMSEL_CONVERTER_LIBRARY", qgetenv("TAMSEL_BIN_DIR") + "/libtamselconverter.so");
        Settings::setMyCollectionFolder(collection());
        m_clip = m_dir.filePath(QStringLiteral("source.avi"));
        MediaClips::ClipSpec spec;
        spec.audioCodec = QStringLiteral("pcm_s16le");
        QVERIFY(MediaClips::make(m_clip, spec));
        m_longClip = m_dir.filePath(QStringLiteral("long.mp4"));
        MediaClips::ClipSpec longSpec;
        longSpec.width = 1280;
        longSpec.height = 720;
        longSpec.seconds = 40;
        QVERIFY(MediaClips::make(m_longClip, longSpec));
        CTaskJob::setProgressDisplay(&m_progress);
    }

    void init()
    {
        QDir(collection()).removeRecursively();
        QDir().mkpath(collection());
        m_progress.reset();
        m_phones = std::make_unique<TestSupport::FolderPhones>();
        m_phones->addPhone(QStringLiteral("p"), QStringLiteral("356000000000078"), QStringLiteral("Pocket"),
                           QStringLiteral("16"),
                           {{QStringLiteral("Phone memory"), 256LL << 20}, {QStringLiteral("Memory card"), 4LL << 30}});
        Orvak_API::PhoneManagement management;
        Orvak_API::PhonesInfo phones;
        QTRY_VERIFY_WITH_TIMEOUT(management.getPhones(phones) && phones.size() == 1, 10000);
        Catalogue::instance().setCurrentPhone(phones.first());
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
        if (moment == QLatin1String("during open")) {
            // Nothing is ever written into it: its open never ends by itself.
            source = m_dir.filePath(QStringLiteral("stream.mp4"));
            QFile::remove(source);
            QCOMPARE(::mkfifo(QFile::encodeName(source).constData(), 0600), 0);
        } else {
            source = copyOf(moment == QLatin1String("mid-conversion") ? m_longClip : m_clip, QStringLiteral("first.avi"));
        }
        FileItem *first = scanned(source);
        FileItem *second = scanned(copyOf(m_clip, QStringLiteral("second.avi")));
        m_progress.holdConversion = moment == QLatin1String("before open");
        CTaskManager manager;
        manager.addTasks({first}, {}, ConvertKind);
        CTaskItem *cancelled = manager.tasks().value(0);
        QVERIFY(cancelled);

        int writer = -1;
        if (moment == QLatin1String("before open")) {
            QVERIFY(m_progress.arrived.tryAcquire(1, 60000));
        } else if (moment == QLatin1String("during open")) {
            // The write end opens once the converter holds the read end; what
            // it is given it reads, then it waits for more.
            QTRY_VERIFY_WITH_TIMEOUT(
                (writer = ::open(QFile::encodeName(source).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)) >= 0,
                60000);
            QFile header(m_longClip);
            QVERIFY(header.open(QIODevice::ReadOnly));
            const QByteArray start = header.read(64);
            QCOMPARE(::write(writer, start.constData(), size_t(start.size())), ssize_t(start.size()));
            int unread = -1;
            QTRY_VERIFY_WITH_TIMEOUT(::ioctl(writer, FIONREAD, &unread) == 0 && unread == 0, 60000);
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
        QCOMPARE(MediaClips::allEntries(collection()), QStringList(QStringLiteral("second.mp4")));
        if (writer >= 0)
            ::close(writer);
        QFile::remove(source);
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
        const qint64 size = moment == QLatin1String("mid-copy") ? (1LL << 30) : (8LL << 20);
        FileItem *item = scanned(bigFile(QStringLiteral("movie.mp4"), size));
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
        FileItem *busy = scanned(bigFile(QStringLiteral("busy.mp4"), 1 << 20));
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
            QVERIFY(QFile::exists(collection() + QLatin1Char('/') + name));
    }
};

QTEST_GUILESS_MAIN(TestTaskQueue)
#include "tst_taskqueue.moc"
