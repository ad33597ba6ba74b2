#include "catalogue.h"
#include "folderphones.h"
#include "formats.h"
#include "phoneinfo.h"
#include "phonemanagement.h"
#include "phonesinfo.h"
#include "scanthread.h"
#include "settingsstore.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

class RebuiltCounter final : public QObject
{
public:
    bool event(QEvent *e) override
    {
        if (e->type() != MyCollectionThread::Rebuilt)
            return QObject::event(e);
        ++rebuilt;
        return true;
    }
    int rebuilt = 0;
};

} // namespace

// My collection built from a real folder phone and a real PC folder.
class TestMyCollection : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_pc;
    std::unique_ptr<TestSupport::FolderPhones> m_phones;

    QString cardVideo(const QString &name) const
    {
        return m_phones->memoryFolder(QStringLiteral("p"), 1) + QStringLiteral("/Videos/") + name;
    }
    QString pcVideo(const QString &name) const { return m_pc.filePath(name); }

    static FileItem *find(const QString &pcName, const QString &phoneName)
    {
        for (FileItem &item : Catalogue::instance().myCollection) {
            if (item.pc.name == pcName && item.phone.name == phoneName)
                return &item;
        }
        return nullptr;
    }

    void attachPhone()
    {
        Orvak_API::PhoneManagement management;
        Orvak_API::PhonesInfo list;
        QTRY_VERIFY_WITH_TIMEOUT(management.getPhones(list) && list.size() == 1, 10000);
        Catalogue::instance().setCurrentPhone(list.first());
    }

private Q_SLOTS:
    void initTestCase()
    {
        TestSupport::useBuiltLibrary();
        Settings::setMyCollectionFolder(m_pc.path());
    }

    void init()
    {
        for (const QString &f : QDir(m_pc.path()).entryList(QDir::Files))
            QFile::remove(m_pc.filePath(f));
        QFile::remove(Catalogue::myCollectionCachePath());
        QFile::remove(Catalogue::appSettingsPath());
        Catalogue &c = Catalogue::instance();
        c.myCollection.clear();
        c.scanResults.clear();
        c.profiles.clear();
        m_phones = std::make_unique<TestSupport::FolderPhones>();
        m_phones->addPhone(QStringLiteral("p"), QStringLiteral("356000000000009"), QStringLiteral("Pocket"),
                           QStringLiteral("16"),
                           {{QStringLiteral("Phone memory"), 256LL << 20}, {QStringLiteral("Memory card"), 1LL << 30}});
    }

    void cleanup() { m_phones.reset(); }

    void pairing()
    {
        // Equal names and sizes pair; one byte more does not; only the name
        // before the first dot counts.
        TestSupport::writeFile(cardVideo(QStringLiteral("clip.mp4")), QByteArray(1000000, 'a'));
        TestSupport::writeFile(pcVideo(QStringLiteral("clip.mp4")), QByteArray(1000000, 'a'));
        TestSupport::writeFile(cardVideo(QStringLiteral("near.mp4")), QByteArray(5000, 'b'));
        TestSupport::writeFile(pcVideo(QStringLiteral("near.mp4")), QByteArray(5001, 'b'));
        TestSupport::writeFile(cardVideo(QStringLiteral("other.3gp")), QByteArray(7000, 'c'));
        TestSupport::writeFile(pcVideo(QStringLiteral("other.mp4")), QByteArray(7000, 'c'));
        TestSupport::writeFile(m_phones->memoryFolder(QStringLiteral("p"), 0) + QStringLiteral("/Data/Videos/own.3g2"),
                               QByteArray(300, 'd'));
        // Not for the phone: other types are left out on both sides.
        TestSupport::writeFile(cardVideo(QStringLiteral("song.mp3")), QByteArray(10, 'e'));
        TestSupport::writeFile(pcVideo(QStringLiteral("film.avi")), QByteArray(10, 'e'));
        TestSupport::writeFile(pcVideo(QStringLiteral("empty.mp4")), QByteArray());
        attachPhone();

        Catalogue &c = Catalogue::instance();
        QVERIFY(c.refreshMyCollection());
        QCOMPARE(c.myCollection.size(), 6);
        QVERIFY(find(QStringLiteral("clip"), QStringLiteral("clip.mp4")));
        QCOMPARE(find(QStringLiteral("clip"), QStringLiteral("clip.mp4"))->location(), FileItem::Both);
        QVERIFY(find(QString(), QStringLiteral("near.mp4")));
        QVERIFY(find(QStringLiteral("near"), QString()));
        QVERIFY(find(QStringLiteral("other"), QStringLiteral("other.3gp")));
        QVERIFY(find(QString(), QStringLiteral("own.3g2")));
        // An empty PC file is still listed, though it does not count as a copy.
        FileItem *empty = find(QStringLiteral("empty"), QString());
        QVERIFY(empty);
        QCOMPARE(empty->pc.size, 0LL);
        QCOMPARE(c.phonePictures.size(), 0);
    }

    void bigVideosPairAndShowTheirSize()
    {
        // Sparse files of 3,000,000,000 bytes on the card and in the folder.
        const qint64 bytes = 3000000000LL;
        TestSupport::writeFile(cardVideo(QStringLiteral("film.mp4")), QByteArray());
        QVERIFY(QFile::resize(cardVideo(QStringLiteral("film.mp4")), bytes));
        TestSupport::writeFile(pcVideo(QStringLiteral("film.mp4")), QByteArray());
        QVERIFY(QFile::resize(pcVideo(QStringLiteral("film.mp4")), bytes));
        attachPhone();
        Catalogue &c = Catalogue::instance();
        QVERIFY(c.refreshMyCollection());
        QCOMPARE(c.myCollection.size(), 1);
        FileItem *film = find(QStringLiteral("film"), QStringLiteral("film.mp4"));
        QVERIFY(film);
        QCOMPARE(film->phone.size, bytes);
        QCOMPARE(film->size(), bytes);
        QCOMPARE(film->rowText(0).section(QLatin1Char('|'), 2, 2), QStringLiteral("2861.02 MB"));
        film->pc.clear();
        QCOMPARE(film->rowText(0).section(QLatin1Char('|'), 2, 2), QStringLiteral("2861.02 MB"));
    }

    void cachedLengthsReachPairedItems()
    {
        TestSupport::writeFile(cardVideo(QStringLiteral("talk.mp4")), QByteArray(4096, 't'));
        TestSupport::writeFile(pcVideo(QStringLiteral("talk.mp4")), QByteArray(4096, 't'));
        TestSupport::writeFile(pcVideo(QStringLiteral("solo.mp4")), QByteArray(100, 's'));
        Catalogue &c = Catalogue::instance();
        QVERIFY(c.saveMyCollectionResults({pcVideo(QStringLiteral("talk.mp4")), pcVideo(QStringLiteral("solo.mp4"))},
                                          {95, 12}, true));
        // A PC-only file takes its length from the scan results.
        FileItem *scanned = c.appendScanResult();
        scanned->pc.setFromFile(pcVideo(QStringLiteral("solo.mp4")));
        scanned->pc.playbackLength = 33;
        attachPhone();

        // Built on a thread of its own, as the main window does; the list is
        // My collection when the window hears of it.
        RebuiltCounter window;
        MyCollectionThread builder(&window);
        builder.start();
        QTRY_COMPARE_WITH_TIMEOUT(window.rebuilt, 1, 30000);

        FileItem *talk = find(QStringLiteral("talk"), QStringLiteral("talk.mp4"));
        QVERIFY(talk);
        QCOMPARE(talk->playbackLength(), 95);
        QCOMPARE(talk->rowText(0).section(QLatin1Char('|'), 1, 1), QStringLiteral("00:01:35"));
        FileItem *solo = find(QStringLiteral("solo"), QString());
        QVERIFY(solo);
        QCOMPARE(solo->playbackLength(), 33);
    }

    void theBuilderReadsOnlyWhatItWasGiven()
    {
        // The phone and the scan results as they were when the builder was
        // made count, whatever the main thread changes meanwhile; the list
        // is replaced only once the window is told.
        TestSupport::writeFile(cardVideo(QStringLiteral("clip.mp4")), QByteArray(1000, 'a'));
        TestSupport::writeFile(pcVideo(QStringLiteral("solo.mp4")), QByteArray(100, 's'));
        attachPhone();
        Catalogue &c = Catalogue::instance();
        FileItem *scanned = c.appendScanResult();
        scanned->pc.setFromFile(pcVideo(QStringLiteral("solo.mp4")));
        scanned->pc.playbackLength = 12;
        RebuiltCounter window;
        MyCollectionThread builder(&window);
        c.currentPhoneSerial.clear();
        c.memoryTypes.clear();
        c.scanResults.clear();
        FileItem *mine = c.appendMyCollectionItem();
        mine->pc.name = QStringLiteral("kept until the rebuild");
        builder.start();
        QVERIFY(builder.wait(30000));
        QCOMPARE(c.myCollection.size(), 1);
        QCOMPARE(c.myCollection.at(0), mine);
        QTRY_COMPARE_WITH_TIMEOUT(window.rebuilt, 1, 30000);
        QCOMPARE(c.myCollection.size(), 2);
        QVERIFY(find(QString(), QStringLiteral("clip.mp4")));
        QCOMPARE(find(QStringLiteral("solo"), QString())->playbackLength(), 12);
    }

    void withoutThePhoneOnlyPcFilesAreListed()
    {
        TestSupport::writeFile(cardVideo(QStringLiteral("clip.mp4")), QByteArray(1000, 'a'));
        TestSupport::writeFile(pcVideo(QStringLiteral("clip.mp4")), QByteArray(1000, 'a'));
        attachPhone();
        m_phones->removePhone(QStringLiteral("p"));
        Catalogue &c = Catalogue::instance();
        QTRY_VERIFY_WITH_TIMEOUT((c.refreshMyCollection(), c.myCollection.size() == 1), 10000);
        QCOMPARE(c.myCollection.at(0)->location(), FileItem::PcOnly);
    }
};

QTEST_GUILESS_MAIN(TestMyCollection)
#include "tst_mycollection.moc"
