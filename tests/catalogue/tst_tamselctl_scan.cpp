#include "filepermissions.h"
#include "mediaclips.h"

#include <QDomDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <unistd.h>

// tamselctl scan as a user runs it.
class TestTamselctlScan : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    static QString tool() { return qEnvironmentVariable("TAMSEL_BIN_DIR") + QStringLiteral("/tamselctl"); }
    static QString dataFolder()
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
            + QStringLiteral("/Orvak/Orvak Tamsel");
    }
    static QString appSettings() { return dataFolder() + QStringLiteral("/AppSettings.xml"); }
    static QString cache() { return dataFolder() + QStringLiteral("/MyCollectionCache.xml"); }

    static QByteArray readBytes(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The "File" entries of a data file; false when it does not parse.
    static bool listed(const QString &path, QStringList &files)
    {
        QDomDocument document;
        if (!document.setContent(readBytes(path)))
            return false;
        const QDomNodeList nodes = document.elementsByTagName(QStringLiteral("File"));
        for (int i = 0; i < nodes.size(); ++i)
            files << nodes.at(i).toElement().text();
        return true;
    }

    QStringList allVideos() const
    {
        QStringList videos{m_dir.filePath(QStringLiteral("videos/top.mp4"))};
        for (int i = 0; i < 200; ++i)
            videos << m_dir.filePath(QStringLiteral("videos/sub/v%1.mp4").arg(i));
        videos.sort();
        return videos;
    }

    static void writeProfile()
    {
        QDir().mkpath(dataFolder());
        QFile file(appSettings());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<AppSettings><Profiles>"
                   "<Phone ID=\"356000000000005\" MS=\"1\" Name=\"Keeper\" PMName=\"Phone memory\" Quality=\"2\">"
                   "<memory>Memory card</memory></Phone></Profiles></AppSettings>\n");
    }

    static int run(const QStringList &args, QByteArray *err = nullptr)
    {
        QProcess p;
        p.start(tool(), args);
        if (!p.waitForFinished(120000))
            return -1;
        if (err)
            *err = p.readAllStandardError();
        return p.exitCode();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(TestSupport::honourFilePermissions());
        const QString clip = m_dir.filePath(QStringLiteral("clip.mp4"));
        QVERIFY(MediaClips::make(clip));
        QDir().mkpath(m_dir.filePath(QStringLiteral("videos/sub")));
        for (int i = 0; i < 200; ++i)
            QVERIFY(QFile::copy(clip, m_dir.filePath(QStringLiteral("videos/sub/v%1.mp4").arg(i))));
        QVERIFY(QFile::rename(clip, m_dir.filePath(QStringLiteral("videos/top.mp4"))));
    }

    void init()
    {
        QFile::remove(appSettings());
        QFile::remove(cache());
    }

    void scanListsEveryVideo()
    {
        QProcess p;
        p.start(tool(), {QStringLiteral("scan"), m_dir.filePath(QStringLiteral("videos"))});
        QVERIFY(p.waitForFinished(120000));
        QCOMPARE(p.exitCode(), 0);
        const QList<QByteArray> lines = p.readAllStandardOutput().trimmed().split('\n');
        QCOMPARE(lines.size(), 201);
        QCOMPARE(lines.first(), m_dir.filePath(QStringLiteral("videos/top.mp4")).toLocal8Bit() + "\t2");
        QVERIFY(QFile::exists(appSettings()));
    }

    void interruptStopsWithoutSavingTheResults()
    {
        QProcess p;
        p.start(tool(), {QStringLiteral("scan"), m_dir.filePath(QStringLiteral("videos"))});
        QByteArray out;
        QTRY_VERIFY_WITH_TIMEOUT((out += p.readAllStandardOutput()).contains('\n'), 60000);
        ::kill(pid_t(p.processId()), SIGINT);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 1);
        const QByteArray err = p.readAllStandardError();
        QVERIFY(err.contains("scan stopped"));
        QVERIFY(!QFile::exists(appSettings()));
        // The walk of the user folder had begun, so the cache was written:
        // the tool says so instead of claiming nothing was saved.
        QStringList measured;
        QVERIFY(listed(cache(), measured));
        QVERIFY2(!err.contains("nothing was saved"), err.constData());
        QVERIFY(err.contains("My collection cache"));
    }

    void killedScanLeavesACompleteCache()
    {
        QProcess p;
        p.start(tool(), {QStringLiteral("scan"), m_dir.filePath(QStringLiteral("videos"))});
        QByteArray out;
        QTRY_VERIFY_WITH_TIMEOUT((out += p.readAllStandardOutput()).count('\n') >= 20, 60000);
        const qint64 killed = p.processId();
        ::kill(pid_t(killed), SIGKILL);
        QVERIFY(p.waitForFinished(60000));
        QStringList cached;
        QVERIFY(listed(cache(), cached));
        QVERIFY(!QFile::exists(appSettings()));
        // Killed while holding the cache: the lock file it leaves behind
        // names a process that is gone, and the next scan takes it over.
        // A lock file as the system's lock writes it, naming the dead process.
        QByteArray held;
        {
            QLockFile sample(cache() + QStringLiteral(".sample"));
            QVERIFY(sample.lock());
            held = readBytes(cache() + QStringLiteral(".sample"));
        }
        QList<QByteArray> lines = held.split('\n');
        lines[0] = QByteArray::number(killed);
        QFile lock(cache() + QStringLiteral(".lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(lines.join('\n'));
        lock.close();
        QCOMPARE(run({QStringLiteral("scan"), m_dir.filePath(QStringLiteral("videos"))}), 0);
        cached.clear();
        QVERIFY(listed(cache(), cached));
        cached.sort();
        QCOMPARE(cached, allVideos());
    }

    void namesXmlCannotCarryKeepTheProfiles()
    {
        const QString odd = m_dir.filePath(QStringLiteral("odd"));
        QDir().mkpath(odd);
        const QStringList names{QStringLiteral("ring\x07.mp4"), QStringLiteral("tab\tname.mp4")};
        for (const QString &name : names)
            QVERIFY(QFile::copy(m_dir.filePath(QStringLiteral("videos/top.mp4")), odd + QLatin1Char('/') + name));
        writeProfile();
        for (int scan = 0; scan < 2; ++scan) {
            QCOMPARE(run({QStringLiteral("scan"), odd}), 0);
            QDomDocument document;
            QVERIFY(document.setContent(readBytes(appSettings())));
            const QDomNodeList phones = document.elementsByTagName(QStringLiteral("Phone"));
            QCOMPARE(phones.size(), 1);
            QCOMPARE(phones.at(0).toElement().attribute(QStringLiteral("Name")), QStringLiteral("Keeper"));
            QCOMPARE(document.elementsByTagName(QStringLiteral("File")).size(), 2);
            QStringList cached;
            QVERIFY(listed(cache(), cached));
            QCOMPARE(cached.size(), 2);
        }
    }

    void twoProcessesScanningAtOnceLoseNothing()
    {
        QProcess first;
        QProcess second;
        const QStringList args{QStringLiteral("scan"), m_dir.filePath(QStringLiteral("videos"))};
        first.start(tool(), args);
        second.start(tool(), args);
        QVERIFY(first.waitForFinished(120000));
        QVERIFY(second.waitForFinished(120000));
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(second.exitCode(), 0);
        // Every measurement of both is in the cache, each video once.
        QStringList cached;
        QVERIFY(listed(cache(), cached));
        cached.sort();
        QCOMPARE(cached, allVideos());
        QStringList results;
        QVERIFY(listed(appSettings(), results));
        results.sort();
        QCOMPARE(results, allVideos());
        QVERIFY(!QFile::exists(cache() + QStringLiteral(".lock")));
    }

    void twoScansOfOtherFoldersAtOnceLoseNothing()
    {
        // A long scan, and a short one that starts, and replaces the cache's
        // section with its My collection part, after the long one has
        // written some of its measurements and while it is still walking.
        QStringList expected;
        for (int i = 0; i < 4000; ++i) {
            const QString folder = m_dir.filePath(QStringLiteral("many/f%1").arg(i / 10));
            QDir().mkpath(folder);
            const QString path = folder + QStringLiteral("/v%1.mp4").arg(i);
            QVERIFY(::link(QFile::encodeName(m_dir.filePath(QStringLiteral("videos/top.mp4"))).constData(),
                           QFile::encodeName(path).constData()) == 0);
            expected << path;
        }
        expected << allVideos();
        QProcess longScan;
        longScan.start(tool(), {QStringLiteral("scan"), m_dir.filePath(QStringLiteral("many"))});
        QTRY_VERIFY_WITH_TIMEOUT(readBytes(cache()).contains("/many/"), 60000);
        QVERIFY(longScan.state() == QProcess::Running);
        QCOMPARE(run({QStringLiteral("scan"), m_dir.filePath(QStringLiteral("videos"))}), 0);
        QVERIFY(longScan.waitForFinished(120000));
        QCOMPARE(longScan.exitCode(), 0);
        QStringList cached;
        QVERIFY(listed(cache(), cached));
        cached.sort();
        expected.sort();
        QCOMPARE(cached, expected);
        QDir(m_dir.filePath(QStringLiteral("many"))).removeRecursively();
    }

    void failuresAreErrors_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("reason");
        QTest::addRow("read-only data folder") << QStringLiteral("read-only") << QByteArray("cannot be saved");
        QTest::addRow("unreadable folder") << QStringLiteral("unreadable") << QByteArray("cannot be read");
    }
    void failuresAreErrors()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, reason);
        const QString videos = m_dir.filePath(QStringLiteral("videos"));
        const QString sub = m_dir.filePath(QStringLiteral("videos/sub"));
        writeProfile();
        QCOMPARE(run({QStringLiteral("scan"), videos}), 0);
        const QByteArray settings = readBytes(appSettings());
        const QByteArray cached = readBytes(cache());
        const QString locked = kind == QLatin1String("read-only") ? dataFolder() : sub;
        // A data folder that can be read but not written; a folder that cannot be listed.
        QVERIFY(QFile::setPermissions(locked, kind == QLatin1String("read-only")
                                                  ? QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                                  : QFileDevice::WriteOwner));
        QByteArray err;
        const int code = run({QStringLiteral("scan"), kind == QLatin1String("read-only") ? videos : sub}, &err);
        QVERIFY(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
        QCOMPARE(code, 1);
        QVERIFY2(err.contains(reason), err.constData());
        QCOMPARE(readBytes(appSettings()), settings);
        QCOMPARE(readBytes(cache()), cached);
    }

    void usage()
    {
        QProcess p;
        p.start(tool(), {QStringLiteral("scan")});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 2);
        p.start(tool(), {QStringLiteral("scan"), m_dir.filePath(QStringLiteral("nowhere"))});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 1);
    }
};

QTEST_GUILESS_MAIN(TestTamselctlScan)
#include "tst_tamselctl_scan.moc"
