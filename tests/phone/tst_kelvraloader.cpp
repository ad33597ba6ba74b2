#include "folderphones.h"
#include "kelvra.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Orvak_API;

// The loader on its own: where it finds the library, how it counts, and what
// it answers when the library or one of its functions is missing.
class TestKelvraLoader : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_systemConfig;

    static void expectUnloaded()
    {
        for (KelvModule m : {KelvModule::Files, KelvModule::Devices, KelvModule::Common}) {
            QCOMPARE(KelvLoader::referenceCount(m), 0u);
            QVERIFY(!KelvLoader::isLoaded(m));
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        // The system-scope store is read from the first folder of
        // XDG_CONFIG_DIRS; point it at a folder of ours before Qt looks.
        QVERIFY(m_systemConfig.isValid());
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(m_systemConfig.path()));
    }

    void cleanup()
    {
        qunsetenv("KELVRA_API_PATH");
        QFile::remove(m_systemConfig.filePath(QStringLiteral("PC Kelvra Solution/API.conf")));
        expectUnloaded();
    }

    void missingLibrary()
    {
        qputenv("KELVRA_API_PATH", "/nonexistent/" KELV_LIBRARY_FILE_NAME);
        QCOMPARE(uint32_t(KelvLoader::initialize(KelvModule::Devices)), 0x80100100u);
        // The failed initialise still counts, so the caller's terminate pairs with it.
        QCOMPARE(KelvLoader::referenceCount(KelvModule::Devices), 1u);
        QVERIFY(!KelvLoader::isLoaded(KelvModule::Devices));
        KELVHANDLE dm = nullptr;
        QCOMPARE(uint32_t(Kelv::OpenDM(&dm)), 0x80100004u);
        QCOMPARE(Kelv::GetAPIVersion(), 0x80100004u);
        QCOMPARE(KelvLoader::terminate(KelvModule::Devices), 0);
        QCOMPARE(uint32_t(KelvLoader::terminate(KelvModule::Devices)), 0x80100004u);
    }

    // Runs before any test loads the library: once loaded, the library stays
    // resident and a plain-name load finds it.
    void locationFromSystemSetting()
    {
        {
            QSettings store(QSettings::NativeFormat, QSettings::SystemScope, QStringLiteral("PC Kelvra Solution"),
                            QStringLiteral("API"));
            store.setValue(QStringLiteral("KelvDevices"),
                           QString(QString::fromLocal8Bit(qgetenv("TAMSEL_BIN_DIR")) + QStringLiteral("/" KELV_LIBRARY_FILE_NAME)));
            store.setValue(QStringLiteral("KelvFiles"), QStringLiteral("/nonexistent/" KELV_LIBRARY_FILE_NAME));
        }
        QVERIFY(QFile::exists(m_systemConfig.filePath(QStringLiteral("PC Kelvra Solution/API.conf"))));
        // Each module has its own entry; a wrong one falls back to the plain
        // name, which is not on the library path here.
        QCOMPARE(uint32_t(KelvLoader::initialize(KelvModule::Files)), 0x80100100u);
        QCOMPARE(KelvLoader::initialize(KelvModule::Devices), 0);
        QVERIFY(KelvLoader::isLoaded(KelvModule::Devices));
        QCOMPARE(KelvLoader::terminate(KelvModule::Files), 0);
        QCOMPARE(KelvLoader::terminate(KelvModule::Devices), 0);
    }

    void referenceCounting()
    {
        TestSupport::useBuiltLibrary();
        QCOMPARE(KelvLoader::initialize(KelvModule::Devices), 0);
        QCOMPARE(KelvLoader::initialize(KelvModule::Devices), 0);
        QCOMPARE(KelvLoader::referenceCount(KelvModule::Devices), 2u);
        QVERIFY(KelvLoader::isLoaded(KelvModule::Devices));
        QVERIFY(Kelv::GetAPIVersion() >= 30u);
        // Modules count independently.
        QVERIFY(!KelvLoader::isLoaded(KelvModule::Files));
        KELVHANDLE fs = nullptr;
        uint32_t media = 1, id = 0;
        QCOMPARE(uint32_t(Kelv::OpenFS(L"x", &media, &fs, &id)), 0x80100004u);

        QCOMPARE(KelvLoader::terminate(KelvModule::Devices), 0);
        QVERIFY(KelvLoader::isLoaded(KelvModule::Devices));
        QCOMPARE(KelvLoader::terminate(KelvModule::Devices), 0);
        QVERIFY(!KelvLoader::isLoaded(KelvModule::Devices));
        QCOMPARE(Kelv::GetAPIVersion(), 0x80100004u);
    }

    void functionMissing()
    {
        // A real shared library that is not the connectivity library.
        qputenv("KELVRA_API_PATH", "libm.so.6");
        QCOMPARE(uint32_t(KelvLoader::initialize(KelvModule::Files)), 0x80100101u);
        QVERIFY(KelvLoader::isLoaded(KelvModule::Files));
        QCOMPARE(uint32_t(Kelv::Cancel(nullptr)), 0x80100101u);
        QCOMPARE(KelvLoader::terminate(KelvModule::Files), 0);
    }

    void versionTooNew()
    {
        TestSupport::useBuiltLibrary();
        QCOMPARE(uint32_t(KelvLoader::initialize(KelvModule::Common, 31)), 0x80100005u);
        QVERIFY(!KelvLoader::isLoaded(KelvModule::Common));
        QCOMPARE(KelvLoader::referenceCount(KelvModule::Common), 1u);
        QCOMPARE(KelvLoader::terminate(KelvModule::Common), 0);
    }

};

QTEST_GUILESS_MAIN(TestKelvraLoader)
#include "tst_kelvraloader.moc"
