#include "singleinstance.h"
#include "startargument.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

#include <atomic>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// The hand-over protocol between two copies, in one process: the sending side
// blocks, so it runs on a worker thread while the receiving side serves the
// event loop here.
class TestHandOver : public QObject
{
    Q_OBJECT

private:
    static int sendFromWorker(const QByteArray &argument, int timeoutMs = 5000)
    {
        std::atomic<int> result{-2};
        QThread *worker = QThread::create([&] { result = HandOverServer::send(argument, timeoutMs); });
        worker->start();
        // QTRY_* cannot be used in a function that returns a value.
        QDeadlineTimer deadline(timeoutMs + 5000);
        while (!worker->isFinished() && !deadline.hasExpired())
            QTest::qWait(10);
        worker->wait();
        delete worker;
        return result;
    }

private Q_SLOTS:
    void secondLockFails()
    {
        InstanceLock first;
        QVERIFY(first.claim());
        InstanceLock second;
        QVERIFY(!second.claim());
    }

    void lockIsReleasedWithItsOwner()
    {
        {
            InstanceLock first;
            QVERIFY(first.claim());
        }
        InstanceLock again;
        QVERIFY(again.claim());
    }

    void staleLockOfADeadProcessIsTakenOver()
    {
        // Write a lock file as a crashed copy would have left it: the id of a
        // process that no longer exists.
        QFile stale(InstanceLock::lockFilePath());
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("999999999\ntamsel\n\n");
        stale.close();
        InstanceLock lock;
        QVERIFY(lock.claim());
    }

    void handOver_data()
    {
        QTest::addColumn<QByteArray>("argument");
        QTest::addRow("path") << QByteArray("/home/user/Videos/holiday clip.mp4");
        QTest::addRow("link") << QByteArray("tmk://example.org/video?id=7&q=high");
        QTest::addRow("utf-8 name") << QString::fromUtf8("/tmp/F\xc3\xbc\xc3\x9f.avi").toLocal8Bit();
        QTest::addRow("largest allowed") << QByteArray(int(HandOverServer::MaxHandOverBytes) - 1, 'x');
    }
    void handOver()
    {
        QFETCH(QByteArray, argument);
        HandOverServer server;
        QVERIFY(server.listen());
        QList<QPair<quint32, QByteArray>> received;
        server.setReceiver([&](quint32 marker, const QByteArray &data) {
            received.append({marker, data});
            return true;
        });
        QCOMPARE(sendFromWorker(argument), 1);
        QCOMPARE(received.size(), 1);
        QCOMPARE(received.first().first, HandOverServer::HandOverMarker);
        QCOMPARE(received.first().second, argument);
    }

    void receiverMayRefuse()
    {
        HandOverServer server;
        QVERIFY(server.listen());
        server.setReceiver([](quint32, const QByteArray &) { return false; });
        QCOMPARE(sendFromWorker("/a.mp4"), 0);
    }

    void withoutReceiverTheHandOverIsDropped()
    {
        HandOverServer server;
        QVERIFY(server.listen());
        QCOMPARE(sendFromWorker("/a.mp4"), 0);
    }

    void oversizedArgumentIsRefusedUnread()
    {
        HandOverServer server;
        QVERIFY(server.listen());
        bool called = false;
        server.setReceiver([&](quint32, const QByteArray &) { return called = true; });
        QCOMPARE(sendFromWorker(QByteArray(int(HandOverServer::MaxHandOverBytes) + 10, 'x')), 0);
        QVERIFY(!called);
    }

    void noRunningCopyAnswersMinusOne()
    {
        QCOMPARE(sendFromWorker("/a.mp4", 300), -1);
    }

    // What a second copy hands over means the same in the running copy,
    // whose current folder is its own.
    void argumentIsNormalized_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("expected");
        const QString here = QDir::currentPath();
        QTest::addRow("link") << QStringLiteral("tmk://host:8080/get?id=1&itemTitle=a%20b")
                              << QStringLiteral("tmk://host:8080/get?id=1&itemTitle=a%20b");
        QTest::addRow("absolute path") << QStringLiteral("/videos/holiday clip.mp4") << QStringLiteral("/videos/holiday clip.mp4");
        QTest::addRow("relative path") << QStringLiteral("clip.mp4") << here + QStringLiteral("/clip.mp4");
        QTest::addRow("relative with dots") << QStringLiteral("./a/../b c.avi") << here + QStringLiteral("/b c.avi");
        QTest::addRow("file URL") << QStringLiteral("file:///videos/holiday%20clip.mp4")
                                  << QStringLiteral("/videos/holiday clip.mp4");
        QTest::addRow("file URL of this host") << QStringLiteral("file://localhost/videos/a%23b.mp4")
                                               << QStringLiteral("/videos/a#b.mp4");
        QTest::addRow("remote file URL stays") << QStringLiteral("file://server/clip.mp4")
                                               << QStringLiteral("file://server/clip.mp4");
        QTest::addRow("empty") << QString() << QString();
    }
    void argumentIsNormalized()
    {
        QFETCH(QString, given);
        QFETCH(QString, expected);
        QCOMPARE(normalizedArgument(given), expected);
    }

    void fileNamedLikeALinkIsAFile()
    {
        QFile file(QStringLiteral("tmk:clip.mp4"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QCOMPARE(normalizedArgument(QStringLiteral("tmk:clip.mp4")), QDir::currentPath() + QStringLiteral("/tmk:clip.mp4"));
        QVERIFY(file.remove());
        QCOMPARE(normalizedArgument(QStringLiteral("tmk:clip.mp4")), QStringLiteral("tmk:clip.mp4"));
    }

    void instanceFilesAreInAPrivateFolder_data()
    {
        QTest::addColumn<QString>("setUp");
        QTest::addColumn<QString>("expected");
        QTest::addRow("the session's runtime folder") << QString() << QStringLiteral("runtime");
        QTest::addRow("no runtime folder") << QStringLiteral("no runtime") << QStringLiteral("temp");
        QTest::addRow("runtime folder open to others") << QStringLiteral("open runtime") << QStringLiteral("temp");
        QTest::addRow("temporary name open to others") << QStringLiteral("open temp") << QStringLiteral("cache");
        QTest::addRow("temporary name a link") << QStringLiteral("linked temp") << QStringLiteral("cache");
        QTest::addRow("temporary name another user's") << QStringLiteral("foreign temp") << QStringLiteral("cache");
    }
    void instanceFilesAreInAPrivateFolder()
    {
        // Another local user must not be able to take the lock or the socket
        // first, nor receive hand-overs: both live where only we may enter.
        QFETCH(QString, setUp);
        QFETCH(QString, expected);
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        QVERIFY(!runtime.isEmpty());
        const QString own = QStringLiteral("/tamsel-") + QString::number(::getuid());
        const QString temp = QDir::tempPath() + own;
        const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + own;
        const QString elsewhere = QDir::tempPath() + QStringLiteral("/elsewhere");
        auto reset = [&] {
            QFile::remove(temp);
            QDir(temp).removeRecursively();
            QDir(cache).removeRecursively();
            QDir(elsewhere).removeRecursively();
        };
        reset();
        const QString openRuntime = QDir::tempPath() + QStringLiteral("/openruntime");
        const auto restore = qScopeGuard([&] {
            qputenv("XDG_RUNTIME_DIR", runtime);
            reset();
            QDir(openRuntime).removeRecursively();
        });
        if (setUp == QLatin1String("no runtime")) {
            qunsetenv("XDG_RUNTIME_DIR");
        } else if (setUp == QLatin1String("open runtime")) {
            QVERIFY(QDir().mkpath(openRuntime));
            QVERIFY(QFile::setPermissions(openRuntime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                           | QFile::ReadOther | QFile::ExeOther));
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(openRuntime));
        } else if (setUp == QLatin1String("open temp")) {
            QVERIFY(QDir().mkpath(temp));
            QCOMPARE(::chmod(QFile::encodeName(temp).constData(), 0777), 0);
        } else if (setUp == QLatin1String("linked temp")) {
            QVERIFY(QDir().mkpath(elsewhere));
            QCOMPARE(::chmod(QFile::encodeName(elsewhere).constData(), 0700), 0);
            QVERIFY(QFile::link(elsewhere, temp));
        } else if (setUp == QLatin1String("foreign temp")) {
            if (::getuid() != 0)
                QSKIP("only root can give a folder to another user");
            QVERIFY(QDir().mkpath(temp));
            QCOMPARE(::chmod(QFile::encodeName(temp).constData(), 0700), 0);
            QCOMPARE(::chown(QFile::encodeName(temp).constData(), 65534, 65534), 0);
        }
        if (setUp.contains(QLatin1String("temp")))
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(openRuntime) + "/missing");
        const QString folder = expected == QLatin1String("runtime") ? QFile::decodeName(runtime)
            : expected == QLatin1String("temp")                    ? temp
                                                                   : cache;

        QCOMPARE(instanceFolder(), QDir::cleanPath(folder));
        QVERIFY(InstanceLock::lockFilePath().startsWith(instanceFolder() + QLatin1Char('/')));
        {
            InstanceLock lock;
            QVERIFY(lock.claim());
            QVERIFY(QFileInfo::exists(InstanceLock::lockFilePath()));
            HandOverServer server;
            QVERIFY(server.listen());
            QCOMPARE(QFileInfo(HandOverServer::serverName()).absolutePath(), instanceFolder());
            QVERIFY(QFileInfo::exists(HandOverServer::serverName()));
            server.setReceiver([](quint32, const QByteArray &) { return true; });
            QCOMPARE(sendFromWorker("/c.mp4"), 1);
        }
        QFileInfo info(instanceFolder());
        QCOMPARE(int(info.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
                                           | QFile::WriteOther | QFile::ExeOther)),
                 0);
        QVERIFY(!info.isSymLink());
    }

    void staleSocketFileIsReplaced()
    {
        // A socket file whose server is gone, as a killed copy leaves it.
        const QByteArray path = QFile::encodeName(HandOverServer::serverName());
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(fd >= 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        ::close(fd);
        QVERIFY(QFile::exists(QFile::decodeName(path)));
        QCOMPARE(sendFromWorker("/b.mp4", 300), -1);

        HandOverServer server;
        QVERIFY(server.listen());
        server.setReceiver([](quint32, const QByteArray &) { return true; });
        QCOMPARE(sendFromWorker("/b.mp4"), 1);
    }
};

QTEST_GUILESS_MAIN(TestHandOver)
#include "tst_handover.moc"
