#include "folderphones.h"
#include "kelvra.h"
#include "kelvrapaths.h"

#include <QMutex>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <functional>
#include <thread>

using namespace Orvak_API;
using namespace TestSupport;

namespace {

struct DeviceEvent
{
    QString kind;
    QString serial;
    uint32_t status;
    QThread *thread;
};

class DeviceSink final : public IKelvDevicesNotify
{
public:
    QList<DeviceEvent> events() const
    {
        QMutexLocker lock(&m_mutex);
        return m_events;
    }
    int count(const QString &kind, const QString &serial = QString()) const
    {
        int n = 0;
        for (const DeviceEvent &e : events())
            n += e.kind == kind && (serial.isEmpty() || e.serial == serial);
        return n;
    }
    void OnDeviceListUpdated() override { add(QStringLiteral("list"), nullptr, 0); }
    void OnDeviceAdded(const wchar_t *sn, uint32_t status) override { add(QStringLiteral("added"), sn, status); }
    void OnDeviceRemoved(const wchar_t *sn, uint32_t status) override { add(QStringLiteral("removed"), sn, status); }
    void OnDeviceUpdated(const wchar_t *sn, uint32_t status) override { add(QStringLiteral("updated"), sn, status); }

private:
    void add(const QString &kind, const wchar_t *sn, uint32_t status)
    {
        QMutexLocker lock(&m_mutex);
        m_events.append({kind, sn ? QString::fromWCharArray(sn) : QString(), status, QThread::currentThread()});
    }
    mutable QMutex m_mutex;
    QList<DeviceEvent> m_events;
};

} // namespace

// The connectivity library through the program's loader, against folder
// phones in the test's private data folder.
class TestKelvraLibrary : public QObject, private LibraryFixture
{
    Q_OBJECT

private:
    KELVHANDLE addAndOpen(const QString &name, const QString &serial,
                          const QList<MemorySpec> &memories = {{QStringLiteral("Phone memory"), 256LL << 20},
                                                               {QStringLiteral("Memory card"), 512LL << 20}})
    {
        m_phones->addPhone(name, serial, QStringLiteral("Phone ") + serial, QStringLiteral("16"), memories);
        return openFs(serial);
    }

private Q_SLOTS:
    void initTestCase() { LibraryFixture::initTestCase(); }
    void init() { LibraryFixture::init(); }
    void cleanup()
    {
        LibraryFixture::cleanup();
        QVERIFY(!KelvLoader::isLoaded(KelvModule::Files));
    }

    void devicesInFolderOrder()
    {
        m_phones->addPhone(QStringLiteral("b-phone"), QStringLiteral("B200"), QStringLiteral("Second"), QStringLiteral("8"));
        m_phones->addPhone(QStringLiteral("a-phone"), QStringLiteral("A100"), QStringLiteral("First"), QStringLiteral("2,16"));
        m_phones->writeManifest(QStringLiteral("c-broken"), "[Phone]\nFriendlyName=No serial\n");
        QDir().mkpath(m_phones->folder(QStringLiteral("d-no-manifest")));

        KELVHANDLE dm = nullptr;
        QCOMPARE(Kelv::OpenDM(&dm), 0);
        KELV_DEVICE_INFO devices[32] = {};
        uint32_t count = 32;
        QCOMPARE(Kelv::GetDevices(dm, &count, devices), 0);
        QCOMPARE(count, 2u);
        QCOMPARE(QString::fromWCharArray(devices[0].pstrSerialNumber), QStringLiteral("A100"));
        QCOMPARE(QString::fromWCharArray(devices[0].pstrFriendlyName), QStringLiteral("First"));
        QCOMPARE(devices[0].dwNumberOfItems, 2u);
        QCOMPARE(devices[0].pItems[0].dwMedia, 2u);
        QCOMPARE(devices[0].pItems[1].dwMedia, 16u);
        QCOMPARE(QString::fromWCharArray(devices[1].pstrSerialNumber), QStringLiteral("B200"));
        QCOMPARE(devices[1].pItems[0].dwMedia, 8u);
        QCOMPARE(Kelv::FreeDeviceStructure(count, devices), 0);
        QVERIFY(!devices[0].pstrSerialNumber);

        // A smaller array gets as many records as fit.
        count = 1;
        QCOMPARE(Kelv::GetDevices(dm, &count, devices), 0);
        QCOMPARE(count, 1u);
        Kelv::FreeDeviceStructure(count, devices);

        KELVHANDLE stale = reinterpret_cast<KELVHANDLE>(quintptr(0xdead));
        QCOMPARE(uint32_t(Kelv::GetDevices(stale, &count, devices)), 0x80100014u);
    }

    void invalidManifestIsIgnored_data()
    {
        QTest::addColumn<QByteArray>("manifest");
        const QByteArray memory = "[Memory0]\nType=Phone memory\nPath=C\nCapacity=1000\n";
        QTest::addRow("no serial") << ("[Phone]\nFriendlyName=X\n" + memory);
        QTest::addRow("serial with a path") << ("[Phone]\nSerialNumber=../x\nFriendlyName=X\n" + memory);
        QTest::addRow("no name") << ("[Phone]\nSerialNumber=S1\n" + memory);
        QTest::addRow("model with a slash") << ("[Phone]\nSerialNumber=S1\nFriendlyName=X\nModel=a/b\n" + memory);
        QTest::addRow("bad media") << ("[Phone]\nSerialNumber=S1\nFriendlyName=X\nMedia=usb\n" + memory);
        QTest::addRow("no memory") << QByteArray("[Phone]\nSerialNumber=S1\nFriendlyName=X\n");
        QTest::addRow("bad capacity") << QByteArray("[Phone]\nSerialNumber=S1\nFriendlyName=X\n[Memory0]\nType=T\nPath=C\nCapacity=-5\n");
        QTest::addRow("same type twice") << ("[Phone]\nSerialNumber=S1\nFriendlyName=X\n" + memory
                                             + "[Memory1]\nType=Phone memory\nPath=E\nCapacity=1000\n");
        QTest::addRow("binary garbage") << QByteArray("\x00\xff[\x01=\n\n[[", 10);
    }
    void invalidManifestIsIgnored()
    {
        QFETCH(QByteArray, manifest);
        m_phones->writeManifest(QStringLiteral("bad"), manifest);
        m_phones->addPhone(QStringLiteral("good"), QStringLiteral("GOOD1"), QStringLiteral("Good"));
        KELVHANDLE dm = nullptr;
        QCOMPARE(Kelv::OpenDM(&dm), 0);
        KELV_DEVICE_INFO devices[32] = {};
        uint32_t count = 32;
        QCOMPARE(Kelv::GetDevices(dm, &count, devices), 0);
        QCOMPARE(count, 1u);
        QCOMPARE(QString::fromWCharArray(devices[0].pstrSerialNumber), QStringLiteral("GOOD1"));
        Kelv::FreeDeviceStructure(count, devices);
    }

    void handWrittenManifest()
    {
        // Written as a user would, comments and all.
        m_phones->writeManifest(QStringLiteral("demo"), R"([Phone]
SerialNumber=004401234567890
FriendlyName=Demo Phone
Manufacturer=Orvak
Model=Demo One
Media=16              ; comma list of connection media (2, 4: serial, 8: Bluetooth, 16: USB)
[Memory0]             ; drive C:, the phone memory
Type=Phone memory     ; the text KELVGetMemoryTypes reports
Path=C                ; folder of this memory, relative to the phone folder or absolute
Capacity=268435456    ; bytes; free = capacity minus the bytes stored under Path
[Memory1]             ; drive E: (memory i >= 1 is drive 'D' + i)
Type=Memory card
Path=E
Capacity=2147483648
[Video]               ; written into the configuration files
MaxBitrate=384
ImgWallpaperSize=240,320
Picture=\\C:\Data\Images\phone.ico   ; where the phone keeps its picture (an ICO file)
)");
        const QString phone = m_phones->folder(QStringLiteral("demo"));
        QDir().mkpath(phone + QStringLiteral("/C"));
        QDir().mkpath(phone + QStringLiteral("/E"));
        writeFile(phone + QStringLiteral("/C/Data/Videos/a.mp4"), QByteArray(1000, 'a'));
        writeFile(phone + QStringLiteral("/C/b.bin"), QByteArray(24, 'b'));

        KELVHANDLE fs = openFs(QStringLiteral("004401234567890"));
        QVERIFY(fs);
        wchar_t *types = nullptr;
        QCOMPARE(Kelv::GetMemoryTypes(fs, &types), 0);
        QCOMPARE(QString::fromWCharArray(types), QStringLiteral("Phone memory,Memory card"));
        QCOMPARE(Kelv::FreeString(types), 0);
        QCOMPARE(Kelv::RefreshDeviceMemoryValues(fs), 0);
        int64_t free = 0, total = 0, used = 0;
        QCOMPARE(Kelv::GetMemoryValues(fs, L"Phone memory", &free, &total, &used), 0);
        QCOMPARE(free, int64_t(268435456 - 1024));
        QCOMPARE(total, int64_t(268435456));
        QCOMPARE(used, int64_t(1024));
        QCOMPARE(uint32_t(Kelv::GetMemoryValues(fs, L"N/A", &free, &total, &used)), 0x80100025u);

        Listing root;
        QCOMPARE(list(fs, QStringLiteral("\\\\"), root), 0u);
        QCOMPARE(root.folders, QStringList({QStringLiteral("C:"), QStringLiteral("E:")}));
        QVERIFY(root.files.isEmpty());
        QCOMPARE(root.folderEnd, AllListed);
        QCOMPARE(root.fileEnd, AllListed);

        // The configuration files the capability reader expects.
        const QString conf = KelvLoader::commonAppDataFolder() + QStringLiteral("/Pelmora/ConfServer/");
        const QString phoneFile = QString::fromUtf8(readAll(conf + QStringLiteral("ConfSTmp004401234567890.xml")));
        QVERIFY(phoneFile.contains(QLatin1String("<General>")));
        QVERIFY(phoneFile.contains(QLatin1String("<Manufacturer>Orvak</Manufacturer>")));
        QVERIFY(phoneFile.contains(QLatin1String("<Model>Demo One</Model>")));
        QVERIFY(phoneFile.contains(QLatin1String("<Name>Pelmora-Settings</Name>")));
        QVERIFY(phoneFile.contains(QLatin1String("<XNam>PelmoraConf</XNam>")));
        QVERIFY(phoneFile.contains(QLatin1String("<XVal>File=\\\\C:\\Data\\Images\\phone.ico</XVal>")));
        const QString modelFile =
            QString::fromUtf8(readAll(conf + QStringLiteral("Orvak;PelmoraConf;Demo One;004401234567890.xml")));
        QVERIFY(modelFile.contains(QLatin1String("<Property Name=\"MaxBitrate\" Value=\"384\"/>")));
        QVERIFY(modelFile.contains(QLatin1String("<Property Name=\"ImgWallpaperSize\" Value=\"240,320\"/>")));
        QVERIFY(modelFile.contains(QLatin1String("<Property Name=\"DEV\" Value=\"phone.ico\"/>")));
        QCOMPARE(Kelv::CloseFS(fs), 0);
        QCOMPARE(uint32_t(Kelv::CloseFS(fs)), 0x80100014u);
    }

    void listingOrder()
    {
        KELVHANDLE fs = addAndOpen(QStringLiteral("p"), QStringLiteral("L1"));
        QVERIFY(fs);
        const QString videos = m_phones->memoryFolder(QStringLiteral("p"), 0) + QStringLiteral("/Data/Videos/");
        for (const char *name : {"b.mp4", "A.MP4", "clip.mp4.txt", "noext", "Sub/x.3gp", "sub2/deeper/y.mp4"})
            writeFile(videos + QLatin1String(name), QByteArray(100, 'x'));
        writeFile(videos + QStringLiteral(".~kelvra-stale.part"), "unfinished");

        for (const QString &folder : {QStringLiteral("\\\\C:\\Data\\Videos"), QStringLiteral("\\\\C:\\Data\\Videos\\"),
                                     QStringLiteral("\\\\c:\\Data\\Videos")}) {
            Listing l;
            QCOMPARE(list(fs, folder, l), 0u);
            QCOMPARE(l.folders, QStringList({QStringLiteral("Sub"), QStringLiteral("sub2")}));
            QCOMPARE(l.files, QStringList({QStringLiteral("A.MP4"), QStringLiteral("b.mp4"),
                                           QStringLiteral("clip.mp4.txt"), QStringLiteral("noext")}));
            QCOMPARE(l.sizes.first(), 100u);
            QCOMPARE(l.folderEnd, AllListed);
            QCOMPARE(l.fileEnd, AllListed);
        }
        // The time is the file's modification time as a FILETIME.
        KELVHANDLE find = nullptr;
        QCOMPARE(Kelv::FindBegin(fs, 0, &find, L"\\\\C:\\Data\\Videos\\Sub"), 0);
        KELV_FILE_INFO info{};
        QCOMPARE(Kelv::FindNextFile(find, &info), 0);
        const quint64 ticks = (quint64(info.tFileTime.dwHighDateTime) << 32) | info.tFileTime.dwLowDateTime;
        const qint64 ms = qint64(ticks / 10000) - 11644473600000LL;
        QCOMPARE(ms, QFileInfo(videos + QStringLiteral("Sub/x.3gp")).lastModified().toMSecsSinceEpoch());
        Kelv::FreeFileInfoStructure(&info);
        QCOMPARE(uint32_t(Kelv::FindNextFile(find, &info)), AllListed);
        QCOMPARE(uint32_t(Kelv::FindNextFile(find, &info)), AllListed);
        QCOMPARE(Kelv::FindEnd(find), 0);
        QCOMPARE(uint32_t(Kelv::FindNextFile(find, &info)), 0x80100014u);

        QDir().mkpath(videos + QStringLiteral("empty"));
        Listing empty;
        QCOMPARE(list(fs, QStringLiteral("\\\\C:\\Data\\Videos\\empty"), empty), 0u);
        QVERIFY(empty.folders.isEmpty() && empty.files.isEmpty());
        QCOMPARE(empty.folderEnd, AllListed);
        QCOMPARE(empty.fileEnd, AllListed);
    }

    void folderErrors_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<uint>("code");
        QTest::addRow("no leading backslashes") << QStringLiteral("C:\\Data") << 0x80500001u;
        QTest::addRow("drive D") << QStringLiteral("\\\\D:\\") << 0x80500001u;
        QTest::addRow("drive Z") << QStringLiteral("\\\\Z:\\") << 0x80500001u;
        QTest::addRow("card not there") << QStringLiteral("\\\\F:\\Videos") << 0x80500001u;
        QTest::addRow("no colon") << QStringLiteral("\\\\C\\Data") << 0x80500001u;
        QTest::addRow("missing folder") << QStringLiteral("\\\\C:\\Nope") << 0x80500005u;
        QTest::addRow("invalid character") << QStringLiteral("\\\\C:\\a<b") << 0x80500003u;
        QTest::addRow("dot dot") << QStringLiteral("\\\\C:\\..\\..") << 0x80500003u;
        QTest::addRow("empty level") << QStringLiteral("\\\\C:\\a\\\\b") << 0x80500003u;
        // 245 counts the trailing backslash: 244 characters is the longest.
        QTest::addRow("245 with the backslash")
            << QStringLiteral("\\\\C:\\") + QString(239, QLatin1Char('f')) << 0x80500005u;
        QTest::addRow("246 with the backslash")
            << QStringLiteral("\\\\C:\\") + QString(240, QLatin1Char('f')) << 0x80500002u;
    }
    void folderErrors()
    {
        QFETCH(QString, folder);
        QFETCH(uint, code);
        KELVHANDLE fs = addAndOpen(QStringLiteral("p"), QStringLiteral("F1"));
        QVERIFY(fs);
        KELVHANDLE find = nullptr;
        QCOMPARE(uint32_t(Kelv::FindBegin(fs, 0, &find, w(folder).c_str())), code);
    }

    void copyBothWays()
    {
        KELVHANDLE fs = addAndOpen(QStringLiteral("p"), QStringLiteral("C1"));
        QVERIFY(fs);
        const QByteArray data = randomBytes(20 << 20);
        const QString pc = pcFile(QStringLiteral("clip.mp4"), data);
        const QString videos = m_phones->memoryFolder(QStringLiteral("p"), 0) + QStringLiteral("/Data/Videos");
        QDir().mkpath(videos);
        int64_t freeBefore = 0, total, used;
        QCOMPARE(Kelv::GetMemoryValues(fs, L"Phone memory", &freeBefore, &total, &used), 0);

        ProgressSink sink;
        QCOMPARE(Kelv::RegisterFSNotifyIF(fs, KELV_NOTIFY_REGISTER, &sink), 0);
        QCOMPARE(uint32_t(Kelv::RegisterFSNotifyIF(fs, KELV_NOTIFY_REGISTER, &sink)), 0x80100017u);
        QCOMPARE(Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE, L"clip.mp4", w(pc).c_str(), L"\\\\C:\\Data\\Videos"), 0);
        QCOMPARE(readAll(videos + QStringLiteral("/clip.mp4")), data);
        QCOMPARE(everything(videos), QStringList(QStringLiteral("clip.mp4")));
        QVERIFY(sink.values.size() >= 2);
        QCOMPARE(sink.values.first(), 0u);
        QCOMPARE(sink.values.last(), 100u);
        QVERIFY(std::is_sorted(sink.values.begin(), sink.values.end()));
        for (Qt::HANDLE t : sink.threads)
            QCOMPARE(t, QThread::currentThreadId());
        int64_t freeAfter = 0;
        QCOMPARE(Kelv::GetMemoryValues(fs, L"Phone memory", &freeAfter, &total, &used), 0);
        QCOMPARE(freeAfter, freeBefore - data.size());

        // A file of that name is never replaced, on either side.
        QCOMPARE(uint32_t(Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE, L"clip.mp4", w(pc).c_str(), L"\\\\C:\\Data\\Videos")),
                 0x80400003u);
        QCOMPARE(uint32_t(Kelv::CopyFile(fs, KELV_COPY_PHONE_TO_PC, L"clip.mp4", L"\\\\C:\\Data\\Videos", w(pc).c_str())),
                 0x80400003u);

        QTemporaryDir back;
        sink.values.clear();
        QCOMPARE(Kelv::CopyFile(fs, KELV_COPY_PHONE_TO_PC, L"clip.mp4", L"\\\\C:\\Data\\Videos\\", w(back.path()).c_str()), 0);
        QCOMPARE(readAll(back.filePath(QStringLiteral("clip.mp4"))), data);
        QCOMPARE(sink.values.last(), 100u);
        QCOMPARE(Kelv::RegisterFSNotifyIF(fs, KELV_NOTIFY_UNREGISTER, &sink), 0);

        // Missing source, missing target folder.
        QCOMPARE(uint32_t(Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE, L"none.mp4", w(pc).c_str(), L"\\\\C:\\Data\\Videos")),
                 0x80400004u);
        QCOMPARE(uint32_t(Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE, L"clip.mp4", w(pc).c_str(), L"\\\\C:\\Data\\Nope")),
                 0x80500005u);
        QCOMPARE(uint32_t(Kelv::CopyFile(fs, 3, L"clip.mp4", w(pc).c_str(), L"\\\\C:\\Data\\Videos")), 0x80100013u);
    }

    void badNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<uint>("code");
        const QString videos = QStringLiteral("\\\\C:\\Data\\Videos");
        QTest::addRow("colon") << QStringLiteral("a:b.mp4") << videos << 0x80400001u;
        QTest::addRow("question mark") << QStringLiteral("why?.mp4") << videos << 0x80400001u;
        QTest::addRow("slash") << QStringLiteral("../escape.mp4") << videos << 0x80400001u;
        QTest::addRow("backslash") << QStringLiteral("a\\b.mp4") << videos << 0x80400001u;
        QTest::addRow("dot dot") << QStringLiteral("..") << videos << 0x80400001u;
        QTest::addRow("control character") << QStringLiteral("a\tb.mp4") << videos << 0x80400001u;
        QTest::addRow("empty") << QString() << videos << 0x80400001u;
        QTest::addRow("name over 255 bytes") << QString(200, QChar(0xe9)) + QStringLiteral(".mp4") << videos << 0x80400002u;
        // Folder, backslash and name together may have 256 characters.
        const QString deep = QStringLiteral("\\\\C:\\") + QString(230, QLatin1Char('d'));
        QTest::addRow("path of 257") << QString(257 - deep.size() - 1, QLatin1Char('n')) << deep << 0x80400002u;
        QTest::addRow("path of 256") << QString(256 - deep.size() - 1, QLatin1Char('n')) << deep << 0u;
    }
    void badNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, folder);
        QFETCH(uint, code);
        KELVHANDLE fs = addAndOpen(QStringLiteral("p"), QStringLiteral("N1"));
        QVERIFY(fs);
        const QString memory = m_phones->memoryFolder(QStringLiteral("p"), 0);
        QDir().mkpath(memory + QStringLiteral("/Data/Videos"));
        QDir().mkpath(memory + QLatin1Char('/') + QString(230, QLatin1Char('d')));
        // The PC file has a plain name; the phone-side name is the one tested.
        const QString pc = pcFile(QStringLiteral("source.mp4"), "data");
        if (code == 0) {
            QVERIFY(QFile::rename(m_pc.filePath(QStringLiteral("source.mp4")), m_pc.filePath(name)));
            QCOMPARE(Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE, w(name).c_str(), w(pc).c_str(), w(folder).c_str()), 0);
            return;
        }
        QCOMPARE(uint32_t(Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE, w(name).c_str(), w(pc).c_str(), w(folder).c_str())),
                 code);
        QCOMPARE(uint32_t(Kelv::DeleteFile(fs, w(name).c_str(), w(folder).c_str())), code);
        // Nothing was written anywhere on the phone or next to the PC file.
        QCOMPARE(everything(memory + QStringLiteral("/Data/Videos")), QStringList());
        QCOMPARE(everything(memory + QLatin1Char('/') + QString(230, QLatin1Char('d'))), QStringList());
        QCOMPARE(everything(m_pc.path()), QStringList(QStringLiteral("source.mp4")));
    }

    void cancelFromAnotherThread()
    {
        KELVHANDLE fs = addAndOpen(QStringLiteral("p"), QStringLiteral("X1"));
        QVERIFY(fs);
        const QString pc = pcFile(QStringLiteral("big.mp4"), randomBytes(40 << 20));
        const QString target = m_phones->memoryFolder(QStringLiteral("p"), 0);

        // The copy stops in its progress report once data has been written,
        // until this thread has cancelled it.
        QSemaphore written, cancelled;
        ProgressSink sink;
        sink.onProgress = [&](uint32_t value) {
            if (value > 0 && value < 100 && sink.values.size() == 2) {
                written.release();
                cancelled.acquire();
            }
        };
        QCOMPARE(Kelv::RegisterFSNotifyIF(fs, KELV_NOTIFY_REGISTER, &sink), 0);
        KELV_RESULT result = 0;
        std::thread worker([&] { result = Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE, L"big.mp4", w(pc).c_str(), L"\\\\C:"); });
        written.acquire();
        QVERIFY(everything(target).size() == 1); // the hidden temporary file
        QVERIFY(everything(target).first().startsWith(QLatin1String(".")));
        QCOMPARE(Kelv::Cancel(fs), 0);
        cancelled.release();
        worker.join();
        QCOMPARE(uint32_t(result), 0x80100020u);
        QCOMPARE(everything(target), QStringList());
        QVERIFY(sink.values.last() < 100u);

        // The session works again afterwards.
        sink.onProgress = nullptr;
        QCOMPARE(Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE, L"big.mp4", w(pc).c_str(), L"\\\\C:"), 0);
        QCOMPARE(everything(target), QStringList(QStringLiteral("big.mp4")));
    }

    void cancelBeforeTheCopyHolds()
    {
        // A cancel that comes while the copy is still being prepared ends
        // the next copy on the handle, which writes nothing; only that one.
        KELVHANDLE fs = addAndOpen(QStringLiteral("p"), QStringLiteral("X2"));
        QVERIFY(fs);
        const QString pc = pcFile(QStringLiteral("early.mp4"), randomBytes(1 << 20));
        const QString target = m_phones->memoryFolder(QStringLiteral("p"), 0);
        QCOMPARE(Kelv::Cancel(fs), 0);
        QCOMPARE(Kelv::Cancel(fs), 0); // twice is still one cancel
        QCOMPARE(uint32_t(Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE, L"early.mp4", w(pc).c_str(), L"\\\\C:")),
                 0x80100020u);
        QCOMPARE(everything(target), QStringList());
        QCOMPARE(Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE, L"early.mp4", w(pc).c_str(), L"\\\\C:"), 0);
        QCOMPARE(everything(target), QStringList(QStringLiteral("early.mp4")));

        // It ends the copy before anything else could refuse it (the target
        // exists here), so that it is spent on that copy.
        QCOMPARE(Kelv::Cancel(fs), 0);
        QCOMPARE(uint32_t(Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE, L"early.mp4", w(pc).c_str(), L"\\\\C:")),
                 0x80100020u);
        QCOMPARE(uint32_t(Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE, L"early.mp4", w(pc).c_str(), L"\\\\C:")),
                 0x80400003u);

        // Other handles are not touched.
        KELVHANDLE other = nullptr;
        uint32_t media = KELV_MEDIA_ANY, id = 0;
        QCOMPARE(Kelv::OpenFS(L"X2", &media, &other, &id), 0);
        QCOMPARE(Kelv::Cancel(fs), 0);
        QCOMPARE(Kelv::DeleteFile(other, L"early.mp4", L"\\\\C:"), 0);
        QCOMPARE(Kelv::CopyFile(other, KELV_COPY_PC_TO_PHONE, L"early.mp4", w(pc).c_str(), L"\\\\C:"), 0);
        QCOMPARE(Kelv::CloseFS(other), 0);
    }

    void memoryFull()
    {
        KELVHANDLE fs = addAndOpen(QStringLiteral("p"), QStringLiteral("M1"),
                                   {{QStringLiteral("Phone memory"), 3 << 20}, {QStringLiteral("Memory card"), 1 << 20}});
        QVERIFY(fs);
        const QString phoneMemory = m_phones->memoryFolder(QStringLiteral("p"), 0);
        writeFile(phoneMemory + QStringLiteral("/old.mp4"), QByteArray(2 << 20, 'o'));
        const QString pc = pcFile(QStringLiteral("clip.mp4"), randomBytes(3 << 19));
        ProgressSink sink;
        QCOMPARE(Kelv::RegisterFSNotifyIF(fs, KELV_NOTIFY_REGISTER, &sink), 0);
        QCOMPARE(uint32_t(Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE, L"clip.mp4", w(pc).c_str(), L"\\\\C:\\")), 0x80300001u);
        QCOMPARE(uint32_t(Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE, L"clip.mp4", w(pc).c_str(), L"\\\\E:\\")), 0x80300001u);
        QVERIFY(sink.values.isEmpty()); // refused before writing
        QCOMPARE(everything(phoneMemory), QStringList(QStringLiteral("old.mp4")));
        QCOMPARE(everything(m_phones->memoryFolder(QStringLiteral("p"), 1)), QStringList());
        // Deleting the old file makes room.
        QCOMPARE(Kelv::DeleteFile(fs, L"old.mp4", L"\\\\C:"), 0);
        QCOMPARE(Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE, L"clip.mp4", w(pc).c_str(), L"\\\\C:\\"), 0);
    }

    void writeFailureLeavesNothing()
    {
        // The disk filling up under a copy, brought about with a file-size
        // limit: writes past it fail as they would on a full disk.
        KELVHANDLE fs = addAndOpen(QStringLiteral("p"), QStringLiteral("W1"));
        QVERIFY(fs);
        const QString pc = pcFile(QStringLiteral("clip.mp4"), randomBytes(24 << 20));
        const QString target = m_phones->memoryFolder(QStringLiteral("p"), 0);
        rlimit before{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &before), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = before;
        limited.rlim_cur = 10 << 20;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const KELV_RESULT result = Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE, L"clip.mp4", w(pc).c_str(), L"\\\\C:");
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &before), 0);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(uint32_t(result), 0x80300001u);
        QCOMPARE(everything(target), QStringList());

        // The same towards the PC.
        writeFile(target + QStringLiteral("/clip.mp4"), readAll(m_pc.filePath(QStringLiteral("clip.mp4"))));
        QTemporaryDir pcTarget;
        std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const KELV_RESULT back = Kelv::CopyFile(fs, KELV_COPY_PHONE_TO_PC, L"clip.mp4", L"\\\\C:", w(pcTarget.path()).c_str());
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &before), 0);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(uint32_t(back), 0x8040000Au);
        QCOMPARE(everything(pcTarget.path()), QStringList());
    }

    void copyFromAnotherFileSystem()
    {
        // Between file systems the data cannot stay in the kernel and goes
        // through the library's own buffer instead.
        QTemporaryDir shm(QStringLiteral("/dev/shm/tamsel-test-XXXXXX"));
        struct stat a{}, b{};
        if (!shm.isValid() || ::stat("/dev/shm", &a) != 0
            || ::stat(QFile::encodeName(m_phones->root()).constData(), &b) != 0 || a.st_dev == b.st_dev)
            QSKIP("needs /dev/shm on a file system of its own");
        KELVHANDLE fs = addAndOpen(QStringLiteral("p"), QStringLiteral("T1"));
        QVERIFY(fs);
        const QByteArray data = randomBytes((12 << 20) + 12345);
        writeFile(shm.filePath(QStringLiteral("clip.mp4")), data);
        ProgressSink sink;
        QCOMPARE(Kelv::RegisterFSNotifyIF(fs, KELV_NOTIFY_REGISTER, &sink), 0);
        QCOMPARE(Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE, L"clip.mp4", w(shm.path()).c_str(), L"\\\\C:"), 0);
        const QString target = m_phones->memoryFolder(QStringLiteral("p"), 0);
        QCOMPARE(readAll(target + QStringLiteral("/clip.mp4")), data);
        QCOMPARE(sink.values.last(), 100u);
        QVERIFY(sink.values.size() > 2);

        // A write failing half-way leaves nothing here either.
        QVERIFY(QFile::remove(target + QStringLiteral("/clip.mp4")));
        rlimit before{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &before), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = before;
        limited.rlim_cur = 5 << 20;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const KELV_RESULT result = Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE, L"clip.mp4", w(shm.path()).c_str(), L"\\\\C:");
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &before), 0);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(uint32_t(result), 0x80300001u);
        QCOMPARE(everything(target), QStringList());
    }

    void foldersDeleteAndRead()
    {
        KELVHANDLE fs = addAndOpen(QStringLiteral("p"), QStringLiteral("D1"));
        QVERIFY(fs);
        const QString card = m_phones->memoryFolder(QStringLiteral("p"), 1);
        QCOMPARE(Kelv::CreateFolder(fs, L"Videos", L"\\\\E:\\"), 0);
        QVERIFY(QFileInfo(card + QStringLiteral("/Videos")).isDir());
        QCOMPARE(uint32_t(Kelv::CreateFolder(fs, L"Videos", L"\\\\E:")), 0x80500004u);
        QCOMPARE(uint32_t(Kelv::CreateFolder(fs, L"Deeper", L"\\\\E:\\Missing")), 0x80500005u);
        QCOMPARE(uint32_t(Kelv::CreateFolder(fs, L"G:", L"\\\\")), 0x80500006u);
        QCOMPARE(uint32_t(Kelv::CreateFolder(fs, L"a|b", L"\\\\E:")), 0x80500003u);

        const QByteArray icon = randomBytes(5000);
        writeFile(card + QStringLiteral("/Videos/phone.ico"), icon);
        KELV_FILE_INFO info{};
        std::wstring name = L"phone.ico";
        info.pstrName = name.data();
        unsigned char *data = nullptr;
        QCOMPARE(Kelv::ReadFile(fs, &info, &data, 0, L"\\\\E:\\Videos"), 0);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(data), int(info.dwFileSize)), icon);
        QCOMPARE(Kelv::FreeFileDataMemory(data), 0);
        std::wstring missing = L"none.ico";
        info.pstrName = missing.data();
        QCOMPARE(uint32_t(Kelv::ReadFile(fs, &info, &data, 0, L"\\\\E:\\Videos")), 0x80400004u);

        QCOMPARE(Kelv::DeleteFile(fs, L"phone.ico", L"\\\\E:\\Videos"), 0);
        QVERIFY(!QFile::exists(card + QStringLiteral("/Videos/phone.ico")));
        QCOMPARE(uint32_t(Kelv::DeleteFile(fs, L"phone.ico", L"\\\\E:\\Videos")), 0x80400004u);
        QCOMPARE(uint32_t(Kelv::DeleteFile(fs, L"Videos", L"\\\\E:")), 0x80400005u);

        // A phone that has gone answers "not connected".
        m_phones->removePhone(QStringLiteral("p"));
        QCOMPARE(uint32_t(Kelv::DeleteFile(fs, L"x", L"\\\\E:")), 0x80200000u);
        uint32_t media = 1, id = 0;
        KELVHANDLE again = nullptr;
        QCOMPARE(uint32_t(Kelv::OpenFS(L"D1", &media, &again, &id)), 0x80200000u);
    }

    void deviceEventsOnRegisteringThread()
    {
        // A phone that is there when the library starts.
        m_library.reset();
        m_phones->addPhone(QStringLiteral("before"), QStringLiteral("E0"), QStringLiteral("Here before"));
        m_library = std::make_unique<Library>();
        QVERIFY(m_library->ok());
        KELVHANDLE dm = nullptr;
        QCOMPARE(Kelv::OpenDM(&dm), 0);
        DeviceSink sink;
        QCOMPARE(Kelv::RegisterDMNotifyIF(dm, KELV_NOTIFY_REGISTER, &sink), 0);
        auto unregister = qScopeGuard([&] { Kelv::RegisterDMNotifyIF(dm, KELV_NOTIFY_UNREGISTER, &sink); });
        QCOMPARE(uint32_t(Kelv::RegisterDMNotifyIF(dm, KELV_NOTIFY_REGISTER, &sink)), 0x80100017u);

        m_phones->addPhone(QStringLiteral("first"), QStringLiteral("E1"), QStringLiteral("First"));
        QTRY_COMPARE_WITH_TIMEOUT(sink.count(QStringLiteral("added"), QStringLiteral("E1")), 1, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(sink.count(QStringLiteral("list")), 1, 20000);
        QCOMPARE(sink.events().first().status, uint32_t(KELV_DEVICE_STATUS_CONNECTED));

        // A second sink registered from a thread of its own.
        QThread worker;
        worker.start();
        auto stopWorker = qScopeGuard([&] {
            worker.quit();
            worker.wait();
        });
        QObject onWorker;
        onWorker.moveToThread(&worker);
        DeviceSink workerSink;
        KELV_RESULT registered = -1;
        const auto onWorkerThread = [&](uint32_t option) {
            QMetaObject::invokeMethod(
                &onWorker, [&] { registered = Kelv::RegisterDMNotifyIF(dm, option, &workerSink); },
                Qt::BlockingQueuedConnection);
        };
        onWorkerThread(KELV_NOTIFY_REGISTER);
        QCOMPARE(registered, 0);
        auto unregisterWorker = qScopeGuard([&] { onWorkerThread(KELV_NOTIFY_UNREGISTER); });

        m_phones->addPhone(QStringLiteral("second"), QStringLiteral("E2"), QStringLiteral("Arriving"));
        QTRY_COMPARE_WITH_TIMEOUT(sink.count(QStringLiteral("added"), QStringLiteral("E2")), 1, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(workerSink.count(QStringLiteral("added"), QStringLiteral("E2")), 1, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(sink.count(QStringLiteral("list")), 2, 20000);
        // Phones that were there when the library started are not news.
        QCOMPARE(sink.count(QStringLiteral("added"), QStringLiteral("E0")), 0);
        QCOMPARE(workerSink.count(QStringLiteral("added"), QStringLiteral("E1")), 0);
        for (const DeviceEvent &e : sink.events())
            QCOMPARE(e.thread, QThread::currentThread());
        for (const DeviceEvent &e : workerSink.events())
            QCOMPARE(e.thread, &worker);

        unregisterWorker.dismiss();
        onWorkerThread(KELV_NOTIFY_UNREGISTER);
        QCOMPARE(registered, 0);
        const int workerEvents = workerSink.events().size();

        QByteArray manifest = readAll(m_phones->folder(QStringLiteral("second")) + QStringLiteral("/phone.ini"));
        manifest.replace("Arriving", "Renamed");
        m_phones->writeManifest(QStringLiteral("second"), manifest);
        QTRY_COMPARE_WITH_TIMEOUT(sink.count(QStringLiteral("updated"), QStringLiteral("E2")), 1, 20000);

        m_phones->removePhone(QStringLiteral("first"));
        QTRY_COMPARE_WITH_TIMEOUT(sink.count(QStringLiteral("removed"), QStringLiteral("E1")), 1, 20000);
        // An invalid manifest is no arrival.
        m_phones->writeManifest(QStringLiteral("broken"), "[Phone]\nSerialNumber=E3\n");
        m_phones->addPhone(QStringLiteral("third"), QStringLiteral("E4"), QStringLiteral("After the broken one"));
        QTRY_COMPARE_WITH_TIMEOUT(sink.count(QStringLiteral("added"), QStringLiteral("E4")), 1, 20000);
        QCOMPARE(sink.count(QStringLiteral("added"), QStringLiteral("E3")), 0);
        QCOMPARE(workerSink.events().size(), workerEvents);

        unregister.dismiss();
        QCOMPARE(Kelv::RegisterDMNotifyIF(dm, KELV_NOTIFY_UNREGISTER, &sink), 0);
        QCOMPARE(uint32_t(Kelv::RegisterDMNotifyIF(dm, KELV_NOTIFY_UNREGISTER, &sink)), 0x80100025u);
    }

    void serviceAwayAndBack()
    {
        KELVHANDLE fs = addAndOpen(QStringLiteral("p"), QStringLiteral("S1"));
        QVERIFY(fs);
        touch(awayMarker());
        QTRY_VERIFY_WITH_TIMEOUT(!KelvLoader::isLoaded(KelvModule::Files) && !KelvLoader::isLoaded(KelvModule::Devices)
                                     && !KelvLoader::isLoaded(KelvModule::Common),
                                 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(awayMarker()), 20000); // the event was reset
        KELVHANDLE dm = nullptr;
        QCOMPARE(uint32_t(Kelv::OpenDM(&dm)), 0x80100004u);
        QCOMPARE(uint32_t(Kelv::Cancel(fs)), 0x80100004u);
        // The counts are the program's and do not change.
        QCOMPARE(KelvLoader::referenceCount(KelvModule::Files), 1u);

        touch(backMarker());
        QTRY_VERIFY_WITH_TIMEOUT(KelvLoader::isLoaded(KelvModule::Files) && KelvLoader::isLoaded(KelvModule::Devices)
                                     && KelvLoader::isLoaded(KelvModule::Common),
                                 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(backMarker()), 20000);
        // Old sessions are gone; new ones work.
        QCOMPARE(uint32_t(Kelv::Cancel(fs)), 0x80100014u);
        QCOMPARE(Kelv::OpenDM(&dm), 0);
        KELV_DEVICE_INFO devices[32] = {};
        uint32_t count = 32;
        QCOMPARE(Kelv::GetDevices(dm, &count, devices), 0);
        QCOMPARE(count, 1u);
        Kelv::FreeDeviceStructure(count, devices);
        QVERIFY(openFs(QStringLiteral("S1")));
    }

    void serviceAwayDuringCopy()
    {
        KELVHANDLE fs = addAndOpen(QStringLiteral("p"), QStringLiteral("S2"));
        QVERIFY(fs);
        const QString pc = pcFile(QStringLiteral("big.mp4"), randomBytes(40 << 20));
        QSemaphore running, proceed;
        ProgressSink sink;
        sink.onProgress = [&](uint32_t value) {
            if (value > 0 && sink.values.size() == 2) {
                running.release();
                proceed.acquire();
            }
        };
        QCOMPARE(Kelv::RegisterFSNotifyIF(fs, KELV_NOTIFY_REGISTER, &sink), 0);
        KELV_RESULT result = 0;
        std::thread worker([&] { result = Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE, L"big.mp4", w(pc).c_str(), L"\\\\C:"); });
        running.acquire();
        touch(awayMarker());
        // New calls are refused at once while the running copy winds down.
        QTRY_VERIFY_WITH_TIMEOUT(!KelvLoader::isLoaded(KelvModule::Files), 20000);
        QCOMPARE(uint32_t(Kelv::Cancel(fs)), 0x80100004u);
        proceed.release();
        worker.join();
        QCOMPARE(uint32_t(result), 0x80200006u);
        QCOMPARE(everything(m_phones->memoryFolder(QStringLiteral("p"), 0)), QStringList());
        touch(backMarker());
        QTRY_VERIFY_WITH_TIMEOUT(KelvLoader::isLoaded(KelvModule::Files) && KelvLoader::isLoaded(KelvModule::Devices),
                                 20000);
    }

    void callsWhileTheServiceComesAndGoes()
    {
        m_phones->addPhone(QStringLiteral("p"), QStringLiteral("R1"), QStringLiteral("Racing"));
        std::atomic<bool> stop{false};
        std::atomic<int> unexpected{0}, calls{0};
        std::thread caller([&] {
            while (!stop.load()) {
                KELVHANDLE dm = nullptr;
                const KELV_RESULT r = Kelv::OpenDM(&dm);
                if (r == 0) {
                    KELV_DEVICE_INFO devices[32] = {};
                    uint32_t count = 32;
                    const KELV_RESULT g = Kelv::GetDevices(dm, &count, devices);
                    if (g == 0)
                        Kelv::FreeDeviceStructure(count, devices);
                    else if (uint32_t(g) != 0x80100004u && uint32_t(g) != 0x80100014u)
                        ++unexpected;
                } else if (uint32_t(r) != 0x80100004u) {
                    ++unexpected;
                }
                ++calls;
            }
        });
        for (int round = 0; round < 5; ++round) {
            touch(awayMarker());
            QTRY_VERIFY_WITH_TIMEOUT(!KelvLoader::isLoaded(KelvModule::Devices), 20000);
            touch(backMarker());
            QTRY_VERIFY_WITH_TIMEOUT(KelvLoader::isLoaded(KelvModule::Devices) && KelvLoader::isLoaded(KelvModule::Files),
                                     20000);
        }
        stop.store(true);
        caller.join();
        QVERIFY(calls.load() > 0);
        QCOMPARE(unexpected.load(), 0);
    }
};

QTEST_GUILESS_MAIN(TestKelvraLibrary)
#include "tst_kelvralibrary.moc"
