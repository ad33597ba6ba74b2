#include "folderphones.h"
#include "kelvra.h"
#include "phoneinfo.h"
#include "phonemanagement.h"
#include "phonesinfo.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <thread>

using namespace Orvak_API;
using namespace TestSupport;

namespace {

const wchar_t *const s_videos = L"3gp|3g2|mp4";

// "folder|name" per entry, in listing order.
QStringList paths(const QList<PhoneFileEntry *> &entries)
{
    QStringList out;
    for (const PhoneFileEntry *e : entries)
        out << e->folder + QLatin1Char('|') + e->name;
    return out;
}

// Holds the phone's copies in their first progress report past zero until
// let go, so that a cancel cannot come late: the test acts while the copy
// certainly runs.
class CopyHold
{
public:
    explicit CopyHold(PhoneInfo *phone)
    {
        m_connection = QObject::connect(
            phone, &PhoneInfo::copyProgressChanged, phone,
            [this](int value) {
                if (value > 0 && !m_held.exchange(true)) {
                    m_running.release();
                    m_letGo.acquire();
                }
            },
            Qt::DirectConnection);
    }
    ~CopyHold()
    {
        QObject::disconnect(m_connection);
        m_letGo.release(); // never leave a copy waiting
    }
    bool waitUntilHeld() { return m_running.tryAcquire(60000); }
    void letGo() { m_letGo.release(); }

private:
    QMetaObject::Connection m_connection;
    Semaphore m_running, m_letGo;
    std::atomic<bool> m_held{false};
};

} // namespace

// A phone's file operations through the real connectivity library and
// folder phones in the test's private data folder.
class TestPhoneFileSystem : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FolderPhones> m_phones;
    std::unique_ptr<PhoneManagement> m_management;
    std::unique_ptr<PhonesInfo> m_list;
    QTemporaryDir m_pc;

    // One phone "p" with these memories, listed and opened.
    PhoneInfo *attach(const QList<MemorySpec> &memories = {{QStringLiteral("Phone memory"), 256LL << 20},
                                                           {QStringLiteral("Memory card"), 512LL << 20}})
    {
        m_phones->addPhone(QStringLiteral("p"), QStringLiteral("P1"), QStringLiteral("Phone"), QStringLiteral("16"),
                           memories);
        QDir().mkpath(memory(0) + QStringLiteral("/Data"));
        m_list = std::make_unique<PhonesInfo>();
        if (!m_management->getPhones(*m_list) || !m_list->first()->fileSystem())
            return nullptr;
        return m_list->first();
    }
    QString memory(int index) const { return m_phones->memoryFolder(QStringLiteral("p"), index); }

private Q_SLOTS:
    void initTestCase()
    {
        useBuiltLibrary();
        QVERIFY(m_pc.isValid());
    }
    void init()
    {
        m_phones = std::make_unique<FolderPhones>();
        m_management = std::make_unique<PhoneManagement>();
        QCOMPARE(m_management->lastResult(), 0);
    }
    void cleanup()
    {
        m_list.reset();
        m_management.reset();
        m_phones.reset();
        for (const QString &entry : everything(m_pc.path()))
            QFile::remove(m_pc.filePath(entry));
    }

    void listing_data()
    {
        QTest::addColumn<QStringList>("files"); // under memory 0
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("expected");
        const QString videos = QStringLiteral("\\\\C:\\Data\\Videos");
        QTest::addRow("empty folder") << QStringList{QStringLiteral("Data/Videos/")} << videos << QStringList();
        QTest::addRow("extension in capitals")
            << QStringList{QStringLiteral("Data/Videos/A.MP4"), QStringLiteral("Data/Videos/b.3Gp")} << videos
            << QStringList{videos + QStringLiteral("|A.MP4"), videos + QStringLiteral("|b.3Gp")};
        QTest::addRow("a text file named after a video")
            << QStringList{QStringLiteral("Data/Videos/clip.mp4.txt"), QStringLiteral("Data/Videos/clip.txt.mp4")}
            << videos << QStringList{videos + QStringLiteral("|clip.txt.mp4")};
        QTest::addRow("no dot, a dot at the end")
            << QStringList{QStringLiteral("Data/Videos/mp4"), QStringLiteral("Data/Videos/clip.")} << videos
            << QStringList();
        QTest::addRow("subfolders first, depth first")
            << QStringList{QStringLiteral("Data/Videos/z.mp4"), QStringLiteral("Data/Videos/B/y.3g2"),
                           QStringLiteral("Data/Videos/A/deeper/x.mp4"), QStringLiteral("Data/Videos/A/w.mp4")}
            << videos
            << QStringList{videos + QStringLiteral("\\A\\deeper|x.mp4"), videos + QStringLiteral("\\A|w.mp4"),
                           videos + QStringLiteral("\\B|y.3g2"), videos + QStringLiteral("|z.mp4")};
        QTest::addRow("folder with a trailing backslash")
            << QStringList{QStringLiteral("Data/Videos/A/w.mp4")} << videos + QLatin1Char('\\')
            << QStringList{videos + QStringLiteral("\\A|w.mp4")};
        QTest::addRow("missing folder") << QStringList() << QStringLiteral("\\\\C:\\Nope") << QStringList();
    }
    void listing()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, folder);
        QFETCH(QStringList, expected);
        PhoneInfo *phone = attach();
        QVERIFY(phone);
        for (const QString &file : files) {
            if (file.endsWith(QLatin1Char('/')))
                QVERIFY(QDir().mkpath(memory(0) + QLatin1Char('/') + file));
            else
                writeFile(memory(0) + QLatin1Char('/') + file, QByteArray(10, 'v'));
        }
        QSignalSpy errors(phone, &API_Base::SignalErrorMessage);
        QList<PhoneFileEntry *> entries;
        QVERIFY(phone->listFiles(entries, folder, s_videos));
        QCOMPARE(paths(entries), expected);
        // The end of a listing is no failure; a missing folder is.
        QCOMPARE(errors.count(), folder.contains(QLatin1String("Nope")) ? 1 : 0);
        qDeleteAll(entries);
    }

    void listingDetails()
    {
        PhoneInfo *phone = attach();
        QVERIFY(phone);
        const QString file = memory(1) + QStringLiteral("/Videos/clip.mp4");
        writeFile(file, QByteArray(1234, 'v'));
        const QDateTime when = QDateTime::currentDateTime().addDays(-3).addMSecs(-789);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
        f.close();
        writeFile(memory(1) + QStringLiteral("/notes.txt"), "x");

        QList<PhoneFileEntry *> entries;
        QVERIFY(phone->listMemoryFiles(entries, 1, s_videos));
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries.first()->name, QStringLiteral("clip.mp4"));
        QCOMPARE(entries.first()->folder, QStringLiteral("\\\\E:\\Videos"));
        QCOMPARE(entries.first()->size, 1234u);
        // MTP tells whole seconds.
        QCOMPARE(entries.first()->modified,
                 scriptedMtp() ? QDateTime::fromSecsSinceEpoch(when.toSecsSinceEpoch(), Qt::LocalTime) : when);
        QCOMPARE(entries.first()->modified.timeSpec(), Qt::LocalTime);
        // Without extensions every file passes.
        QVERIFY(phone->listMemoryFiles(entries, 1, nullptr));
        QCOMPARE(paths(entries).mid(1),
                 QStringList({QStringLiteral("\\\\E:\\Videos|clip.mp4"), QStringLiteral("\\\\E:|notes.txt")}));
        qDeleteAll(entries);
    }

    void memoryIndex_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("result");
        QTest::addRow("phone memory") << 0 << true;
        QTest::addRow("card E") << 1 << true;
        QTest::addRow("card Y") << 21 << true; // absent: reported, still true
        QTest::addRow("22") << 22 << false;
        QTest::addRow("negative") << -1 << false;
    }
    void memoryIndex()
    {
        QFETCH(int, index);
        QFETCH(bool, result);
        PhoneInfo *phone = attach();
        QVERIFY(phone);
        writeFile(memory(0) + QStringLiteral("/Data/Videos/a.mp4"), "a");
        writeFile(memory(1) + QStringLiteral("/Videos/b.mp4"), "b");
        QList<PhoneFileEntry *> entries;
        QCOMPARE(phone->listMemoryFiles(entries, index, s_videos), result);
        const QStringList expected = index == 0 ? QStringList(QStringLiteral("\\\\C:\\Data\\Videos|a.mp4"))
            : index == 1                        ? QStringList(QStringLiteral("\\\\E:\\Videos|b.mp4"))
                                                : QStringList();
        QCOMPARE(paths(entries), expected);
        qDeleteAll(entries);
    }

    void memories_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("names");
        QTest::addRow("one") << 1 << QStringList{QString()};
        QTest::addRow("two") << 2 << QStringList{QStringLiteral("C:"), QStringLiteral("E:")};
        QTest::addRow("three") << 3 << QStringList{QStringLiteral("C:"), QStringLiteral("E:"), QStringLiteral("F:")};
    }
    void memories()
    {
        QFETCH(int, count);
        QFETCH(QStringList, names);
        QList<MemorySpec> specs;
        for (int i = 0; i < count; ++i)
            specs.append({QStringLiteral("Memory %1").arg(i), (i + 1) * 1000000LL});
        PhoneInfo *phone = attach(specs);
        QVERIFY(phone);
        writeFile(memory(0) + QStringLiteral("/used.bin"), QByteArray(1000, 'u'));
        QList<PhoneMemory *> out{new PhoneMemory{QStringLiteral("stale"), {}, 0, 0, 0}};
        phone->getMemoryInfo(out);
        QVERIFY(!phone->errorFlag());
        QCOMPARE(out.size(), count);
        for (int i = 0; i < count; ++i) {
            QCOMPARE(out.at(i)->type, QStringLiteral("Memory %1").arg(i));
            QCOMPARE(out.at(i)->name, names.at(i));
            QCOMPARE(out.at(i)->total, (i + 1) * 1000000LL);
        }
        // Free space is the capacity less what the memory holds (in blocks).
        QVERIFY(out.first()->free < 1000000 - 999);
        qDeleteAll(out);
    }

    void copyIntoFolders_data()
    {
        QTest::addColumn<QString>("phoneFolder");
        QTest::addColumn<QString>("created"); // under memory 0, empty when the copy fails
        QTest::addRow("existing folder") << QStringLiteral("\\\\C:\\Data\\Videos") << QStringLiteral("Data/Videos");
        QTest::addRow("last level missing") << QStringLiteral("\\\\C:\\Data\\New") << QStringLiteral("Data/New");
        QTest::addRow("last level missing, trailing backslash")
            << QStringLiteral("\\\\C:\\Data\\New\\") << QStringLiteral("Data/New");
        QTest::addRow("parent missing") << QStringLiteral("\\\\C:\\Nope\\New") << QString();
        QTest::addRow("card not in the phone") << QStringLiteral("\\\\F:\\Videos") << QString();
    }
    void copyIntoFolders()
    {
        QFETCH(QString, phoneFolder);
        QFETCH(QString, created);
        PhoneInfo *phone = attach();
        QVERIFY(phone);
        QVERIFY(QDir().mkpath(memory(0) + QStringLiteral("/Data/Videos")));
        const QByteArray data = randomBytes(300000);
        writeFile(m_pc.filePath(QStringLiteral("clip.mp4")), data);
        QSignalSpy errors(phone, &API_Base::SignalErrorMessage);
        QSignalSpy progress(phone, &PhoneInfo::copyProgressChanged);
        const bool ok = phone->copyFileToPhone(QStringLiteral("clip.mp4"), m_pc.path(), phoneFolder);
        QCOMPARE(ok, !created.isEmpty());
        if (ok) {
            QCOMPARE(readAll(memory(0) + QLatin1Char('/') + created + QStringLiteral("/clip.mp4")), data);
            QCOMPARE(errors.count(), 0);
            QCOMPARE(progress.last().first().toInt(), 100);
            QCOMPARE(phone->lastProgress(), 100);
        } else {
            // The library's folder code is the result; the user learns that
            // the phone lacks the place for videos.
            QCOMPARE(uint32_t(phone->lastResult()), phoneFolder.contains(QLatin1String("F:")) ? 0x80500001u : 0x80500005u);
            QCOMPARE(phone->lastCode(), NoVideoFolderCode);
            QVERIFY(!QFileInfo::exists(memory(0) + QStringLiteral("/Nope")));
            QCOMPARE(errors.count(), 1);
            QCOMPARE(errors.first().at(1).toString(),
                     QStringLiteral("Orvak Phone File System API: Copying file from PC to Phone: Folder not found "
                                    "(PC/Device): the parent of the target folder is not in the device"));
            QVERIFY(errors.first().at(2).toString().startsWith(
                QLatin1String("The phone has no folder for videos on the selected memory")));
        }
    }

    void copyReplacesAndKeeps()
    {
        PhoneInfo *phone = attach();
        QVERIFY(phone);
        const QString onPhone = memory(0) + QStringLiteral("/Data/Videos/clip.mp4");
        writeFile(onPhone, "old version");
        writeFile(m_pc.filePath(QStringLiteral("clip.mp4")), "new version");
        const QString videos = phoneVideoFolder(0);
        QVERIFY(phone->copyFileToPhone(QStringLiteral("clip.mp4"), m_pc.path(), videos));
        QCOMPARE(readAll(onPhone), QByteArray("new version"));

        // A PC file that is not there cannot replace the phone's copy, which stays.
        QSignalSpy errors(phone, &API_Base::SignalErrorMessage);
        QVERIFY(!phone->copyFileToPhone(QStringLiteral("missing.mp4"), m_pc.path(), videos));
        writeFile(memory(0) + QStringLiteral("/Data/Videos/missing.mp4"), "keep me");
        QVERIFY(!phone->copyFileToPhone(QStringLiteral("missing.mp4"), m_pc.path(), videos));
        QCOMPARE(uint32_t(phone->lastResult()), 0x80400004u);
        QCOMPARE(readAll(memory(0) + QStringLiteral("/Data/Videos/missing.mp4")), QByteArray("keep me"));
        QCOMPARE(errors.count(), 2);

        // Back to the PC; an existing PC file is never replaced.
        QTemporaryDir back;
        QVERIFY(phone->copyFileToPC(QStringLiteral("clip.mp4"), videos, back.path()));
        QCOMPARE(readAll(back.filePath(QStringLiteral("clip.mp4"))), QByteArray("new version"));
        QVERIFY(!phone->copyFileToPC(QStringLiteral("clip.mp4"), videos, back.path()));
        QCOMPARE(errors.last().at(1).toString(),
                 QStringLiteral("Orvak Phone File System API: Copying file from Phone to PC: File already exists in Device or PC"));

        QByteArray read = "stale";
        QVERIFY(phone->readFile(QStringLiteral("clip.mp4"), videos, read));
        QCOMPARE(read, QByteArray("new version"));
        QVERIFY(!phone->readFile(QString(), videos, read));

        QVERIFY(phone->deleteFile(QStringLiteral("clip.mp4"), videos));
        QVERIFY(!QFileInfo::exists(onPhone));
        QVERIFY(!phone->deleteFile(QStringLiteral("clip.mp4"), videos));
        QVERIFY(errors.last().at(1).toString().startsWith(QLatin1String("Orvak Phone File System API: Deleting file from Phone: ")));
        QVERIFY(!phone->readFile(QStringLiteral("clip.mp4"), videos, read));
        QCOMPARE(read, QByteArray("new version")); // untouched on failure
    }

    void listingFollowsNoFolderLinks()
    {
        // Links back to the folder itself, to its parent and to the memory's
        // root: each file is listed once, and the listing ends.
        if (scriptedMtp())
            QSKIP("an MTP phone's storage has no links");
        PhoneInfo *phone = attach();
        QVERIFY(phone);
        const QString videos = memory(0) + QStringLiteral("/Data/Videos");
        writeFile(videos + QStringLiteral("/a.mp4"), "a");
        writeFile(videos + QStringLiteral("/Sub/b.mp4"), "b");
        QVERIFY(QFile::link(QStringLiteral("."), videos + QStringLiteral("/loop")));
        QVERIFY(QFile::link(QStringLiteral(".."), videos + QStringLiteral("/up")));
        QVERIFY(QFile::link(QStringLiteral("../../.."), videos + QStringLiteral("/Sub/root")));
        QVERIFY(QFile::link(videos + QStringLiteral("/a.mp4"), videos + QStringLiteral("/Sub/also.mp4")));
        QSignalSpy errors(phone, &API_Base::SignalErrorMessage);
        QList<PhoneFileEntry *> entries;
        QVERIFY(phone->listMemoryFiles(entries, 0, s_videos));
        // A link to a file is a file of the phone like any other.
        QCOMPARE(paths(entries), QStringList({QStringLiteral("\\\\C:\\Data\\Videos\\Sub|also.mp4"),
                                              QStringLiteral("\\\\C:\\Data\\Videos\\Sub|b.mp4"),
                                              QStringLiteral("\\\\C:\\Data\\Videos|a.mp4")}));
        QCOMPARE(errors.count(), 0);
        qDeleteAll(entries);
    }

    void memoryFull()
    {
        PhoneInfo *phone = attach({{QStringLiteral("Phone memory"), 1 << 20}});
        QVERIFY(phone);
        writeFile(m_pc.filePath(QStringLiteral("big.mp4")), randomBytes(2 << 20));
        QSignalSpy errors(phone, &API_Base::SignalErrorMessage);
        QVERIFY(!phone->copyFileToPhone(QStringLiteral("big.mp4"), m_pc.path(), phoneVideoFolder(0)));
        QCOMPARE(uint32_t(phone->lastResult()), 0x80300001u);
        QCOMPARE(errors.count(), 1);
        QCOMPARE(errors.first().at(2).toString(),
                 QStringLiteral("The phone memory is full. To be able to transfer files to the phone, first remove some "
                                "files from the phone memory."));
        QCOMPARE(everything(memory(0) + QStringLiteral("/Data/Videos")), QStringList());

        // Replacing a phone file: a bigger one that fits in the old one's
        // place replaces it; one that cannot fit even there leaves it alone.
        // An MTP phone keeps the old file until the new one is whole, so the
        // new one must fit beside it.
        const QString onPhone = memory(0) + QStringLiteral("/Data/Videos/clip.mp4");
        writeFile(onPhone, QByteArray(600 << 10, 'o'));
        writeFile(m_pc.filePath(QStringLiteral("clip.mp4")), randomBytes(700 << 10));
        if (scriptedMtp()) {
            QVERIFY(!phone->copyFileToPhone(QStringLiteral("clip.mp4"), m_pc.path(), phoneVideoFolder(0)));
            QCOMPARE(uint32_t(phone->lastResult()), 0x80300001u);
            QCOMPARE(QFileInfo(onPhone).size(), 600 << 10);
            QCOMPARE(everything(memory(0) + QStringLiteral("/Data/Videos")), QStringList(QStringLiteral("clip.mp4")));
            writeFile(m_pc.filePath(QStringLiteral("clip.mp4")), randomBytes(300 << 10));
            QVERIFY(phone->copyFileToPhone(QStringLiteral("clip.mp4"), m_pc.path(), phoneVideoFolder(0)));
        } else {
            QVERIFY(phone->copyFileToPhone(QStringLiteral("clip.mp4"), m_pc.path(), phoneVideoFolder(0)));
        }
        const qint64 replaced = scriptedMtp() ? 300 << 10 : 700 << 10;
        QCOMPARE(QFileInfo(onPhone).size(), replaced);
        writeFile(m_pc.filePath(QStringLiteral("clip.mp4")), randomBytes(2 << 20));
        QVERIFY(!phone->copyFileToPhone(QStringLiteral("clip.mp4"), m_pc.path(), phoneVideoFolder(0)));
        QCOMPARE(uint32_t(phone->lastResult()), 0x80300001u);
        QCOMPARE(errors.last().at(2).toString(), errors.first().at(2).toString()); // "The phone memory is full..."
        QCOMPARE(QFileInfo(onPhone).size(), replaced);
    }

    void progressAndCancelFromTheGuiThread()
    {
        PhoneInfo *phone = attach();
        QVERIFY(phone);
        writeFile(m_pc.filePath(QStringLiteral("big.mp4")), randomBytes(40 << 20));

        auto hold = std::make_unique<CopyHold>(phone);
        QList<int> values;
        QList<QThread *> threads;
        connect(phone, &PhoneInfo::copyProgressChanged, this, [&](int value) {
            values << value;
            threads << QThread::currentThread();
        });
        QStringList errors;
        connect(phone, &API_Base::SignalErrorMessage, this,
                [&](const QString &, const QString &technical, const QString &) { errors << technical; });

        std::atomic<int> result{-1};
        QThread *worker = QThread::create([&] {
            result = phone->copyFileToPhone(QStringLiteral("big.mp4"), m_pc.path(), phoneVideoFolder(0));
        });
        worker->start();
        QVERIFY(hold->waitUntilHeld());
        QVERIFY(phone->cancel());
        hold->letGo();
        QVERIFY(worker->wait(60000));
        delete worker;
        QCOMPARE(result.load(), 0);
        QCOMPARE(uint32_t(phone->lastResult()), 0x80100020u);
        QTRY_COMPARE_WITH_TIMEOUT(errors,
                                  QStringList(QStringLiteral("Orvak Phone File System API: Copying file from PC to "
                                                             "Phone: Operation canceled by KelvraAPI-User")),
                                  20000);
        QTRY_VERIFY_WITH_TIMEOUT(values.size() >= 2, 20000);
        QCOMPARE(values.first(), 0);
        QVERIFY(values.last() > 0 && values.last() < 100);
        for (QThread *thread : threads)
            QCOMPARE(thread, QThread::currentThread());
        QVERIFY(!QFileInfo::exists(memory(0) + QStringLiteral("/Data/Videos/big.mp4")));
        QCOMPARE(everything(memory(0) + QStringLiteral("/Data/Videos")), QStringList());

        // The phone copies again afterwards.
        hold.reset();
        QVERIFY(phone->copyFileToPhone(QStringLiteral("big.mp4"), m_pc.path(), phoneVideoFolder(0)));
        QCOMPARE(phone->lastProgress(), 100);
    }

    void cancelledReplaceKeepsThePhoneCopy()
    {
        PhoneInfo *phone = attach();
        QVERIFY(phone);
        const QString onPhone = memory(0) + QStringLiteral("/Data/Videos/big.mp4");
        const QByteArray old = randomBytes(2 << 20);
        writeFile(onPhone, old);
        writeFile(m_pc.filePath(QStringLiteral("big.mp4")), randomBytes(40 << 20));

        // Cancelled from this thread while the copy holds mid-way.
        CopyHold hold(phone);
        QStringList friendly;
        connect(phone, &API_Base::SignalErrorMessage, this,
                [&](const QString &, const QString &, const QString &text) { friendly << text; });
        std::atomic<int> result{-1};
        std::thread worker([&] {
            result = phone->copyFileToPhone(QStringLiteral("big.mp4"), m_pc.path(), phoneVideoFolder(0));
        });
        const bool held = hold.waitUntilHeld();
        // Meanwhile the phone's copy is whole.
        const QByteArray meanwhile = readAll(onPhone);
        const bool cancelled = phone->cancel();
        hold.letGo();
        worker.join();
        QVERIFY(held && cancelled);
        QCOMPARE(meanwhile, old);
        QCOMPARE(result.load(), 0);
        QCOMPARE(uint32_t(phone->lastResult()), 0x80100020u);
        QCOMPARE(readAll(onPhone), old);
        QCOMPARE(everything(memory(0) + QStringLiteral("/Data/Videos")), QStringList(QStringLiteral("big.mp4")));
        QTRY_COMPARE_WITH_TIMEOUT(friendly, QStringList(QStringLiteral("The copy was cancelled. Nothing was changed "
                                                                       "on the phone or on the PC.")),
                                  20000);
    }

    void cancelBeforeTheCopyChangesNothing_data()
    {
        QTest::addColumn<bool>("beforeTheSession");
        QTest::addRow("session open") << false;
        QTest::addRow("before the session opens") << true;
    }
    void cancelBeforeTheCopyChangesNothing()
    {
        // A cancel that comes before the copy, while its job is still getting
        // ready, holds: the copy fails and the phone keeps its old file.
        QFETCH(bool, beforeTheSession);
        PhoneInfo *phone = attach();
        QVERIFY(phone);
        const QString videos = memory(0) + QStringLiteral("/Data/Videos");
        writeFile(videos + QStringLiteral("/clip.mp4"), "old copy");
        writeFile(m_pc.filePath(QStringLiteral("clip.mp4")), randomBytes(1 << 20));
        if (beforeTheSession)
            phone->closeFileSystem();
        QVERIFY(phone->cancel());
        if (beforeTheSession)
            QVERIFY(phone->openFileSystem());
        QVERIFY(!phone->copyFileToPhone(QStringLiteral("clip.mp4"), m_pc.path(), phoneVideoFolder(0)));
        QCOMPARE(uint32_t(phone->lastResult()), 0x80100020u);
        QCOMPARE(everything(videos), QStringList(QStringLiteral("clip.mp4")));
        QCOMPARE(readAll(videos + QStringLiteral("/clip.mp4")), QByteArray("old copy"));

        // The cancel was spent on that copy: the next one replaces the file.
        QVERIFY(phone->copyFileToPhone(QStringLiteral("clip.mp4"), m_pc.path(), phoneVideoFolder(0)));
        QCOMPARE(QFileInfo(videos + QStringLiteral("/clip.mp4")).size(), qint64(1 << 20));
    }

    void videoFolders()
    {
        QCOMPARE(phoneVideoFolder(0), QStringLiteral("\\\\C:\\Data\\Videos"));
        QCOMPARE(phoneVideoFolder(1), QStringLiteral("\\\\E:\\Videos"));
        QCOMPARE(phoneVideoFolder(21), QStringLiteral("\\\\Y:\\Videos"));
        QCOMPARE(phoneVideoFolder(22), QString());
        QCOMPARE(phoneVideoFolder(-1), QString());
    }
};

QTEST_GUILESS_MAIN(TestPhoneFileSystem)
#include "tst_phonefilesystem.moc"
