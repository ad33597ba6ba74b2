#include "catalogue.h"
#include "filepermissions.h"
#include "folderphones.h"
#include "phoneinfo.h"
#include "phonemanagement.h"
#include "phonesinfo.h"

#include <QDomDocument>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

QDomDocument readXml(const QString &path)
{
    QDomDocument document;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        document.setContent(&file);
    return document;
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

// AppSettings.xml's phone profiles, the scan-results section beside them, and
// the log, in the test's private data folder; phones are real folder phones.
class TestDataFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(TestSupport::honourFilePermissions());
        TestSupport::useBuiltLibrary();
    }

    void init()
    {
        QFile::remove(Catalogue::appSettingsPath());
        QFile::remove(Catalogue::myCollectionCachePath());
        Catalogue &c = Catalogue::instance();
        c.profiles.clear();
        c.currentPhoneSerial.clear();
        c.currentPhoneName.clear();
        c.memoryTypes.clear();
    }

    void dataFolderIsCreated()
    {
        QVERIFY(Catalogue::appSettingsPath().endsWith(QLatin1String("/Orvak/Orvak Tamsel/AppSettings.xml")));
        QVERIFY(QDir(Catalogue::dataFolder()).exists());
    }

    void newPhoneGetsAProfileFromItsCapabilities_data()
    {
        QTest::addColumn<int>("maxBitrate");
        QTest::addColumn<int>("quality");
        QTest::addRow("200 kbit/s is medium") << 200 << 1;
        QTest::addRow("128 kbit/s is low") << 128 << 0;
        QTest::addRow("384 kbit/s is high") << 384 << 2;
    }
    void newPhoneGetsAProfileFromItsCapabilities()
    {
        QFETCH(int, maxBitrate);
        QFETCH(int, quality);
        TestSupport::FolderPhones phones;
        phones.addPhone(QStringLiteral("p"), QStringLiteral("356000000000001"), QStringLiteral("Travel Phone"),
                        QStringLiteral("16"),
                        {{QStringLiteral("Phone memory"), 256LL << 20}, {QStringLiteral("Memory card"), 1LL << 30}},
                        QStringLiteral("[Video]\nMaxBitrate=%1\nImgWallpaperSize=240,320\n").arg(maxBitrate));
        Orvak_API::PhoneManagement management;
        Orvak_API::PhonesInfo list;
        QTRY_VERIFY_WITH_TIMEOUT(management.getPhones(list) && list.size() == 1, 10000);

        Catalogue &c = Catalogue::instance();
        c.setCurrentPhone(list.first());
        QCOMPARE(c.currentPhoneSerial, QStringLiteral("356000000000001"));
        QCOMPARE(c.currentPhoneName, QStringLiteral("Travel Phone"));
        QCOMPARE(c.memoryTypes, (QStringList{QStringLiteral("Phone memory"), QStringLiteral("Memory card")}));
        QCOMPARE(c.memoryIndex, 1);
        QCOMPARE(c.quality, quality);
        QVERIFY(c.memoryFree > 0);
        QCOMPARE(c.phoneVideoFolder(), QStringLiteral("\\\\E:\\Videos"));

        const QDomElement phone = readXml(Catalogue::appSettingsPath())
                                      .documentElement()
                                      .firstChildElement(QStringLiteral("Profiles"))
                                      .firstChildElement(QStringLiteral("Phone"));
        QCOMPARE(phone.attribute(QStringLiteral("ID")), QStringLiteral("356000000000001"));
        QCOMPARE(phone.attribute(QStringLiteral("MS")), QStringLiteral("1"));
        QCOMPARE(phone.attribute(QStringLiteral("Quality")), QString::number(quality));
        QCOMPARE(phone.attribute(QStringLiteral("Name")), QStringLiteral("Travel Phone"));
        QCOMPARE(phone.attribute(QStringLiteral("PMName")), QStringLiteral("Phone memory"));
        QCOMPARE(phone.elementsByTagName(QStringLiteral("memory")).size(), 1);
        QCOMPARE(phone.firstChildElement(QStringLiteral("memory")).text(), QStringLiteral("Memory card"));
        // The profile was read back into memory.
        QCOMPARE(c.currentProfile(), 0);
        QVERIFY(readBytes(Catalogue::appSettingsPath()).startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    }

    void storedMemoryBeyondThePhonesIsLowered()
    {
        writeBytes(Catalogue::appSettingsPath(),
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<AppSettings><Profiles>"
                   "<Phone ID=\"356000000000002\" MS=\"3\" Name=\"Old\" PMName=\"Phone memory\" Quality=\"2\">"
                   "<memory>Memory card</memory></Phone></Profiles></AppSettings>");
        Catalogue &c = Catalogue::instance();
        QVERIFY(c.loadAppSettings(false));
        QCOMPARE(c.profiles.size(), 1);
        QCOMPARE(c.profiles.first().memoryTypes.size(), 2);

        TestSupport::FolderPhones phones;
        phones.addPhone(QStringLiteral("p"), QStringLiteral("356000000000002"), QStringLiteral("Old"),
                        QStringLiteral("16"),
                        {{QStringLiteral("Phone memory"), 256LL << 20}, {QStringLiteral("Memory card"), 1LL << 30}});
        Orvak_API::PhoneManagement management;
        Orvak_API::PhonesInfo list;
        QTRY_VERIFY_WITH_TIMEOUT(management.getPhones(list) && list.size() == 1, 10000);
        c.setCurrentPhone(list.first());
        QCOMPARE(c.memoryIndex, 1);
        QCOMPARE(c.quality, 2);
    }

    void profileUpdateReplacesItsMemories()
    {
        Catalogue &c = Catalogue::instance();
        c.currentPhoneName = QStringLiteral("Phone A");
        c.memoryTypes = {QStringLiteral("Phone memory"), QStringLiteral("Card 1"), QStringLiteral("Card 2")};
        QVERIFY(c.writeProfile(QStringLiteral("A"), 2, 0));
        c.memoryTypes = {QStringLiteral("Phone memory")};
        QVERIFY(c.writeProfile(QStringLiteral("A"), 0, 1));
        c.currentPhoneName = QStringLiteral("Phone B");
        QVERIFY(c.writeProfile(QStringLiteral("B"), 0, 2));
        QVERIFY(!c.writeProfile(QString(), 0, 2));
        QVERIFY(c.loadAppSettings(false));
        QCOMPARE(c.profiles.size(), 2);
        QCOMPARE(c.profiles.at(0).id, QStringLiteral("A"));
        QCOMPARE(c.profiles.at(0).memoryTypes, QStringList{QStringLiteral("Phone memory")});
        QCOMPARE(c.profiles.at(0).quality, 1);
        QCOMPARE(c.profiles.at(1).name, QStringLiteral("Phone B"));

        c.profiles[1].quality = 0;
        c.profiles[1].memoryIndex = 4;
        QVERIFY(c.saveProfile(QStringLiteral("B")));
        QVERIFY(!c.saveProfile(QStringLiteral("nobody")));
        QVERIFY(c.loadAppSettings(false));
        QCOMPARE(c.profiles.at(1).quality, 0);
        QCOMPARE(c.profiles.at(1).memoryIndex, 4);
    }

    void scanResultsReplaceKeepsTheProfiles()
    {
        Catalogue &c = Catalogue::instance();
        c.currentPhoneName = QStringLiteral("Keeper");
        QVERIFY(c.writeProfile(QStringLiteral("K"), 0, 1));
        QVERIFY(c.saveScanResults({QStringLiteral("/a.mp4"), QStringLiteral("/b.mp4")}, {1, 2}, true));
        QVERIFY(c.saveScanResults({QStringLiteral("/c.mp4")}, {3}, true));
        const QDomElement root = readXml(Catalogue::appSettingsPath()).documentElement();
        QCOMPARE(root.tagName(), QStringLiteral("AppSettings"));
        QCOMPARE(root.firstChildElement(QStringLiteral("Profiles")).elementsByTagName(QStringLiteral("Phone")).size(), 1);
        const QDomElement results = root.firstChildElement(QStringLiteral("ScanResults"));
        QCOMPARE(results.elementsByTagName(QStringLiteral("File")).size(), 1);
        QCOMPARE(results.firstChildElement().text(), QStringLiteral("/c.mp4"));
        QCOMPARE(results.firstChildElement().attribute(QStringLiteral("playback_sec")), QStringLiteral("3"));
        QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4}, \\d\\d:\\d\\d$"))
                    .match(results.attribute(QStringLiteral("Timestamp"))).hasMatch());
    }

    void damagedFileIsTreatedAsEmptyAndRewritten()
    {
        writeBytes(Catalogue::appSettingsPath(), "<AppSettings><Profiles><Phone ID=\"x\"");
        Catalogue &c = Catalogue::instance();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Parse error at line")));
        QVERIFY(!c.loadAppSettings(false));
        QVERIFY(c.profiles.isEmpty());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Parse error at line")));
        QVERIFY(c.writeProfile(QStringLiteral("N"), 0, 1));
        QVERIFY(c.loadAppSettings(false));
        QCOMPARE(c.profiles.size(), 1);
        QCOMPARE(c.profiles.first().id, QStringLiteral("N"));
    }

    void damagedCacheIsRewrittenAndProfilesStay()
    {
        Catalogue &c = Catalogue::instance();
        c.currentPhoneName = QStringLiteral("Keeper");
        QVERIFY(c.writeProfile(QStringLiteral("K"), 0, 1));
        const QByteArray settings = readBytes(Catalogue::appSettingsPath());
        writeBytes(Catalogue::myCollectionCachePath(), "\x01\x02 not xml <File>");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Parse error at line")));
        QVERIFY(c.saveMyCollectionResults({QStringLiteral("/x.mp4")}, {4}, false));
        QDomDocument cache = readXml(Catalogue::myCollectionCachePath());
        QCOMPARE(cache.documentElement().tagName(), QStringLiteral("AppSettings"));
        QCOMPARE(cache.elementsByTagName(QStringLiteral("File")).size(), 1);
        QCOMPARE(readBytes(Catalogue::appSettingsPath()), settings);
    }

    void failedWriteKeepsThePreviousFile()
    {
        Catalogue &c = Catalogue::instance();
        QVERIFY(c.saveMyCollectionResults({QStringLiteral("/kept.mp4")}, {7}, true));
        const QByteArray before = readBytes(Catalogue::myCollectionCachePath());
        QStringList many;
        for (int i = 0; i < 2000; ++i)
            many << QStringLiteral("/videos/a fairly long folder name/clip number %1.mp4").arg(i);
        // A full disk, as the file system reports it to a growing file.
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 4096;
        ::setrlimit(RLIMIT_FSIZE, &small);
        const bool written = c.saveMyCollectionResults(many, {}, true);
        ::setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY(!written);
        QCOMPARE(readBytes(Catalogue::myCollectionCachePath()), before);
        const QStringList leftovers = QDir(Catalogue::dataFolder()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(leftovers, QStringList{QStringLiteral("MyCollectionCache.xml")});
    }

    void sameFileSavedTwiceIsListedOnceAtTheEnd()
    {
        Catalogue &c = Catalogue::instance();
        QVERIFY(c.saveMyCollectionResults({QStringLiteral("/a.mp4"), QStringLiteral("/b.mp4")}, {1, 2}, false));
        QVERIFY(c.saveMyCollectionResults({QStringLiteral("/a.mp4")}, {5}, false));
        const QDomNodeList files = readXml(Catalogue::myCollectionCachePath()).elementsByTagName(QStringLiteral("File"));
        QCOMPARE(files.size(), 2);
        QCOMPARE(files.at(0).toElement().text(), QStringLiteral("/b.mp4"));
        QCOMPARE(files.at(1).toElement().text(), QStringLiteral("/a.mp4"));
        QCOMPARE(files.at(1).toElement().attribute(QStringLiteral("playback_sec")), QStringLiteral("5"));
    }

    void namesXmlCannotCarry_data()
    {
        QTest::addColumn<QString>("odd");
        QTest::addRow("control character") << QStringLiteral("a\x01b");
        QTest::addRow("tab") << QStringLiteral("a\tb");
        QTest::addRow("line feed and return") << QStringLiteral("a\nb\rc");
        QTest::addRow("escape and percent") << QStringLiteral("50%\x1b[0m");
        QTest::addRow("percent alone") << QStringLiteral("100%25");
        QTest::addRow("not a character") << QString(QChar(0xFFFE));
        QTest::addRow("beyond the basic plane") << QString::fromUtf8("\xF0\x9F\x8E\xAC");
    }
    void namesXmlCannotCarry()
    {
        QFETCH(QString, odd);
        Catalogue &c = Catalogue::instance();
        c.currentPhoneName = QStringLiteral("Phone ") + odd;
        c.memoryTypes = {QStringLiteral("Memory ") + odd, QStringLiteral("Card ") + odd};
        QVERIFY(c.writeProfile(QStringLiteral("ID") + odd, 1, 2));
        // Real files with such names (Linux allows them), in both lists.
        QTemporaryDir dir;
        const QString video = dir.filePath(QStringLiteral("clip ") + odd + QStringLiteral(".mp4"));
        writeBytes(video, "video");
        QVERIFY(c.saveScanResults({video}, {42}, true));
        QVERIFY(c.saveMyCollectionResults({video}, {42}, false));
        QVERIFY(c.saveMyCollectionResults({video}, {43}, false));
        c.currentPhoneName = QStringLiteral("Second");
        QVERIFY(c.writeProfile(QStringLiteral("2"), 0, 1));

        for (const QString &file : {Catalogue::appSettingsPath(), Catalogue::myCollectionCachePath()}) {
            QDomDocument document;
            QString message;
            QVERIFY2(bool(document.setContent(readBytes(file), false, &message)), qPrintable(message));
        }
        QVERIFY(c.loadAppSettings(true));
        QCOMPARE(c.profiles.size(), 2);
        const PhoneProfile &profile = c.profiles.first();
        QCOMPARE(profile.id, QStringLiteral("ID") + odd);
        QCOMPARE(profile.name, QStringLiteral("Phone ") + odd);
        QCOMPARE(profile.memoryTypes, (QStringList{QStringLiteral("Memory ") + odd, QStringLiteral("Card ") + odd}));
        QCOMPARE(profile.memoryIndex, 1);
        QCOMPARE(profile.quality, 2);
        QCOMPARE(c.findProfile(QStringLiteral("ID") + odd), 0);
        QCOMPARE(c.scanResults.size(), 1);
        QCOMPARE(c.scanResults.at(0)->pc.path, video);
        QCOMPARE(c.scanResults.at(0)->pc.playbackLength, 42);
        // The cache kept one entry for the name, with its last length.
        FileItemList cached;
        QDomDocument cache = readXml(Catalogue::myCollectionCachePath());
        c.loadFileList(cached, cache.documentElement().firstChildElement(QStringLiteral("MyCollectionScanResults")),
                       false);
        QCOMPARE(cached.size(), 1);
        QCOMPARE(cached.at(0)->pc.path, video);
        QCOMPARE(cached.at(0)->pc.playbackLength, 43);
        c.scanResults.clear();
        c.savedScanResults.clear();
    }

    void profilesSurviveAFileWithRawControlCharacters()
    {
        // As earlier versions wrote a scanned name with a control character.
        writeBytes(Catalogue::appSettingsPath(),
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<AppSettings><Profiles>"
                   "<Phone ID=\"356000000000003\" MS=\"1\" Name=\"Kept\" PMName=\"Phone memory\" Quality=\"2\">"
                   "<memory>Memory card</memory></Phone></Profiles>"
                   "<ScanResults Timestamp=\"01.12.2026, 10:00\"><File playback_sec=\"3\">/v/a\x01b.mp4</File>"
                   "</ScanResults></AppSettings>");
        Catalogue &c = Catalogue::instance();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Parse error at line")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("characters XML cannot carry")));
        QVERIFY(c.loadAppSettings(false));
        QCOMPARE(c.profiles.size(), 1);
        QCOMPARE(c.profiles.first().name, QStringLiteral("Kept"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Parse error at line")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("characters XML cannot carry")));
        c.currentPhoneName = QStringLiteral("New");
        QVERIFY(c.writeProfile(QStringLiteral("N"), 0, 1));
        QVERIFY(c.loadAppSettings(false));
        QCOMPARE(c.profiles.size(), 2);
        QCOMPARE(c.profiles.at(0).quality, 2);
    }

    void readOnlyDataFolder()
    {
        Catalogue &c = Catalogue::instance();
        c.currentPhoneName = QStringLiteral("Keeper");
        QVERIFY(c.writeProfile(QStringLiteral("K"), 0, 1));
        QVERIFY(c.saveScanResults({QStringLiteral("/a.mp4")}, {1}, true));
        QVERIFY(c.saveMyCollectionResults({QStringLiteral("/a.mp4")}, {1}, true));
        const QByteArray settings = readBytes(Catalogue::appSettingsPath());
        const QByteArray cache = readBytes(Catalogue::myCollectionCachePath());
        const QString folder = Catalogue::dataFolder();
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));

        QString error;
        const bool scanSaved = c.saveScanResults({QStringLiteral("/b.mp4")}, {2}, true, &error);
        const QString scanError = error;
        const bool cacheSaved = c.saveMyCollectionResults({QStringLiteral("/b.mp4")}, {2}, false, &error);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("AppSettings.xml.lock")));
        c.currentPhoneName = QStringLiteral("Changed");
        const bool profileSaved = c.writeProfile(QStringLiteral("K"), 1, 2);
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

        QVERIFY(!scanSaved);
        QVERIFY2(scanError.contains(QLatin1String("AppSettings.xml")), qPrintable(scanError));
        QVERIFY(!cacheSaved);
        QVERIFY2(error.contains(QLatin1String("MyCollectionCache.xml")), qPrintable(error));
        QVERIFY(!profileSaved);
        QCOMPARE(readBytes(Catalogue::appSettingsPath()), settings);
        QCOMPARE(readBytes(Catalogue::myCollectionCachePath()), cache);
    }

    void logLines()
    {
        QFile::remove(Catalogue::logPath());
        QVERIFY(Catalogue::writeLog(QStringLiteral("first")));
        QVERIFY(Catalogue::writeLog(QStringLiteral("System Error: second")));
        const QList<QByteArray> lines = readBytes(Catalogue::logPath()).split('\n');
        QCOMPARE(lines.size(), 3);
        const QRegularExpression line(QStringLiteral("^\\[\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d\\] (.*)$"));
        QCOMPARE(line.match(QString::fromUtf8(lines.at(0))).captured(1), QStringLiteral("first"));
        QCOMPARE(line.match(QString::fromUtf8(lines.at(1))).captured(1), QStringLiteral("System Error: second"));
        QCOMPARE(lines.at(2), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestDataFiles)
#include "tst_datafiles.moc"
