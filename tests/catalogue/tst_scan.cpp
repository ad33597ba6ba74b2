#include "apibase.h"
#include "catalogue.h"
#include "filepermissions.h"
#include "mediaclips.h"
#include "scanthread.h"
#include "settingsstore.h"

#include <QDomDocument>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool ffmpeg(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("ffmpeg"), QStringList{QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y")} + args);
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool parses(const QString &xml)
{
    QDomDocument document;
    return bool(document.setContent(readBytes(xml)));
}

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
            succeeded = static_cast<QScanFinishedEvent *>(e)->succeeded;
            errorText = static_cast<QScanFinishedEvent *>(e)->errorText;
            return true;
        }
        return QObject::event(e);
    }

    QList<QPair<QString, int>> announced;
    bool finished = false;
    bool succeeded = false;
    QString errorText;
    bool stopAtFirstAnnouncement = false;
};

// Receives the error reports of every wrapper, as the main window does.
class ErrorReceiver final : public QObject
{
public:
    ErrorReceiver()
    {
        Orvak_API::API_Base::setErrorReceiver(this, [this](const QString &title, const QString &, const QString &text) {
            messages << title + QLatin1Char(':') + text;
        });
    }
    ~ErrorReceiver() override { Orvak_API::API_Base::setErrorReceiver(nullptr, {}); }
    QStringList messages;
};

// Counts how often a file is replaced in its folder (each save renames a
// finished temporary file over it).
class ReplacementCounter
{
public:
    ReplacementCounter(const QString &folder, const QString &name) : m_name(name.toUtf8())
    {
        m_fd = ::inotify_init1(IN_NONBLOCK);
        // The temporary names moved away keep the events apart: the system
        // merges identical events that have not been read yet.
        ::inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_MOVED_FROM | IN_MOVED_TO);
    }
    ~ReplacementCounter() { ::close(m_fd); }
    int count()
    {
        alignas(inotify_event) char buffer[64 * 1024];
        for (ssize_t n; (n = ::read(m_fd, buffer, sizeof buffer)) > 0;) {
            for (char *at = buffer; at < buffer + n;) {
                const auto *event = reinterpret_cast<const inotify_event *>(at);
                if ((event->mask & IN_MOVED_TO) && event->len && m_name == event->name)
                    ++m_count;
                at += sizeof(inotify_event) + event->len;
            }
        }
        return m_count;
    }

private:
    QByteArray m_name;
    int m_fd = -1;
    int m_count = 0;
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
        scan.wait();
        QCoreApplication::sendPostedEvents(&window);
    }

    // A first, successful scan; what it stored.
    void storeFirstResults(QByteArray &settings, QByteArray &cache)
    {
        place(QStringLiteral("collection/kept.mp4"));
        place(QStringLiteral("films/first.mp4"));
        Window window;
        runScan(window, root() + QStringLiteral("/films"));
        QVERIFY(window.succeeded);
        settings = readBytes(Catalogue::appSettingsPath());
        cache = readBytes(Catalogue::myCollectionCachePath());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(TestSupport::honourFilePermissions());
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

    void oddNamesTwoScansKeepTheProfiles()
    {
        // Linux allows any byte but "/" in a name; XML cannot carry some.
        const QStringList names{QStringLiteral("bell\x07 and \x1f.mp4"), QStringLiteral("tab\there.mp4"),
                                QStringLiteral("plain.mp4")};
        for (const QString &name : names) {
            place(QStringLiteral("films/") + name);
            place(QStringLiteral("collection/") + name);
        }
        Catalogue &c = Catalogue::instance();
        c.currentPhoneName = QStringLiteral("Keeper");
        c.memoryTypes = {QStringLiteral("Phone memory"), QStringLiteral("Memory card")};
        QVERIFY(c.writeProfile(QStringLiteral("356000000000004"), 1, 2));

        QStringList expected;
        for (const QString &name : names)
            expected << root() + QStringLiteral("/films/") + name;
        for (int scan = 0; scan < 2; ++scan) {
            Window window;
            runScan(window, root() + QStringLiteral("/films"));
            QVERIFY(window.succeeded);
            QVERIFY(parses(Catalogue::appSettingsPath()));
            QVERIFY(parses(Catalogue::myCollectionCachePath()));
            QVERIFY(c.loadAppSettings(true));
            QCOMPARE(c.profiles.size(), 1);
            QCOMPARE(c.profiles.first().id, QStringLiteral("356000000000004"));
            QCOMPARE(c.profiles.first().memoryTypes.size(), 2);
            QStringList recovered;
            for (const FileItem &item : c.scanResults)
                recovered << item.pc.path;
            recovered.sort();
            expected.sort();
            QCOMPARE(recovered, expected);
            QCOMPARE(c.scanResults.at(0)->pc.playbackLength, 2);
            c.scanResults.clear();
            c.savedScanResults.clear();
        }
    }

    void filesWithoutVideoAreSkipped()
    {
        QVERIFY(ffmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                        QStringLiteral("sine=duration=2"), QStringLiteral("-c:a"), QStringLiteral("aac"),
                        root() + QStringLiteral("/song.mp4")}));
        place(QStringLiteral("films/video.mp4"));
        QDir().mkpath(root() + QStringLiteral("/films/music"));
        QVERIFY(QFile::rename(root() + QStringLiteral("/song.mp4"), root() + QStringLiteral("/films/music/song.mp4")));
        Window window;
        runScan(window, root() + QStringLiteral("/films"));
        QVERIFY(window.succeeded);
        const QString video = root() + QStringLiteral("/films/video.mp4");
        QCOMPARE(window.announced, (QList<QPair<QString, int>>{{video, 2}}));
        QCOMPARE(listedFiles(Catalogue::appSettingsPath()), QStringList{video});
        QCOMPARE(listedFiles(Catalogue::myCollectionCachePath()), QStringList{video});
    }

    void brokenFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("length");
        // Only a file of which no length can be read at all is listed with 0.
        QTest::addRow("not a video") << QStringLiteral("garbage") << 0;
        QTest::addRow("unreadable") << QStringLiteral("unreadable") << 0;
        QTest::addRow("cut, index at the end (lost)") << QStringLiteral("cut-index-lost") << 0;
        QTest::addRow("cut, index in front (says 10 s)") << QStringLiteral("cut-index-kept") << 10;
        QTest::addRow("shorter than a second") << QStringLiteral("short") << 1;
    }
    void brokenFiles()
    {
        QFETCH(QString, kind);
        QFETCH(int, length);
        const QString path = root() + QStringLiteral("/films/") + kind + QStringLiteral(".mp4");
        QDir().mkpath(root() + QStringLiteral("/films"));
        const QString ten = root() + QStringLiteral("/ten.mp4");
        if (kind.startsWith(QLatin1String("cut"))) {
            MediaClips::ClipSpec spec;
            spec.seconds = 10;
            QVERIFY(MediaClips::make(ten, spec));
        }
        auto cut = [](const QString &from, const QString &to) {
            QByteArray bytes = readBytes(from);
            QVERIFY(bytes.size() > 10000);
            bytes.truncate(bytes.size() / 10);
            QFile out(to);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(bytes);
        };
        if (kind == QLatin1String("garbage")) {
            place(QStringLiteral("films/garbage.mp4"), QByteArray(5000, 'x'));
        } else if (kind == QLatin1String("unreadable")) {
            place(QStringLiteral("films/unreadable.mp4"));
            QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        } else if (kind == QLatin1String("cut-index-lost")) {
            QCOMPARE(MediaClips::topLevelBoxes(ten).last(), QStringLiteral("moov"));
            cut(ten, path);
        } else if (kind == QLatin1String("cut-index-kept")) {
            const QString front = root() + QStringLiteral("/front.mp4");
            QVERIFY(ffmpeg({QStringLiteral("-i"), ten, QStringLiteral("-c"), QStringLiteral("copy"),
                            QStringLiteral("-movflags"), QStringLiteral("+faststart"), front}));
            cut(front, path);
            QFile::remove(front);
        } else {
            MediaClips::ClipSpec spec;
            spec.seconds = 0.6;
            QVERIFY(MediaClips::make(path, spec));
        }
        QFile::remove(ten);
        Window window;
        runScan(window, root() + QStringLiteral("/films"));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(window.succeeded);
        QCOMPARE(window.announced, (QList<QPair<QString, int>>{{path, length}}));
        QList<int> lengths;
        QCOMPARE(listedFiles(Catalogue::appSettingsPath(), &lengths), QStringList{path});
        QCOMPARE(lengths, QList<int>{length});
    }

    void readOnlyDataFolder()
    {
        QByteArray settings;
        QByteArray cache;
        storeFirstResults(settings, cache);
        if (QTest::currentTestFailed())
            return;
        place(QStringLiteral("films/second.mp4"));
        const QString folder = Catalogue::dataFolder();
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        ErrorReceiver errors;
        Window window;
        runScan(window, root() + QStringLiteral("/films"));
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));

        // The walk still lists what it found, but the scan does not claim to
        // have saved it.
        QCOMPARE(window.announced.size(), 2);
        QVERIFY(window.finished);
        QVERIFY(!window.succeeded);
        QVERIFY2(window.errorText.contains(QDir::toNativeSeparators(Catalogue::dataFolder())),
                 qPrintable(window.errorText));
        QTRY_COMPARE_WITH_TIMEOUT(errors.messages.size(), 1, 10000);
        QCOMPARE(errors.messages.first(), QStringLiteral("System Error:") + window.errorText);
        QCOMPARE(readBytes(Catalogue::appSettingsPath()), settings);
        QCOMPARE(readBytes(Catalogue::myCollectionCachePath()), cache);
    }

    void unreadableRootKeepsTheStoredResults_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::addRow("no permission") << QStringLiteral("denied") << QStringLiteral("cannot be read");
        QTest::addRow("gone") << QStringLiteral("gone") << QStringLiteral("cannot be read");
        QTest::addRow("path over the limit") << QStringLiteral("long") << QStringLiteral("longer than the system allows");
    }
    void unreadableRootKeepsTheStoredResults()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QByteArray settings;
        QByteArray cache;
        storeFirstResults(settings, cache);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(settings.contains("first.mp4"));

        QString folder = root() + QStringLiteral("/films");
        if (kind == QLatin1String("denied")) {
            QVERIFY(QFile::setPermissions(folder, QFileDevice::WriteOwner));
        } else if (kind == QLatin1String("gone")) {
            folder += QStringLiteral("/nowhere");
        } else {
            // Made step by step, since no single call takes a path this long.
            const QString step(200, QLatin1Char('d'));
            int dir = ::open(QFile::encodeName(folder).constData(), O_DIRECTORY);
            for (int depth = 0; depth < 22 && dir >= 0; ++depth) {
                QVERIFY(::mkdirat(dir, QFile::encodeName(step).constData(), 0700) == 0);
                const int next = ::openat(dir, QFile::encodeName(step).constData(), O_DIRECTORY);
                ::close(dir);
                dir = next;
                folder += QLatin1Char('/') + step;
            }
            QVERIFY(dir >= 0);
            ::close(dir);
            QVERIFY(folder.size() > 4096);
        }
        ErrorReceiver errors;
        Window window;
        runScan(window, folder);
        QFile::setPermissions(root() + QStringLiteral("/films"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (kind == QLatin1String("long"))
            QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), root() + QStringLiteral("/films/") + QString(200, QLatin1Char('d'))});

        QVERIFY(window.finished);
        QVERIFY(!window.succeeded);
        QVERIFY2(window.errorText.contains(reason), qPrintable(window.errorText));
        QVERIFY(window.announced.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(errors.messages.size(), 1, 10000);
        QCOMPARE(readBytes(Catalogue::appSettingsPath()), settings);
        QCOMPARE(readBytes(Catalogue::myCollectionCachePath()), cache);
    }

    void cacheIsWrittenAboutOnceASecond()
    {
        for (int i = 0; i < 150; ++i)
            place(QStringLiteral("films/f%1.mp4").arg(i), {}, i);
        ReplacementCounter writes(Catalogue::dataFolder(), QStringLiteral("MyCollectionCache.xml"));
        QElapsedTimer timer;
        timer.start();
        Window window;
        runScan(window, root() + QStringLiteral("/films"));
        const qint64 seconds = timer.elapsed() / 1000;
        QVERIFY(window.succeeded);
        QCOMPARE(listedFiles(Catalogue::myCollectionCachePath()).size(), 150);
        // One write after the My collection walk, one at the end, and at
        // most one a second between them.
        QVERIFY2(writes.count() <= seconds + 3,
                 qPrintable(QStringLiteral("%1 writes in %2 s").arg(writes.count()).arg(seconds)));
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
