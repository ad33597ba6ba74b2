#include "catalogue.h"
#include "mediaclips.h"
#include "scanthread.h"
#include "settingsstore.h"

#include <QDomDocument>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Records what a scan posts to the main window.
class Window final : public QObject
{
public:
    bool event(QEvent *e) override
    {
        if (e->type() == QScanFileEvent::Type) {
            const auto *found = static_cast<QScanFileEvent *>(e);
            announced.append({found->path, found->playbackLength});
            if (stopAtFirstAnnouncement)
                Catalogue::instance().setScanAbort(true);
            return true;
        }
        if (e->type() == CScanThread::ScanFinished) {
            finished = true;
            return true;
        }
        return QObject::event(e);
    }

    QList<QPair<QString, int>> announced;
    bool finished = false;
    bool stopAtFirstAnnouncement = false;
};

QStringList listedFiles(const QString &xml, QList<int> *lengths = nullptr)
{
    QDomDocument document;
    QFile file(xml);
    if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file))
        return {};
    QStringList paths;
    const QDomNodeList files = document.elementsByTagName(QStringLiteral("File"));
    for (int i = 0; i < files.size(); ++i) {
        paths << files.at(i).toElement().text();
        if (lengths)
            *lengths << files.at(i).toElement().attribute(QStringLiteral("playback_sec")).toInt();
    }
    return paths;
}

} // namespace

// Scans of real folders with real clips, measured by the real converter.
class TestScan : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_clip; // a 2 s clip to copy around

    QString root() const { return m_dir.path(); }

    void place(const QString &relative, const QByteArray &content = QByteArray(), qint64 ageSeconds = 0)
    {
        const QString path = root() + QLatin1Char('/') + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (content.isNull())
            QVERIFY(QFile::copy(m_clip, path));
        else {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
    }

    static void runScan(Window &window, const QString &folder)
    {
        Catalogue::instance().setScanAbort(false);
        CScanThread scan(&window, folder);
        scan.start();
        QTRY_VERIFY_WITH_TIMEOUT(scan.isFinished(), 120000);
        QCoreApplication::sendPostedEvents(&window);
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("TAMSEL_CONVERTER_LIBRARY", qgetenv("TAMSEL_BIN_DIR") + "/libtamselconverter.so");
        m_clip = m_dir.filePath(QStringLiteral("source.mp4"));
        QVERIFY(MediaClips::make(m_clip));
        Settings::setMyCollectionFolder(root() + QStringLiteral("/collection"));
    }

    void init()
    {
        QFile::remove(Catalogue::appSettingsPath());
        QFile::remove(Catalogue::myCollectionCachePath());
        QDir(root() + QStringLiteral("/collection")).removeRecursively();
        QDir(root() + QStringLiteral("/films")).removeRecursively();
    }

    void finishedScan()
    {
        place(QStringLiteral("collection/kept.mp4"));
        place(QStringLiteral("collection/more/nested.mp4"));
        place(QStringLiteral("films/old.avi"), {}, 3600);
        place(QStringLiteral("films/new.MOV"), {}, 60);
        place(QStringLiteral("films/empty.mp4"), QByteArray(""));
        place(QStringLiteral("films/notes.txt"), QByteArray("not a video"));
        place(QStringLiteral("films/broken.wmv"), QByteArray("not really a video at all"), 7200);
        place(QStringLiteral("films/trips/2025/beach.3gp"));

        Window window;
        runScan(window, root() + QStringLiteral("/films"));
        QVERIFY(window.finished);

        const QString films = root() + QStringLiteral("/films");
        const QString collection = root() + QStringLiteral("/collection");
        // The user folder: newest first, then subfolders; unreadable files
        // are listed without a length; empty and non-video files are not.
        QList<QPair<QString, int>> expected{
            {collection + QStringLiteral("/more/nested.mp4"), 2},
            {films + QStringLiteral("/new.MOV"), 2},
            {films + QStringLiteral("/old.avi"), 2},
            {films + QStringLiteral("/broken.wmv"), 0},
            {films + QStringLiteral("/trips/2025/beach.3gp"), 2},
        };
        QCOMPARE(window.announced, expected);

        QList<int> lengths;
        QCOMPARE(listedFiles(Catalogue::appSettingsPath(), &lengths),
                 (QStringList{films + QStringLiteral("/new.MOV"), films + QStringLiteral("/old.avi"),
                              films + QStringLiteral("/broken.wmv"), films + QStringLiteral("/trips/2025/beach.3gp")}));
        QCOMPARE(lengths, (QList<int>{2, 2, 0, 2}));
        // The cache: the My collection walk, then each measurement of the user
        // folder (a file that could not be measured has none).
        QCOMPARE(listedFiles(Catalogue::myCollectionCachePath()),
                 (QStringList{collection + QStringLiteral("/kept.mp4"), collection + QStringLiteral("/more/nested.mp4"),
                              films + QStringLiteral("/new.MOV"), films + QStringLiteral("/old.avi"),
                              films + QStringLiteral("/trips/2025/beach.3gp")}));
    }

    void stopDuringTheCollectionWalk()
    {
        for (int i = 0; i < 150; ++i)
            place(QStringLiteral("collection/c%1.mp4").arg(i), {}, i);
        place(QStringLiteral("films/f.mp4"));
        Window window;
        Catalogue::instance().setScanAbort(false);
        CScanThread scan(&window, root() + QStringLiteral("/films"));
        scan.start();
        // Stop as soon as the first measurement is on disk.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(Catalogue::myCollectionCachePath()), 60000);
        scan.softTerminate();
        QTRY_VERIFY_WITH_TIMEOUT(scan.isFinished(), 60000);
        QCoreApplication::sendPostedEvents(&window);
        QVERIFY(!window.finished);
        QVERIFY(window.announced.isEmpty());
        QVERIFY(!QFile::exists(Catalogue::appSettingsPath()));
        const int measured = int(listedFiles(Catalogue::myCollectionCachePath()).size());
        QVERIFY2(measured >= 1 && measured < 150, qPrintable(QString::number(measured)));
    }

    void stopDuringTheUserFolderWalk()
    {
        place(QStringLiteral("collection/kept.mp4"));
        for (int i = 0; i < 150; ++i)
            place(QStringLiteral("films/f%1.mp4").arg(i), {}, i);
        Window window;
        window.stopAtFirstAnnouncement = true;
        runScan(window, root() + QStringLiteral("/films"));
        QVERIFY(!window.finished);
        QVERIFY(!window.announced.isEmpty());
        QVERIFY(!QFile::exists(Catalogue::appSettingsPath()));
        const QStringList cached = listedFiles(Catalogue::myCollectionCachePath());
        QCOMPARE(cached.value(0), root() + QStringLiteral("/collection/kept.mp4"));
        QVERIFY2(cached.size() >= 2 && cached.size() < 151, qPrintable(QString::number(cached.size())));
    }

    void recoveredResultsDropVanishedFiles()
    {
        place(QStringLiteral("films/here.mp4"));
        const QString here = root() + QStringLiteral("/films/here.mp4");
        Catalogue &c = Catalogue::instance();
        QVERIFY(c.saveScanResults({here, root() + QStringLiteral("/films/gone.mp4")}, {42, 9}, true));
        QVERIFY(c.loadAppSettings(true));
        QCOMPARE(c.scanResults.size(), 1);
        QCOMPARE(c.scanResults.at(0)->pc.path, here);
        QCOMPARE(c.scanResults.at(0)->pc.playbackLength, 42);
        QCOMPARE(c.savedScanResults.size(), 1);
        QCOMPARE(c.savedScanResults.at(0)->uuid, c.scanResults.at(0)->uuid);
        c.scanResults.clear();
        c.savedScanResults.clear();
    }
};

QTEST_GUILESS_MAIN(TestScan)
#include "tst_scan.moc"
