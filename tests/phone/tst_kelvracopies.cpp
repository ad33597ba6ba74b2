#include "folderphones.h"
#include "kelvra.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Orvak_API;
using namespace TestSupport;

namespace {

constexpr uint32_t Cancelled = 0x80100020u;
constexpr uint32_t MemoryFull = 0x80300001u;
constexpr uint32_t FileNameInvalid = 0x80400001u;
constexpr uint32_t FileExists = 0x80400003u;
constexpr uint32_t FileNotAllowed = 0x80400005u;
constexpr uint32_t PcFileNotAllowed = 0x8040000Au;

const uint32_t ReplaceToPhone = KELV_COPY_PC_TO_PHONE | KELV_COPY_REPLACE;

int64_t freeBytes(KELVHANDLE fs, const wchar_t *type = L"Phone memory")
{
    int64_t free = -1, total = 0, used = 0;
    return Kelv::GetMemoryValues(fs, type, &free, &total, &used) == 0 ? free : -1;
}

} // namespace

// Copies that replace a phone file, the temporaries they write, and the
// space they claim, through the real library on folder phones.
class TestKelvraCopies : public QObject, private LibraryFixture
{
    Q_OBJECT

private:
    KELVHANDLE attach(const QString &serial, qint64 capacity = 256LL << 20)
    {
        m_phones->addPhone(QStringLiteral("p"), serial, QStringLiteral("Phone"), QStringLiteral("16"),
                           {{QStringLiteral("Phone memory"), capacity}});
        return openFs(serial);
    }
    QString memory() const { return m_phones->memoryFolder(QStringLiteral("p"), 0); }
private Q_SLOTS:
    void initTestCase() { LibraryFixture::initTestCase(); }
    void init() { LibraryFixture::init(); }
    void cleanup() { LibraryFixture::cleanup(); }

    void replaceFlag_data()
    {
        QTest::addColumn<qint64>("oldSize");
        QTest::addColumn<qint64>("newSize");
        QTest::addColumn<uint>("code");
        // A 1 MiB memory: the old file's space counts as free for its
        // replacement, but nothing more.
        QTest::addRow("smaller") << qint64(600 << 10) << qint64(100 << 10) << 0u;
        QTest::addRow("bigger, fits in the old one's place") << qint64(600 << 10) << qint64(900 << 10) << 0u;
        QTest::addRow("cannot fit even there") << qint64(600 << 10) << qint64(1100 << 10) << MemoryFull;
    }
    void replaceFlag()
    {
        QFETCH(qint64, oldSize);
        QFETCH(qint64, newSize);
        QFETCH(uint, code);
        KELVHANDLE fs = attach(QStringLiteral("R1"), 1 << 20);
        QVERIFY(fs);
        const QByteArray old(int(oldSize), 'o');
        writeFile(memory() + QStringLiteral("/clip.mp4"), old);
        const QByteArray data = randomBytes(newSize);
        const QString pc = pcFile(QStringLiteral("clip.mp4"), data);

        // Without the flag nothing is replaced.
        QCOMPARE(uint32_t(Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE, L"clip.mp4", w(pc).c_str(), L"\\\\C:")), FileExists);
        QCOMPARE(uint32_t(Kelv::CopyFile(fs, ReplaceToPhone, L"clip.mp4", w(pc).c_str(), L"\\\\C:")), code);
        QCOMPARE(readAll(memory() + QStringLiteral("/clip.mp4")), code == 0 ? data : old);
        QCOMPARE(everything(memory()), QStringList(QStringLiteral("clip.mp4")));
    }

    void replaceOnlyFiles()
    {
        KELVHANDLE fs = attach(QStringLiteral("R2"));
        QVERIFY(fs);
        const QString pc = pcFile(QStringLiteral("clip.mp4"), "new");
        QVERIFY(QDir().mkpath(memory() + QStringLiteral("/clip.mp4")));
        QCOMPARE(uint32_t(Kelv::CopyFile(fs, ReplaceToPhone, L"clip.mp4", w(pc).c_str(), L"\\\\C:")), FileNotAllowed);
        QVERIFY(QFileInfo(memory() + QStringLiteral("/clip.mp4")).isDir());
        // Towards the PC the flag replaces too; the direction must still be one.
        writeFile(memory() + QStringLiteral("/back.mp4"), "from the phone");
        writeFile(m_pc.filePath(QStringLiteral("back.mp4")), "older");
        QCOMPARE(Kelv::CopyFile(fs, KELV_COPY_PHONE_TO_PC | KELV_COPY_REPLACE, L"back.mp4", L"\\\\C:", w(pc).c_str()), 0);
        QCOMPARE(readAll(m_pc.filePath(QStringLiteral("back.mp4"))), QByteArray("from the phone"));
        QCOMPARE(uint32_t(Kelv::CopyFile(fs, KELV_COPY_REPLACE, L"back.mp4", L"\\\\C:", w(pc).c_str())), 0x80100013u);
        // The library's own names cannot be copied, read or deleted.
        QCOMPARE(uint32_t(Kelv::CopyFile(fs, ReplaceToPhone, L".~kelvra-x.part", w(pc).c_str(), L"\\\\C:")),
                 FileNameInvalid);
        QCOMPARE(uint32_t(Kelv::DeleteFile(fs, L".~kelvra-x.part", L"\\\\C:")), FileNameInvalid);
    }

    void interruptedReplaceKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addRow("cancelled") << QStringLiteral("cancel");
        QTest::addRow("source shrinks") << QStringLiteral("shrink");
        QTest::addRow("library terminated") << QStringLiteral("terminate");
    }
    void interruptedReplaceKeepsTheOldFile()
    {
        QFETCH(QString, how);
        KELVHANDLE fs = attach(QStringLiteral("I1"));
        QVERIFY(fs);
        const QByteArray old = randomBytes(3 << 20);
        writeFile(memory() + QStringLiteral("/clip.mp4"), old);
        const QString pc = pcFile(QStringLiteral("clip.mp4"), randomBytes(40 << 20));
        const int64_t freeBefore = freeBytes(fs);

        HeldCopy copy(fs, ReplaceToPhone, QStringLiteral("clip.mp4"), pc, QStringLiteral("\\\\C:"));
        QVERIFY(copy.waitUntilRunning());
        // Meanwhile the old file is whole: another session pulls it.
        KELVHANDLE other = openFs(QStringLiteral("I1"));
        QVERIFY(other);
        QTemporaryDir pulled;
        QCOMPARE(Kelv::CopyFile(other, KELV_COPY_PHONE_TO_PC, L"clip.mp4", L"\\\\C:", w(pulled.path()).c_str()), 0);
        QCOMPARE(readAll(pulled.filePath(QStringLiteral("clip.mp4"))), old);

        uint32_t expected = Cancelled;
        if (how == QLatin1String("cancel")) {
            QCOMPARE(Kelv::Cancel(fs), 0);
        } else if (how == QLatin1String("shrink")) {
            QVERIFY(QFile::resize(m_pc.filePath(QStringLiteral("clip.mp4")), 1 << 20));
            expected = PcFileNotAllowed;
        } else {
            // The connectivity service going away under the copy.
            touch(awayMarker());
            QTRY_VERIFY_WITH_TIMEOUT(!KelvLoader::isLoaded(KelvModule::Files), 20000);
            expected = 0x80200006u;
        }
        QCOMPARE(uint32_t(copy.finish()), expected);
        QCOMPARE(readAll(memory() + QStringLiteral("/clip.mp4")), old);
        QCOMPARE(everything(memory()), QStringList(QStringLiteral("clip.mp4")));
        if (how == QLatin1String("terminate")) {
            touch(backMarker());
            QTRY_VERIFY_WITH_TIMEOUT(KelvLoader::isLoaded(KelvModule::Files) && KelvLoader::isLoaded(KelvModule::Devices)
                                         && KelvLoader::isLoaded(KelvModule::Common),
                                     20000);
            fs = openFs(QStringLiteral("I1"));
        }
        QCOMPARE(freeBytes(fs), freeBefore);
    }

    void concurrentCopiesCannotOverfill()
    {
        // Room for one of the two files, not for both.
        KELVHANDLE first = attach(QStringLiteral("O1"), 48LL << 20);
        KELVHANDLE second = openFs(QStringLiteral("O1"));
        QVERIFY(first && second);
        const QString pc = pcFile(QStringLiteral("a.mp4"), randomBytes(30 << 20));
        writeFile(m_pc.filePath(QStringLiteral("b.mp4")), randomBytes(30 << 20));
        const int64_t freeBefore = freeBytes(first);

        HeldCopy copy(first, KELV_COPY_PC_TO_PHONE, QStringLiteral("a.mp4"), pc, QStringLiteral("\\\\C:"));
        QVERIFY(copy.waitUntilRunning());
        // The running copy has claimed all it needs, not just what it wrote.
        QCOMPARE(freeBytes(second), freeBefore - (30 << 20));
        QCOMPARE(uint32_t(Kelv::CopyFile(second, KELV_COPY_PC_TO_PHONE, L"b.mp4", w(pc).c_str(), L"\\\\C:")), MemoryFull);
        // From another thread as well: the check and the claim are one step.
        uint32_t fromThread = 0;
        std::thread([&] {
            fromThread = uint32_t(Kelv::CopyFile(second, ReplaceToPhone, L"b.mp4", w(pc).c_str(), L"\\\\C:"));
        }).join();
        QCOMPARE(fromThread, MemoryFull);
        QCOMPARE(copy.finish(), 0);
        QCOMPARE(everything(memory()), QStringList(QStringLiteral("a.mp4")));
        QCOMPARE(freeBytes(second), freeBefore - (30 << 20));
    }

    void staleTemporariesAreRemoved()
    {
        // Copies of a process that was killed: full-size temporaries nobody
        // holds. A living writer's temporary is held and stays.
        m_phones->addPhone(QStringLiteral("p"), QStringLiteral("T1"), QStringLiteral("Phone"), QStringLiteral("16"),
                           {{QStringLiteral("Phone memory"), 8LL << 20}});
        const QString videos = memory() + QStringLiteral("/Data/Videos");
        writeFile(videos + QStringLiteral("/.~kelvra-killed.part"), QByteArray(5 << 20, 'k'));
        writeFile(memory() + QStringLiteral("/.~kelvra-root.part"), QByteArray(1 << 20, 'k'));
        // Not the library's: kept whatever the lock.
        writeFile(videos + QStringLiteral("/.~kelvra-note.txt"), "mine");
        writeFile(videos + QStringLiteral("/kelvra.part"), "mine");
        LivePart live(videos + QStringLiteral("/.~kelvra-live.part"), 1000);
        QVERIFY(live.held());

        KELVHANDLE fs = openFs(QStringLiteral("T1"));
        QVERIFY(fs);
        QCOMPARE(everything(videos), QStringList({QStringLiteral(".~kelvra-live.part"), QStringLiteral(".~kelvra-note.txt"),
                                                  QStringLiteral("kelvra.part")}));
        QCOMPARE(everything(memory()), QStringList(QStringLiteral("Data")));
        QCOMPARE(freeBytes(fs), int64_t(8 << 20) - 1000 - 4 - 4);
        // Listings never show names of the library's own.
        Listing listed;
        QCOMPARE(list(fs, QStringLiteral("\\\\C:\\Data\\Videos"), listed), 0u);
        QCOMPARE(listed.files, QStringList(QStringLiteral("kelvra.part")));

        // Left behind while the session is open: gone when the memory is
        // measured, and so before a copy decides whether it fits.
        writeFile(videos + QStringLiteral("/.~kelvra-later.part"), QByteArray(7 << 20, 'k'));
        const QString pc = pcFile(QStringLiteral("clip.mp4"), randomBytes(6 << 20));
        QCOMPARE(Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE, L"clip.mp4", w(pc).c_str(), L"\\\\C:\\Data\\Videos"), 0);
        QVERIFY(!QFileInfo::exists(videos + QStringLiteral("/.~kelvra-later.part")));

        // On the PC, in the folder a copy goes to.
        QTemporaryDir target;
        writeFile(target.filePath(QStringLiteral(".~kelvra-killed.part")), QByteArray(1 << 20, 'k'));
        LivePart livePc(target.filePath(QStringLiteral(".~kelvra-live.part")));
        QVERIFY(livePc.held());
        QCOMPARE(Kelv::CopyFile(fs, KELV_COPY_PHONE_TO_PC, L"clip.mp4", L"\\\\C:\\Data\\Videos", w(target.path()).c_str()), 0);
        QCOMPARE(everything(target.path()), QStringList({QStringLiteral(".~kelvra-live.part"), QStringLiteral("clip.mp4")}));
    }
};

QTEST_GUILESS_MAIN(TestKelvraCopies)
#include "tst_kelvracopies.moc"
