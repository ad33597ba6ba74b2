#include "folderphones.h"
#include "kelvra.h"
#include "phoneinfo.h"
#include "phonemanagement.h"
#include "phonesinfo.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>

using namespace Orvak_API;
using namespace TestSupport;


// Phone discovery through the real connectivity library, loaded by the real
// loader, against folder phones in the test's private data folder.
class TestPhoneManagement : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FolderPhones> m_phones;

private Q_SLOTS:
    void initTestCase() { useBuiltLibrary(); }
    void init() { m_phones = std::make_unique<FolderPhones>(); }
    void cleanup()
    {
        m_phones.reset();
        qputenv("KELVRA_API_PATH", qgetenv("TAMSEL_BIN_DIR") + "/" KELV_LIBRARY_FILE_NAME);
        QCOMPARE(KelvLoader::referenceCount(KelvModule::Devices), 0u);
        QCOMPARE(KelvLoader::referenceCount(KelvModule::Files), 0u);
        QCOMPARE(KelvLoader::referenceCount(KelvModule::Common), 0u);
    }

    // First: once loaded, the library stays in the process.
    void libraryMissing()
    {
        qputenv("KELVRA_API_PATH", "/nonexistent/" KELV_LIBRARY_FILE_NAME);
        // Another user of the file module, which a failed session must leave
        // alone when it ends.
        QCOMPARE(uint32_t(KelvLoader::initialize(KelvModule::Files)), 0x80100100u);
        {
            PhoneManagement failed;
            QCOMPARE(uint32_t(failed.lastResult()), 0x80100100u);
        }
        QCOMPARE(KelvLoader::referenceCount(KelvModule::Files), 1u);
        QCOMPARE(KelvLoader::terminate(KelvModule::Files), 0);

        PhoneManagement management;
        QVERIFY(management.lastResult() < 0);
        QVERIFY(management.errorFlag());
        QCOMPARE(management.lastMessage(), QStringLiteral("Orvak Device Mangement API: Initialization fault"));
        QVERIFY(!KelvLoader::isLoaded(KelvModule::Devices));

        QSignalSpy errors(&management, &API_Base::SignalErrorMessage);
        PhonesInfo phones;
        QVERIFY(!management.getPhones(phones));
        QCOMPARE(uint32_t(management.lastResult()), 0x80100004u);
        QCOMPARE(errors.count(), 1);
        QVERIFY(errors.first().at(2).toString().startsWith(QLatin1String("Orvak Pelmora is not installed.")));
        QCOMPARE(errors.first().at(1).toString(),
                 QStringLiteral("Orvak Device Mangement API: Cannot get device info: API is not initialized"));
    }

    void noPhone()
    {
        PhoneManagement management;
        QCOMPARE(management.lastResult(), 0);
        QSignalSpy errors(&management, &API_Base::SignalErrorMessage);
        PhonesInfo phones;
        QVERIFY(!management.getPhones(phones));
        QVERIFY(phones.isEmpty());
        QVERIFY(!phones.bestConnected());
        QVERIFY(!phones.findBySerial(QStringLiteral("X")));
        QCOMPARE(errors.count(), 0);
    }

    void bestConnected_data()
    {
        QTest::addColumn<QStringList>("media");
        QTest::addColumn<int>("expected"); // index into the phones, -1 for none
        QTest::addRow("Bluetooth then USB") << QStringList{QStringLiteral("8"), QStringLiteral("16")} << 1;
        QTest::addRow("two USB") << QStringList{QStringLiteral("16"), QStringLiteral("16")} << 0;
        QTest::addRow("serial, USB and Bluetooth")
            << QStringList{QStringLiteral("2"), QStringLiteral("8,16"), QStringLiteral("8")} << 1;
        QTest::addRow("serial kinds") << QStringList{QStringLiteral("2"), QStringLiteral("4")} << 1;
        QTest::addRow("USB stops the search before a better medium")
            << QStringList{QStringLiteral("16"), QStringLiteral("32")} << 0;
        QTest::addRow("a better medium before USB") << QStringList{QStringLiteral("32"), QStringLiteral("16")} << 0;
    }
    void bestConnected()
    {
        QFETCH(QStringList, media);
        QFETCH(int, expected);
        if (scriptedMtp() && media.count(QStringLiteral("16")) != media.size())
            QSKIP("an MTP phone is always on USB");
        for (int i = 0; i < media.size(); ++i) {
            // Folder names give the library's order.
            m_phones->addPhone(QStringLiteral("p%1").arg(i), QStringLiteral("SN%1").arg(i),
                               QStringLiteral("Phone %1").arg(i), media.at(i));
        }
        PhoneManagement management;
        PhonesInfo phones;
        QVERIFY(management.getPhones(phones));
        QCOMPARE(phones.size(), media.size());
        for (int i = 0; i < media.size(); ++i) {
            QCOMPARE(phones.at(i)->serialNumber(), QStringLiteral("SN%1").arg(i));
            QCOMPARE(phones.at(i)->friendlyName(), QStringLiteral("Phone %1").arg(i));
            QVERIFY(phones.at(i)->fileSystem());
        }
        PhoneInfo *best = phones.bestConnected();
        QCOMPARE(best, expected < 0 ? nullptr : phones.at(expected));
    }

    void findBySerial()
    {
        m_phones->addPhone(QStringLiteral("a"), QStringLiteral("AAA"), QStringLiteral("First"));
        m_phones->addPhone(QStringLiteral("b"), QStringLiteral("BBB"), QStringLiteral("Second"));
        PhoneManagement management;
        PhonesInfo phones;
        QVERIFY(management.getPhones(phones));
        QCOMPARE(phones.findBySerial(QStringLiteral("BBB")), phones.at(1));
        QVERIFY(!phones.findBySerial(QStringLiteral("bbb")));
        QVERIFY(!phones.findBySerial(QString()));

        // Refilled after a phone went away, the list no longer has it.
        m_phones->removePhone(QStringLiteral("b"));
        QVERIFY(management.getPhones(phones));
        QCOMPARE(phones.size(), 1);
        QVERIFY(!phones.findBySerial(QStringLiteral("BBB")));
        QCOMPARE(phones.findBySerial(QStringLiteral("AAA")), phones.first());
    }

    void phoneWithoutFileSystem()
    {
        m_phones->addPhone(QStringLiteral("a"), QStringLiteral("GONE"), QStringLiteral("Going"));
        PhoneManagement management;
        PhonesInfo phones;
        QVERIFY(management.getPhones(phones));
        PhoneInfo *phone = phones.first();
        phone->closeFileSystem();
        m_phones->removePhone(QStringLiteral("a"));
        // Opening now fails; the phone stays in the list, and its operations fail.
        QSignalSpy errors(phone, &API_Base::SignalErrorMessage);
        QVERIFY(!phone->openFileSystem());
        QVERIFY(phone->errorFlag());
        QCOMPARE(uint32_t(phone->lastResult()), 0x80200000u);
        QVERIFY(phone->lastMessage().startsWith(QLatin1String("Orvak Phone File System API: Cannot access phone file system: ")));
        QVERIFY(!phone->deleteFile(QStringLiteral("x.mp4"), QStringLiteral("\\\\C:")));
        QCOMPARE(uint32_t(phone->lastResult()), 0x80100014u);
        // A cancel still holds, for a session that may open later; it
        // touches no recorded result.
        QVERIFY(phone->cancel());
        QCOMPARE(uint32_t(phone->lastResult()), 0x80100014u);
        QCOMPARE(errors.count(), 2);
    }

    void secondManagementSharesTheLibrary()
    {
        m_phones->addPhone(QStringLiteral("a"), QStringLiteral("S1"), QStringLiteral("One"));
        PhoneManagement first;
        QVERIFY(KelvLoader::isLoaded(KelvModule::Devices));
        {
            PhoneManagement second;
            QCOMPARE(second.lastResult(), 0);
            QCOMPARE(KelvLoader::referenceCount(KelvModule::Devices), 2u);
            QCOMPARE(KelvLoader::referenceCount(KelvModule::Files), 2u);
            PhonesInfo phones;
            QVERIFY(second.getPhones(phones));
        }
        QCOMPARE(KelvLoader::referenceCount(KelvModule::Devices), 1u);
        QCOMPARE(KelvLoader::referenceCount(KelvModule::Files), 1u);
        QVERIFY(KelvLoader::isLoaded(KelvModule::Devices));
        QVERIFY(KelvLoader::isLoaded(KelvModule::Files));
        PhonesInfo phones;
        QVERIFY(first.getPhones(phones));
        QCOMPARE(phones.size(), 1);
    }

    void deviceSignals()
    {
        PhoneManagement management;
        QStringList events;
        QList<QThread *> threads;
        const auto record = [&](const QString &kind) {
            return [&, kind](const wchar_t *serial, uint status) {
                // The serial number is the library's only during the call.
                events << kind + QLatin1Char(' ') + QString::fromWCharArray(serial) + QLatin1Char(' ')
                        + QString::number(status);
                threads << QThread::currentThread();
            };
        };
        connect(&management, &PhoneManagement::OnDeviceAdded, this, record(QStringLiteral("added")));
        connect(&management, &PhoneManagement::OnDeviceRemoved, this, record(QStringLiteral("removed")));
        connect(&management, &PhoneManagement::OnDeviceUpdated, this, record(QStringLiteral("updated")));
        connect(&management, &PhoneManagement::OnDeviceListUpdated, this, [&] {
            events << QStringLiteral("list");
            threads << QThread::currentThread();
        });
        QCOMPARE(management.registerDeviceNotifications(), 0);

        m_phones->addPhone(QStringLiteral("a"), QStringLiteral("NEW1"), QStringLiteral("Arriving"));
        QTRY_COMPARE_WITH_TIMEOUT(events, QStringList({QStringLiteral("added NEW1 1"), QStringLiteral("list")}), 20000);
        m_phones->addPhone(QStringLiteral("a"), QStringLiteral("NEW1"), QStringLiteral("Renamed"));
        QTRY_COMPARE_WITH_TIMEOUT(events.size(), 4, 20000);
        QCOMPARE(events.at(2), QStringLiteral("updated NEW1 5"));
        m_phones->removePhone(QStringLiteral("a"));
        QTRY_COMPARE_WITH_TIMEOUT(events.size(), 6, 20000);
        QCOMPARE(events.at(4), QStringLiteral("removed NEW1 2"));
        for (QThread *thread : threads)
            QCOMPARE(thread, QThread::currentThread());
    }
};

QTEST_GUILESS_MAIN(TestPhoneManagement)
#include "tst_phonemanagement.moc"
