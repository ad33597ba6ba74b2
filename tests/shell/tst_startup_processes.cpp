#include "singleinstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QSettings>
#include <QTest>

#include <memory>

// Start-up as a user meets it: real program processes, started one after the
// other in this test's private sandbox.
class TestStartupProcesses : public QObject
{
    Q_OBJECT

private:
    struct Copy
    {
        std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
        QByteArray output;
    };

    static QString program() { return qEnvironmentVariable("TAMSEL_BIN_DIR") + QStringLiteral("/tamsel"); }

    static std::unique_ptr<Copy> start(const QStringList &arguments = {})
    {
        auto copy = std::make_unique<Copy>();
        QProcess *p = copy->process.get();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::MergedChannels);
        Copy *raw = copy.get();
        QObject::connect(p, &QProcess::readyRead, p, [raw] { raw->output += raw->process->readAll(); });
        p->start(program(), arguments);
        return copy;
    }

    static bool listening()
    {
        QLocalSocket probe;
        probe.connectToServer(HandOverServer::serverName());
        return probe.waitForConnected(200);
    }

    // A second copy must always end with -1, that is status 255.
    static void runSecondCopy(const QStringList &arguments)
    {
        QProcess second;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        second.setProcessEnvironment(env);
        second.start(program(), arguments);
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 255);
    }

    static void stop(Copy &copy)
    {
        copy.process->terminate();
        if (!copy.process->waitForFinished(10000))
            copy.process->kill();
    }

private Q_SLOTS:
    void init()
    {
        QSettings settings(QStringLiteral("Orvak"), QStringLiteral("Orvak Tamsel"));
        settings.setValue(QStringLiteral("Settings/ScanFolder"), QDir::homePath());
    }

    void secondCopyHandsOverItsArgument()
    {
        auto first = start();
        QTRY_VERIFY_WITH_TIMEOUT(listening(), 20000);

        runSecondCopy({});
        QCOMPARE(first->process->state(), QProcess::Running);
        QVERIFY2(!first->output.contains("argument received"), first->output.constData());

        const QString video = QDir::homePath() + QStringLiteral("/Videos/holiday clip.mp4");
        runSecondCopy({video});
        const QByteArray expected = QByteArray("argument received: ").append(video.toLocal8Bit());
        QTRY_VERIFY2_WITH_TIMEOUT(first->output.contains(expected),
                                  first->output.constData(), 10000);
        runSecondCopy({QStringLiteral("tmk://example.org/v?id=1")});
        QTRY_VERIFY_WITH_TIMEOUT(first->output.contains("argument received: tmk://example.org/v?id=1"), 10000);
        QCOMPARE(first->process->state(), QProcess::Running);
        stop(*first);
    }

    void firstCopyOpensItsOwnArgument()
    {
        auto first = start({QStringLiteral("/media/clip.avi")});
        QTRY_VERIFY2_WITH_TIMEOUT(first->output.contains("argument received: /media/clip.avi"),
                                  first->output.constData(), 20000);
        stop(*first);
    }

    void crashedCopyDoesNotLockTheUserOut()
    {
        auto crashed = start();
        QTRY_VERIFY_WITH_TIMEOUT(listening(), 20000);
        crashed->process->kill(); // SIGKILL: lock file and socket file stay behind
        QVERIFY(crashed->process->waitForFinished(10000));
        QVERIFY(QFile::exists(InstanceLock::lockFilePath()));

        auto next = start();
        QTRY_VERIFY_WITH_TIMEOUT(listening(), 20000);
        QCOMPARE(next->process->state(), QProcess::Running);
        runSecondCopy({QStringLiteral("/after/crash.mp4")});
        QTRY_VERIFY_WITH_TIMEOUT(next->output.contains("argument received: /after/crash.mp4"), 10000);
        stop(*next);
    }
};

QTEST_GUILESS_MAIN(TestStartupProcesses)
#include "tst_startup_processes.moc"
