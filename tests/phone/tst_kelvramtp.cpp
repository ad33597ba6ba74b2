// The connectivity library's MTP phones, driven through its C calls in this
// process. libmtp cannot reach a phone on a build machine, so a scripted
// device (fakemtp.h) stands at the libmtp boundary; everything above it -
// detection, device events, storages as memories, the path mapping, copies,
// cancel, errors and configuration files - is the library's own code.

#include "kelvraapi.h"
#include "confserver.h"
#include "fakemtp.h"
#include "kelvrapaths.h"
#include "videocapabilities.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr uint32_t Internal = 0x00010001;
constexpr uint32_t Card = 0x00020001;

std::wstring w(const QString &text)
{
    return text.toStdWString();
}

struct DeviceSink final : IKelvDevicesNotify
{
    QStringList added, removed, updated;
    bool offThread = false;
    void note(QStringList &list, const wchar_t *sn)
    {
        offThread = offThread || QThread::currentThread() != qApp->thread();
        list.append(QString::fromWCharArray(sn));
    }
    void OnDeviceListUpdated() override {}
    void OnDeviceAdded(const wchar_t *sn, uint32_t) override { note(added, sn); }
    void OnDeviceRemoved(const wchar_t *sn, uint32_t) override { note(removed, sn); }
    void OnDeviceUpdated(const wchar_t *sn, uint32_t) override { note(updated, sn); }
};

struct ProgressSink final : IKelvFilesNotify
{
    QList<uint32_t> values; // only touched by the copying thread
    int32_t OnStateChanged(uint32_t state, uint32_t value, uint32_t, uint32_t) override
    {
        if (state == KELV_STATE_COPY_PROGRESS)
            values.append(value);
        return 0;
    }
    int32_t OnError(uint32_t) override { return 0; }
    int32_t OnOperation(uint32_t, uint32_t, uint32_t, uint32_t) override { return 0; }
};

QByteArray pattern(qsizetype size)
{
    QByteArray data(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        data[i] = char((i * 7 + i / 251) & 0xFF);
    return data;
}

} // namespace

class tst_KelvraMtp : public QObject
{
    Q_OBJECT

    std::shared_ptr<FakeMtp::Transport> m_bus = std::make_shared<FakeMtp::Transport>();
    QList<std::shared_ptr<FakeMtp::Device>> m_plugged;
    QList<KELVHANDLE> m_open;
    KELVHANDLE m_dm = nullptr;
    DeviceSink m_sink;
    QTemporaryDir m_pc;

    // Plugs a phone in and waits for the library to announce it.
    void plug(const std::shared_ptr<FakeMtp::Device> &device)
    {
        m_sink.added.clear();
        m_bus->plug(device);
        m_plugged.append(device);
        QTRY_VERIFY_WITH_TIMEOUT(m_sink.added.contains(device->serial), 5000);
    }
    KELVHANDLE open(const QString &serial)
    {
        uint32_t media = KELV_MEDIA_ANY, id = 0;
        KELVHANDLE fs = nullptr;
        const KELV_RESULT r = KELVOpenFS(w(serial).c_str(), &media, &fs, &id);
        if (r < 0) {
            qWarning("KELVOpenFS: 0x%08x", uint32_t(r));
            return nullptr;
        }
        m_open.append(fs);
        return fs;
    }
    static KELV_RESULT copy(KELVHANDLE fs, uint32_t options, const QString &name, const QString &from, const QString &to)
    {
        return KELVCopyFile(fs, options, w(name).c_str(), w(from).c_str(), w(to).c_str());
    }
    // What a listing shows: folders, then "name size" of each file; the end
    // codes of both must be "all listed".
    static QStringList list(KELVHANDLE fs, const QString &folder)
    {
        KELVHANDLE find = nullptr;
        if (KELVFindBegin(fs, 0, &find, w(folder).c_str()) < 0)
            return {QStringLiteral("?")};
        QStringList out;
        KELV_FOLDER_INFO dir{};
        KELV_RESULT r;
        while ((r = KELVFindNextFolder(find, &dir)) == KELV_OK) {
            out.append(QString::fromWCharArray(dir.pstrName) + QLatin1Char('\\'));
            KELVFreeFolderInfoStructure(&dir);
        }
        if (r != KELV_ERR_ALL_LISTED)
            out.append(QStringLiteral("folders end 0x%1").arg(uint32_t(r), 8, 16));
        KELV_FILE_INFO file{};
        while ((r = KELVFindNextFile(find, &file)) == KELV_OK) {
            out.append(QString::fromWCharArray(file.pstrName) + QLatin1Char(' ') + QString::number(file.dwFileSize));
            KELVFreeFileInfoStructure(&file);
        }
        if (r != KELV_ERR_ALL_LISTED)
            out.append(QStringLiteral("files end 0x%1").arg(uint32_t(r), 8, 16));
        KELVFindEnd(find);
        return out;
    }
    QString pcFile(const QString &name, const QByteArray &data)
    {
        QFile file(m_pc.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
            return QString();
        return m_pc.path();
    }
    QStringList pcEntries(const QString &folder) const
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_pc.isValid());
        kelvra::setMtpTransport(m_bus);
        QCOMPARE(KelvDevices_Initialize(KELV_API_VERSION, 0), KELV_OK);
        QCOMPARE(KelvFiles_Initialize(KELV_API_VERSION, 0), KELV_OK);
        QCOMPARE(KelvCommon_Initialize(KELV_API_VERSION, 0), KELV_OK);
        QCOMPARE(KELVOpenDM(&m_dm), KELV_OK);
        QCOMPARE(KELVRegisterDMNotifyIF(m_dm, KELV_NOTIFY_REGISTER, &m_sink), KELV_OK);
    }
    void cleanup()
    {
        for (KELVHANDLE fs : std::as_const(m_open))
            KELVCloseFS(fs);
        m_open.clear();
        for (const auto &device : std::as_const(m_plugged)) {
            m_bus->unplug(device);
            QTRY_VERIFY_WITH_TIMEOUT(m_sink.removed.contains(device->serial), 5000);
        }
        m_plugged.clear();
        QVERIFY(!m_sink.offThread);
        m_sink.added.clear();
        m_sink.removed.clear();
        m_sink.updated.clear();
        for (const QString &name : pcEntries(m_pc.path()))
            QFile::remove(m_pc.filePath(name));
    }
    void cleanupTestCase()
    {
        KELVRegisterDMNotifyIF(m_dm, KELV_NOTIFY_UNREGISTER, &m_sink);
        KelvCommon_Terminate(0);
        KelvFiles_Terminate(0);
        KelvDevices_Terminate(0);
    }

    // Arrival and removal reach the sink on the thread that registered it;
    // the record says who the phone is.
    void arrivalAndRemoval()
    {
        auto phone = FakeMtp::androidPhone(QStringLiteral("R58M1234"));
        plug(phone);
        KELV_DEVICE_INFO records[4] = {};
        uint32_t count = 4;
        QCOMPARE(KELVGetDevices(m_dm, &count, records), KELV_OK);
        QCOMPARE(count, 1u);
        QCOMPARE(QString::fromWCharArray(records[0].pstrSerialNumber), QStringLiteral("R58M1234"));
        QCOMPARE(QString::fromWCharArray(records[0].pstrFriendlyName), QStringLiteral("Anna's phone"));
        QCOMPARE(QString::fromWCharArray(records[0].pstrManufacturer), QStringLiteral("Orvak"));
        QCOMPARE(QString::fromWCharArray(records[0].pstrModel), QStringLiteral("Nova 7"));
        QCOMPARE(records[0].dwNumberOfItems, 1u);
        QCOMPARE(records[0].pItems[0].dwMedia, KELV_MEDIA_USB);
        KELVFreeDeviceStructure(count, records);

        m_bus->unplug(phone);
        m_plugged.clear();
        QTRY_VERIFY_WITH_TIMEOUT(m_sink.removed.contains(QStringLiteral("R58M1234")), 5000);
        count = 4;
        QCOMPARE(KELVGetDevices(m_dm, &count, records), KELV_OK);
        QCOMPARE(count, 0u);
        uint32_t media = KELV_MEDIA_ANY, id = 0;
        KELVHANDLE fs = nullptr;
        QCOMPARE(KELVOpenFS(L"R58M1234", &media, &fs, &id), KELV_ERR_NOT_CONNECTED);
    }

    // The internal storage is "C:" although the device names the card first.
    void storagesAsMemories()
    {
        plug(FakeMtp::androidPhone(QStringLiteral("R58M1234")));
        KELVHANDLE fs = open(QStringLiteral("R58M1234"));
        QVERIFY(fs);
        QCOMPARE(KELVRefreshDeviceMemoryValues(fs), KELV_OK);
        wchar_t *types = nullptr;
        QCOMPARE(KELVGetMemoryTypes(fs, &types), KELV_OK);
        QCOMPARE(QString::fromWCharArray(types), QStringLiteral("Internal shared storage,SD card"));
        KELVFreeString(types);
        int64_t free = 0, total = 0, used = 0;
        QCOMPARE(KELVGetMemoryValues(fs, L"Internal shared storage", &free, &total, &used), KELV_OK);
        QCOMPARE(free, int64_t(50) << 30);
        QCOMPARE(total, int64_t(128) << 30);
        QCOMPARE(used, int64_t(78) << 30);
        QCOMPARE(KELVGetMemoryValues(fs, L"SD card", &free, &total, &used), KELV_OK);
        QCOMPARE(free, int64_t(20) << 30);
        QCOMPARE(total, int64_t(32) << 30);
        QCOMPARE(list(fs, QStringLiteral("\\\\")), (QStringList{QStringLiteral("C:\\"), QStringLiteral("E:\\")}));
    }

    // The program's video folders land in the gallery's "Movies", made when
    // missing; other folders are the device's own.
    void pathMapping_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<uint>("storage");
        QTest::addColumn<QStringList>("devicePath");
        QTest::addRow("phone memory") << QStringLiteral("\\\\C:\\Data\\Videos") << uint(Internal)
                                      << QStringList{QStringLiteral("Movies")};
        QTest::addRow("card") << QStringLiteral("\\\\E:\\Videos") << uint(Card) << QStringList{QStringLiteral("Movies")};
        QTest::addRow("trailing backslash") << QStringLiteral("\\\\E:\\Videos\\") << uint(Card)
                                            << QStringList{QStringLiteral("Movies")};
        QTest::addRow("own folder") << QStringLiteral("\\\\C:\\Download") << uint(Internal)
                                    << QStringList{QStringLiteral("Download")};
    }
    void pathMapping()
    {
        QFETCH(QString, folder);
        QFETCH(uint, storage);
        QFETCH(QStringList, devicePath);
        auto phone = FakeMtp::androidPhone(QStringLiteral("R58M1234"));
        plug(phone);
        KELVHANDLE fs = open(phone->serial);
        QVERIFY(fs);
        QVERIFY(!phone->names(Internal, {}).contains(QStringLiteral("Movies")));
        const QByteArray data = pattern(3000);
        const QString pc = pcFile(QStringLiteral("clip.mp4"), data);
        // As the program copies: the last level first, then the file.
        QString parent = folder;
        if (parent.endsWith(QLatin1Char('\\')))
            parent.chop(1);
        const QString leaf = parent.mid(parent.lastIndexOf(QLatin1Char('\\')) + 1);
        parent.truncate(parent.lastIndexOf(QLatin1Char('\\')));
        KELVCreateFolder(fs, w(leaf).c_str(), w(parent).c_str());
        QCOMPARE(copy(fs, KELV_COPY_PC_TO_PHONE, QStringLiteral("clip.mp4"), pc, folder), KELV_OK);
        QCOMPARE(phone->data(storage, devicePath + QStringList{QStringLiteral("clip.mp4")}), data);
        QCOMPARE(list(fs, folder), QStringList{QStringLiteral("clip.mp4 3000")});
        // Back to the PC under the same name.
        QTemporaryDir back;
        QCOMPARE(copy(fs, KELV_COPY_PHONE_TO_PC, QStringLiteral("clip.mp4"), folder, back.path()), KELV_OK);
        QFile copied(back.filePath(QStringLiteral("clip.mp4")));
        QVERIFY(copied.open(QIODevice::ReadOnly));
        QCOMPARE(copied.readAll(), data);
    }

    // "Movies" is shown only under the program's names, so nothing is listed
    // twice; every listing ends with "all listed".
    void listing()
    {
        auto phone = FakeMtp::androidPhone(QStringLiteral("R58M1234"));
        const uint32_t movies = phone->add(Internal, 0, QStringLiteral("Movies"), true);
        phone->add(Internal, movies, QStringLiteral("Holiday.MP4"), false, pattern(1234));
        phone->add(Internal, movies, QStringLiteral("Trips"), true);
        plug(phone);
        KELVHANDLE fs = open(phone->serial);
        QVERIFY(fs);
        QCOMPARE(list(fs, QStringLiteral("\\\\C:\\")), (QStringList{QStringLiteral("Data\\"), QStringLiteral("DCIM\\"),
                                                                     QStringLiteral("Download\\")}));
        QCOMPARE(list(fs, QStringLiteral("\\\\C:\\Data")), QStringList{QStringLiteral("Videos\\")});
        QCOMPARE(list(fs, QStringLiteral("\\\\C:\\Data\\Videos")),
                 (QStringList{QStringLiteral("Trips\\"), QStringLiteral("Holiday.MP4 1234")}));
        QCOMPARE(list(fs, QStringLiteral("\\\\C:\\Data\\Videos\\Trips")), QStringList());
        // The card has no "Movies" yet: no "Videos" either.
        QCOMPARE(list(fs, QStringLiteral("\\\\E:\\")), QStringList());
        KELVHANDLE find = nullptr;
        QCOMPARE(KELVFindBegin(fs, 0, &find, L"\\\\C:\\Movies"), KELV_ERR_FOLDER_NOT_FOUND);
        QCOMPARE(KELVFindBegin(fs, 0, &find, L"\\\\F:\\"), KELV_ERR_FOLDER_INVALID);
        // Delete through the program's path.
        QCOMPARE(KELVDeleteFile(fs, L"Holiday.MP4", L"\\\\C:\\Data\\Videos"), KELV_OK);
        QCOMPARE(phone->names(Internal, {QStringLiteral("Movies")}), QStringList{QStringLiteral("Trips")});
        QCOMPARE(KELVDeleteFile(fs, L"Holiday.MP4", L"\\\\C:\\Data\\Videos"), KELV_ERR_FILE_NOT_FOUND);
    }

    // Progress in percent, rising to 100, in both directions.
    void copyWithProgress_data()
    {
        QTest::addColumn<bool>("toPhone");
        QTest::addRow("to the phone") << true;
        QTest::addRow("to the PC") << false;
    }
    void copyWithProgress()
    {
        QFETCH(bool, toPhone);
        auto phone = FakeMtp::androidPhone(QStringLiteral("R58M1234"));
        // Chunks of less than 1 % each.
        const QByteArray data = pattern(8 << 20);
        const uint32_t movies = phone->add(Internal, 0, QStringLiteral("Movies"), true);
        if (!toPhone)
            phone->add(Internal, movies, QStringLiteral("clip.mp4"), false, data);
        else // left by a copy that was killed while replacing a file
            phone->add(Internal, movies, QStringLiteral(".~kelvra-99.part"), false, "part");
        plug(phone);
        KELVHANDLE fs = open(phone->serial);
        QVERIFY(fs);
        QTemporaryDir target;
        const QString pc = toPhone ? pcFile(QStringLiteral("clip.mp4"), data) : target.path();
        ProgressSink progress;
        QCOMPARE(KELVRegisterFSNotifyIF(fs, KELV_NOTIFY_REGISTER, &progress), KELV_OK);
        const QString folder = QStringLiteral("\\\\C:\\Data\\Videos");
        QCOMPARE(copy(fs, toPhone ? KELV_COPY_PC_TO_PHONE : KELV_COPY_PHONE_TO_PC, QStringLiteral("clip.mp4"),
                      toPhone ? pc : folder, toPhone ? folder : pc),
                 KELV_OK);
        QCOMPARE(KELVRegisterFSNotifyIF(fs, KELV_NOTIFY_UNREGISTER, &progress), KELV_OK);
        QVERIFY(progress.values.size() > 3);
        QCOMPARE(progress.values.first(), 0u);
        QCOMPARE(progress.values.last(), 100u);
        // Each percentage once, rising.
        QVERIFY(std::adjacent_find(progress.values.begin(), progress.values.end(), std::greater_equal<uint32_t>())
                == progress.values.end());
        if (toPhone) {
            QCOMPARE(phone->data(Internal, {QStringLiteral("Movies"), QStringLiteral("clip.mp4")}), data);
            QCOMPARE(phone->names(Internal, {QStringLiteral("Movies")}), QStringList{QStringLiteral("clip.mp4")});
        } else {
            QCOMPARE(pcEntries(pc), QStringList{QStringLiteral("clip.mp4")});
            QFile copied(target.filePath(QStringLiteral("clip.mp4")));
            QVERIFY(copied.open(QIODevice::ReadOnly));
            QCOMPARE(copied.readAll(), data);
        }
    }

    // A cancel from another thread while the copy blocks ends it with the
    // cancel code and leaves nothing of it: no object on the phone, no file
    // on the PC, and a replaced file as it was.
    void cancelMidCopy_data()
    {
        QTest::addColumn<bool>("toPhone");
        QTest::addColumn<bool>("replace");
        QTest::addRow("to the phone") << true << false;
        QTest::addRow("to the phone, replacing") << true << true;
        QTest::addRow("to the PC") << false << false;
    }
    void cancelMidCopy()
    {
        QFETCH(bool, toPhone);
        QFETCH(bool, replace);
        auto phone = FakeMtp::androidPhone(QStringLiteral("R58M1234"));
        const QByteArray data = pattern(1 << 20);
        const QByteArray old = pattern(777);
        const uint32_t movies = phone->add(Internal, 0, QStringLiteral("Movies"), true);
        if (!toPhone || replace)
            phone->add(Internal, movies, QStringLiteral("clip.mp4"), false, toPhone ? old : data);
        QTemporaryDir target;
        const QString pc = toPhone ? pcFile(QStringLiteral("clip.mp4"), data) : target.path();

        std::promise<void> halfway, cancelled;
        std::shared_future<void> cancelDone = cancelled.get_future().share();
        bool signalled = false;
        phone->duringTransfer = [&](uint64_t done) {
            if (signalled || done < uint64_t(data.size() / 2))
                return;
            signalled = true;
            halfway.set_value();
            cancelDone.wait_for(10s);
        };
        plug(phone);
        KELVHANDLE fs = open(phone->serial);
        QVERIFY(fs);
        const QString folder = QStringLiteral("\\\\C:\\Data\\Videos");
        const uint32_t options = (toPhone ? KELV_COPY_PC_TO_PHONE : KELV_COPY_PHONE_TO_PC)
            | (replace ? KELV_COPY_REPLACE : 0u);
        KELV_RESULT result = KELV_OK;
        std::thread worker([&] {
            result = copy(fs, options, QStringLiteral("clip.mp4"), toPhone ? pc : folder, toPhone ? folder : pc);
        });
        QCOMPARE(halfway.get_future().wait_for(10s), std::future_status::ready);
        QCOMPARE(KELVCancel(fs), KELV_OK);
        cancelled.set_value();
        worker.join();
        QCOMPARE(result, KELV_ERR_CANCELLED);
        if (toPhone) {
            const QStringList left = phone->names(Internal, {QStringLiteral("Movies")});
            QCOMPARE(left, replace ? QStringList{QStringLiteral("clip.mp4")} : QStringList());
            if (replace)
                QCOMPARE(phone->data(Internal, {QStringLiteral("Movies"), QStringLiteral("clip.mp4")}), old);
        } else {
            QCOMPARE(pcEntries(pc), QStringList());
        }
        // The cancel was spent on that copy: the next one runs.
        phone->duringTransfer = nullptr;
        QCOMPARE(copy(fs, options | KELV_COPY_REPLACE, QStringLiteral("clip.mp4"), toPhone ? pc : folder,
                      toPhone ? folder : pc),
                 KELV_OK);
    }

    // A send that fails part-way removes the object it made; a phone pulled
    // out gives "connection lost" and the session ends without a crash.
    void failureMidSend_data()
    {
        QTest::addColumn<int>("failure");
        QTest::addColumn<int>("expected");
        QTest::addRow("refused") << int(kelvra::MtpFailure::Refused) << int(KELV_ERR_FILE_NOT_ALLOWED);
        QTest::addRow("storage full") << int(kelvra::MtpFailure::Full) << int(KELV_ERR_MEMORY_FULL);
        QTest::addRow("too large for the storage") << int(kelvra::MtpFailure::TooLarge) << int(KELV_ERR_FILE_TOO_BIG);
        QTest::addRow("unplugged") << int(kelvra::MtpFailure::Gone) << int(KELV_ERR_CONNECTION_LOST);
    }
    void failureMidSend()
    {
        QFETCH(int, failure);
        QFETCH(int, expected);
        const auto why = kelvra::MtpFailure(failure);
        auto phone = FakeMtp::androidPhone(QStringLiteral("R58M1234"));
        phone->add(Internal, 0, QStringLiteral("Movies"), true);
        if (why == kelvra::MtpFailure::Gone) {
            phone->duringTransfer = [this, phone](uint64_t done) {
                if (done >= 256 * 1024 && phone->plugged.load())
                    m_bus->unplug(phone);
            };
        } else {
            phone->failAt = 256 * 1024;
            phone->failWith = why;
        }
        plug(phone);
        KELVHANDLE fs = open(phone->serial);
        QVERIFY(fs);
        const QString pc = pcFile(QStringLiteral("clip.mp4"), pattern(1 << 20));
        QCOMPARE(copy(fs, KELV_COPY_PC_TO_PHONE, QStringLiteral("clip.mp4"), pc, QStringLiteral("\\\\C:\\Data\\Videos")),
                 KELV_RESULT(expected));
        QCOMPARE(phone->sends.load(), 1);
        if (why == kelvra::MtpFailure::Gone) {
            // A phone pulled out drops the part itself; the session is over.
            wchar_t *types = nullptr;
            QCOMPARE(KELVGetMemoryTypes(fs, &types), KELV_ERR_NOT_CONNECTED);
            QTRY_VERIFY_WITH_TIMEOUT(m_sink.removed.contains(phone->serial), 5000);
            m_plugged.clear();
        } else {
            QCOMPARE(phone->names(Internal, {QStringLiteral("Movies")}), QStringList());
        }
    }

    // What cannot fit is refused before anything is sent: a full memory, and
    // a file of 4 GiB on a card of up to 32 GB (FAT); a bigger card takes it.
    void refusedBeforeSending_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<uint64_t>("cardCapacity");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("sends");
        QTest::addColumn<qint64>("oldSize"); // of a phone file the copy replaces, 0 for none
        QTest::addRow("phone memory full") << QStringLiteral("\\\\C:\\Data\\Videos") << qint64(2 << 20)
                                           << uint64_t(32ULL << 30) << int(KELV_ERR_MEMORY_FULL) << 0 << qint64(0);
        // The old file stays until the new one is whole: the new one must
        // fit beside it, not only in its place.
        QTest::addRow("replacing, room only in the old file's place")
            << QStringLiteral("\\\\C:\\Data\\Videos") << qint64(3 << 19) << uint64_t(32ULL << 30)
            << int(KELV_ERR_MEMORY_FULL) << 0 << qint64(1 << 20);
        QTest::addRow("4 GiB on a 32 GB card") << QStringLiteral("\\\\E:\\Videos") << qint64(4LL << 30)
                                               << uint64_t(32ULL << 30) << int(KELV_ERR_FILE_TOO_BIG) << 0 << qint64(0);
        QTest::addRow("4 GiB on a 64 GB card is sent")
            << QStringLiteral("\\\\E:\\Videos") << qint64(4LL << 30) << uint64_t(64ULL << 30) << int(KELV_ERR_CANCELLED)
            << 1 << qint64(0);
    }
    void refusedBeforeSending()
    {
        QFETCH(QString, folder);
        QFETCH(qint64, size);
        QFETCH(uint64_t, cardCapacity);
        QFETCH(int, expected);
        QFETCH(int, sends);
        QFETCH(qint64, oldSize);
        auto phone = FakeMtp::androidPhone(QStringLiteral("R58M1234"));
        phone->storages[0].capacity = cardCapacity;
        phone->storages[0].free = cardCapacity - (1ULL << 30);
        phone->storages[1].free = 1 << 20; // the phone memory has 1 MiB left
        const uint32_t movies = phone->add(Internal, 0, QStringLiteral("Movies"), true);
        phone->add(Card, 0, QStringLiteral("Movies"), true);
        const QByteArray old(oldSize, 'o');
        if (oldSize > 0)
            phone->add(Internal, movies, QStringLiteral("big.mp4"), false, old);
        plug(phone);
        KELVHANDLE fs = open(phone->serial);
        QVERIFY(fs);
        // A sparse file: its size without its bytes.
        QFile big(m_pc.filePath(QStringLiteral("big.mp4")));
        QVERIFY(big.open(QIODevice::WriteOnly));
        QVERIFY(big.resize(size));
        big.close();
        // A copy that gets going is cancelled at once.
        phone->duringTransfer = [fs](uint64_t) { KELVCancel(fs); };
        QCOMPARE(copy(fs, KELV_COPY_PC_TO_PHONE | (oldSize > 0 ? KELV_COPY_REPLACE : 0u), QStringLiteral("big.mp4"),
                      m_pc.path(), folder),
                 KELV_RESULT(expected));
        QCOMPARE(phone->sends.load(), sends);
        QCOMPARE(phone->names(Internal, {QStringLiteral("Movies")}),
                 oldSize > 0 ? QStringList(QStringLiteral("big.mp4")) : QStringList());
        if (oldSize > 0)
            QCOMPARE(phone->data(Internal, {QStringLiteral("Movies"), QStringLiteral("big.mp4")}), old);
        QCOMPARE(phone->names(Card, {QStringLiteral("Movies")}), QStringList());
    }

    // A locked phone is listed without memories, and says so; once unlocked
    // it is updated with its storages.
    void lockedPhone()
    {
        auto phone = FakeMtp::androidPhone(QStringLiteral("R58M1234"));
        phone->locked = true;
        plug(phone);
        KELVHANDLE fs = open(phone->serial);
        QVERIFY(fs);
        wchar_t *types = nullptr;
        QCOMPARE(KELVGetMemoryTypes(fs, &types), KELV_ERR_DEVICE_LOCKED);
        phone->locked = false;
        QTRY_VERIFY_WITH_TIMEOUT(m_sink.updated.contains(phone->serial), 8000);
        KELVHANDLE again = open(phone->serial);
        QVERIFY(again);
        QCOMPARE(KELVGetMemoryTypes(again, &types), KELV_OK);
        QCOMPARE(QString::fromWCharArray(types), QStringLiteral("Internal shared storage,SD card"));
        KELVFreeString(types);
    }

    // A phone that cannot be opened is still listed, and opening its file
    // system tells why.
    void openFailures_data()
    {
        QTest::addColumn<int>("failure");
        QTest::addColumn<int>("expected");
        QTest::addRow("held by another program") << int(kelvra::MtpFailure::Busy) << int(KELV_ERR_CONNECTION_TAKEN);
        QTest::addRow("file transfer not chosen") << int(kelvra::MtpFailure::NotMtp) << int(KELV_ERR_MEDIA_NOT_ACTIVE);
        QTest::addRow("gone") << int(kelvra::MtpFailure::Gone) << int(KELV_ERR_CONNECTION_LOST);
    }
    void openFailures()
    {
        QFETCH(int, failure);
        QFETCH(int, expected);
        auto phone = FakeMtp::androidPhone(QStringLiteral("R58M1234"));
        phone->openFailure = kelvra::MtpFailure(failure);
        plug(phone);
        uint32_t media = KELV_MEDIA_ANY, id = 0;
        KELVHANDLE fs = nullptr;
        QCOMPARE(KELVOpenFS(L"R58M1234", &media, &fs, &id), KELV_RESULT(expected));
    }

    // Configuration files from the documented defaults (so the program
    // offers High quality and shows its own picture), overridden per serial
    // number by "<data folder>/phones/<serial>.ini".
    void configurationFiles_data()
    {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QByteArray>("overrides");
        QTest::addColumn<int>("bitrate");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("quality");
        QTest::addRow("defaults") << QStringLiteral("R58DEF") << QByteArray() << 4000 << 1920 << 1080 << 2;
        QTest::addRow("override") << QStringLiteral("R58OVR")
                                  << QByteArray("[Video]\nMaxBitrate=300\nImgWallpaperSize=640,480\n") << 300 << 640
                                  << 480 << 1;
        QTest::addRow("broken override") << QStringLiteral("R58BAD")
                                         << QByteArray("[Video]\nMaxBitrate=fast\nImgWallpaperSize=640x480\n") << 4000
                                         << 1920 << 1080 << 2;
    }
    void configurationFiles()
    {
        QFETCH(QString, serial);
        QFETCH(QByteArray, overrides);
        QFETCH(int, bitrate);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, quality);
        if (!overrides.isEmpty()) {
            const QString folder = KelvraPaths::dataFolder() + QStringLiteral("/phones");
            QVERIFY(QDir().mkpath(folder));
            QFile file(folder + QLatin1Char('/') + serial + QStringLiteral(".ini"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(overrides);
        }
        plug(FakeMtp::androidPhone(serial));
        Orvak_API::API_ConfServer conf(serial);
        QVERIFY(conf.isLoaded());
        Orvak_API::Phone_VideoCapabilities caps;
        QVERIFY(conf.readVideoCapabilities(caps));
        QCOMPARE(caps.maxBitrate, bitrate);
        QCOMPARE(caps.width, width);
        QCOMPARE(caps.height, height);
        QCOMPARE(caps.imageFile, QString());
        QCOMPARE(Orvak_API::newPhoneQuality(serial), quality);
    }
};

QTEST_GUILESS_MAIN(tst_KelvraMtp)
#include "tst_kelvramtp.moc"
