#include "associations.h"
#include "desktoptools.h"
#include "singleinstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// The whole way from the desktop to the running program: after the first
// run's registration, xdg-open (what a browser or file manager runs on a
// desktop without a session of its own) starts a second copy of the real
// program from its desktop entry, and that copy hands the link or file to
// the copy already running, here on the offscreen platform.
class TestDesktopRoute : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_system; // no other applications installed
    QTemporaryDir m_videos;
    QProcessEnvironment m_env;
    QProcess m_first;
    QByteArray m_output;

    static QString program() { return qEnvironmentVariable("TAMSEL_BIN_DIR") + QStringLiteral("/tamsel"); }

    static bool listening()
    {
        QLocalSocket probe;
        probe.connectToServer(HandOverServer::serverName());
        return probe.waitForConnected(200);
    }

    // Opens target as the user's desktop would and waits for the running
    // copy to report it. xdg-open's own status follows the second copy's,
    // which always ends with -1, so it says nothing here.
    void open(const QString &target, const QString &expected, const QString &folder = QString())
    {
        const auto opened = DesktopTools::run(QStringLiteral("xdg-open"), {target}, m_env, folder);
        const QByteArray line = "argument received: " + expected.toLocal8Bit() + '\n';
        QTRY_VERIFY2_WITH_TIMEOUT(m_output.contains(line),
                                  QByteArray(opened.output + "\n--- program:\n" + m_output).constData(), 20000);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_env = DesktopTools::environment(m_system.path());
        QVERIFY(Associations::registerAtFirstRun(program()));
        QCOMPARE(DesktopTools::queryDefault(QStringLiteral("x-scheme-handler/tmk"), m_env),
                 QStringLiteral("com.orvak.Tamsel.desktop"));

        QSettings(QStringLiteral("Orvak"), QStringLiteral("Orvak Tamsel"))
            .setValue(QStringLiteral("Settings/ScanFolder"), QDir::homePath());
        m_first.setProcessEnvironment(m_env);
        m_first.setProcessChannelMode(QProcess::MergedChannels);
        connect(&m_first, &QProcess::readyRead, this, [this] { m_output += m_first.readAll(); });
        m_first.start(program(), QStringList());
        QTRY_VERIFY_WITH_TIMEOUT(listening(), 20000);
    }

    void cleanupTestCase()
    {
        m_first.terminate();
        if (!m_first.waitForFinished(10000))
            m_first.kill();
    }

    void linkFromTheBrowser()
    {
        const QString link = QStringLiteral("tmk://127.0.0.1:8080/get?id=7&itemTitle=Holiday%20clip");
        open(link, link);
    }

    // A file manager or shell in the clip's folder names it relatively; the
    // running copy gets the whole path.
    void fileFromTheFileManager()
    {
        const QString clip = m_videos.filePath(QStringLiteral("holiday clip.mp4"));
        QVERIFY(MediaClips::make(clip, DesktopTools::smallSilentClip()));
        open(QStringLiteral("holiday clip.mp4"), clip, m_videos.path());
        QCOMPARE(m_first.state(), QProcess::Running);
    }
};

QTEST_GUILESS_MAIN(TestDesktopRoute)
#include "tst_desktoproute.moc"
