#include "folderphones.h"
#include "kelvra.h"
#include "phoneinfo.h"
#include "phonemanagement.h"
#include "phonesinfo.h"

#include <QSignalSpy>
#include <QTest>

using namespace Orvak_API;
using namespace TestSupport;

// Removable volumes as phones, through the program's own phone classes and
// the real library: the volumes are folders the test makes under a private
// mount root ($KELVRA_MOUNT_ROOT), as udisks2 mounts them under /media/$USER.
class TestKelvraVolumes : public QObject
{
    Q_OBJECT

    QTemporaryDir m_mounts;
    QTemporaryDir m_pc;

private Q_SLOTS:
    void initTestCase()
    {
        useBuiltLibrary();
        QVERIFY(m_mounts.isValid());
        qputenv("KELVRA_MOUNT_ROOT", QFile::encodeName(m_mounts.path()));
    }

    // A card with a camera folder is a phone of one memory named after the
    // volume; one with a manifest is the phone it describes. Mounting it is
    // an arrival, unmounting a removal, and in between the program copies,
    // lists and deletes videos on it as on any phone.
    void volumeAsPhone_data()
    {
        QTest::addColumn<QByteArray>("manifest");
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QString>("friendly");
        QTest::addColumn<QString>("memoryType");
        QTest::addColumn<QString>("videoFile"); // on the volume
        QTest::addRow("camera card") << QByteArray() << QStringLiteral("vol-NIKON_D50") << QStringLiteral("NIKON D50")
                                     << QStringLiteral("Memory card") << QStringLiteral("Data/Videos/clip.mp4");
        QTest::addRow("phone mounted as a disk")
            << QByteArray("[Phone]\nSerialNumber=DISK77\nFriendlyName=Old phone\nManufacturer=Orvak\nModel=Disk\n"
                          "Media=16\n[Memory0]\nType=Phone memory\nPath=int\nCapacity=1000000000\n")
            << QStringLiteral("DISK77") << QStringLiteral("Old phone") << QStringLiteral("Phone memory")
            << QStringLiteral("int/Data/Videos/clip.mp4");
    }
    void volumeAsPhone()
    {
        QFETCH(QByteArray, manifest);
        QFETCH(QString, serial);
        QFETCH(QString, friendly);
        QFETCH(QString, memoryType);
        QFETCH(QString, videoFile);

        PhoneManagement management;
        QCOMPARE(management.lastResult(), 0);
        QStringList events;
        connect(&management, &PhoneManagement::OnDeviceAdded, this,
                [&](const wchar_t *sn, uint) { events << QStringLiteral("added ") + QString::fromWCharArray(sn); });
        connect(&management, &PhoneManagement::OnDeviceRemoved, this,
                [&](const wchar_t *sn, uint) { events << QStringLiteral("removed ") + QString::fromWCharArray(sn); });
        QCOMPARE(management.registerDeviceNotifications(), 0);

        // Mounted: the mount point is made first, its files appear after.
        const QString volume = m_mounts.filePath(friendly);
        QVERIFY(QDir().mkpath(volume));
        if (manifest.isEmpty()) {
            QVERIFY(QDir().mkpath(volume + QStringLiteral("/DCIM/100NIKON")));
        } else {
            QVERIFY(QDir().mkpath(volume + QStringLiteral("/int/Data")));
            QFile ini(volume + QStringLiteral("/phone.ini"));
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write(manifest);
        }
        QTRY_COMPARE_WITH_TIMEOUT(events, QStringList{QStringLiteral("added ") + serial}, 10000);

        PhonesInfo phones;
        QVERIFY(management.getPhones(phones));
        PhoneInfo *phone = phones.findBySerial(serial);
        QVERIFY(phone);
        QCOMPARE(phone->friendlyName(), friendly);
        QCOMPARE(phone->bestMedia(), 16u);
        QList<PhoneMemory *> memories;
        phone->getMemoryInfo(memories);
        QCOMPARE(memories.size(), 1);
        QCOMPARE(memories.first()->type, memoryType);
        QVERIFY(memories.first()->free > 0);
        qDeleteAll(memories);

        QFile clip(m_pc.filePath(QStringLiteral("clip.mp4")));
        QVERIFY(clip.open(QIODevice::WriteOnly));
        clip.write(QByteArray(200000, 'v'));
        clip.close();
        QSignalSpy progress(phone, &PhoneInfo::copyProgressChanged);
        QVERIFY(phone->copyFileToPhone(QStringLiteral("clip.mp4"), m_pc.path(), phoneVideoFolder(0)));
        QCOMPARE(QFileInfo(volume + QLatin1Char('/') + videoFile).size(), 200000);
        QVERIFY(!progress.isEmpty());
        QCOMPARE(progress.last().at(0).toInt(), 100);

        QList<PhoneFileEntry *> files;
        QVERIFY(phone->listMemoryFiles(files, 0, L"3gp|3g2|mp4"));
        QCOMPARE(files.size(), 1);
        QCOMPARE(files.first()->name, QStringLiteral("clip.mp4"));
        QCOMPARE(files.first()->size, 200000u);
        qDeleteAll(files);

        QTemporaryDir back;
        QVERIFY(phone->copyFileToPC(QStringLiteral("clip.mp4"), phoneVideoFolder(0), back.path()));
        QCOMPARE(QFileInfo(back.filePath(QStringLiteral("clip.mp4"))).size(), 200000);
        QVERIFY(phone->deleteFile(QStringLiteral("clip.mp4"), phoneVideoFolder(0)));
        QVERIFY(!QFileInfo::exists(volume + QLatin1Char('/') + videoFile));

        // Unmounted: an empty mount point is left for a moment.
        QVERIFY(QDir(volume).removeRecursively());
        QVERIFY(QDir().mkpath(volume));
        QTRY_COMPARE_WITH_TIMEOUT(events.size(), 2, 10000);
        QCOMPARE(events.last(), QStringLiteral("removed ") + serial);
        QSignalSpy errors(phone, &API_Base::SignalErrorMessage);
        QVERIFY(!phone->copyFileToPhone(QStringLiteral("clip.mp4"), m_pc.path(), phoneVideoFolder(0)));
        QCOMPARE(uint32_t(phone->lastResult()), 0x80200000u);
        QVERIFY(QDir(volume).removeRecursively());
    }

    // Folders under the mount root that are neither phones nor cards (a
    // USB stick of documents) are not phones.
    void otherVolumesAreNotPhones()
    {
        QVERIFY(QDir().mkpath(m_mounts.filePath(QStringLiteral("STICK/Documents"))));
        PhoneManagement management;
        PhonesInfo phones;
        QVERIFY(!management.getPhones(phones));
        QVERIFY(phones.isEmpty());
        QVERIFY(QDir(m_mounts.filePath(QStringLiteral("STICK"))).removeRecursively());
    }
};

QTEST_GUILESS_MAIN(TestKelvraVolumes)
#include "tst_kelvravolumes.moc"
