#include "desktoptools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// The program as `cmake --install` lays it out in a fresh prefix, run from
// there: it must find its data and libraries in the prefix, never in the
// build tree, and never through LD_LIBRARY_PATH or our variables.
class TestInstall : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_prefix;

    QString installed(const QString &path) const { return m_prefix + QLatin1Char('/') + path; }

    // Nothing in the environment points at the build tree.
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = DesktopTools::environment();
        for (const char *name : {"TAMSEL_BIN_DIR", "TAMSEL_CONVERTER_LIBRARY", "TAMSEL_PLAYER_LIBRARY",
                                 "KELVRA_API_PATH", "LD_LIBRARY_PATH"})
            env.remove(QLatin1String(name));
        env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
        return env;
    }

    // Where the dynamic loader took each library from, as it reports them
    // (a run path's "bin/../lib" cleaned up).
    static QByteArrayList librariesLoaded(const QByteArray &loaderOutput)
    {
        QByteArrayList libraries;
        for (const QByteArray &line : loaderOutput.split('\n')) {
            const int at = line.indexOf("calling init: ");
            if (at >= 0)
                libraries << QDir::cleanPath(QString::fromLocal8Bit(line.mid(at + 14).trimmed())).toLocal8Bit();
        }
        return libraries;
    }

    void verifyNothingFromTheBuildTree(const QByteArrayList &libraries)
    {
        for (const QByteArray &library : libraries)
            QVERIFY2(!library.startsWith(TAMSEL_BUILD_DIR), library.constData());
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_prefix = m_dir.filePath(QStringLiteral("prefix with space"));
        const auto install = DesktopTools::run(QStringLiteral(TAMSEL_CMAKE),
                                               {QStringLiteral("--install"), QStringLiteral(TAMSEL_BUILD_DIR),
                                                QStringLiteral("--prefix"), m_prefix});
        QVERIFY2(install.exitCode == 0, install.output.constData());
    }

    void layout_data()
    {
        QTest::addColumn<QString>("path");
        for (const char *path : {"bin/tamsel", "bin/tamselctl", "lib/orvak-tamsel/libkelvraapi.so",
                                 "lib/orvak-tamsel/libtamselconverter.so", "lib/orvak-tamsel/libtamselplayer.so",
                                 "share/orvak-tamsel/Resource/videotransfer.rcc",
                                 "share/orvak-tamsel/translations/Tamsel_de.qm", "share/orvak-tamsel/HELP/index.html",
                                 "share/applications/com.orvak.Tamsel.desktop",
                                 "share/metainfo/com.orvak.Tamsel.metainfo.xml",
                                 "share/icons/hicolor/scalable/apps/com.orvak.Tamsel.svg",
                                 "share/doc/orvak-tamsel/copyright"})
            QTest::newRow(path) << QString::fromLatin1(path);
    }
    void layout()
    {
        QFETCH(QString, path);
        QVERIFY2(QFileInfo(installed(path)).isFile(), qPrintable(path));
    }

    void iconsInEveryThemeSize()
    {
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const QString png = installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/com.orvak.Tamsel.png").arg(size));
            QImageReader reader(png);
            QCOMPARE(reader.format(), QByteArray("png"));
            QCOMPARE(reader.size(), QSize(size, size));
        }
    }

    void desktopFilesValidate()
    {
        const auto metainfo = DesktopTools::run(
            QStringLiteral("appstreamcli"),
            {QStringLiteral("validate"), QStringLiteral("--no-net"), installed(QStringLiteral("share/metainfo/com.orvak.Tamsel.metainfo.xml"))},
            environment());
        QVERIFY2(metainfo.exitCode == 0, metainfo.output.constData());
        const auto entry = DesktopTools::run(QStringLiteral("desktop-file-validate"),
                                             {installed(QStringLiteral("share/applications/com.orvak.Tamsel.desktop"))},
                                             environment());
        QVERIFY2(entry.exitCode == 0 && entry.output.isEmpty(), entry.output.constData());
    }

    void tamselctlRunsFromThePrefix()
    {
        const auto help = DesktopTools::run(installed(QStringLiteral("bin/tamselctl")), {QStringLiteral("help")},
                                            environment(), m_dir.path());
        QCOMPARE(help.exitCode, 0);
        QVERIFY2(help.output.contains("usage: tamselctl"), help.output.constData());

        // Listing phones loads the connectivity library, measuring a video the
        // converter component: both from the prefix's private library folder.
        QProcessEnvironment env = environment();
        env.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("files"));
        const QString clip = m_dir.filePath(QStringLiteral("clip.mp4"));
        QVERIFY(MediaClips::make(clip, DesktopTools::smallSilentClip()));
        const auto devices = DesktopTools::run(installed(QStringLiteral("bin/tamselctl")), {QStringLiteral("devices")}, env, m_dir.path());
        const auto probe = DesktopTools::run(installed(QStringLiteral("bin/tamselctl")), {QStringLiteral("probe"), clip}, env, m_dir.path());
        QCOMPARE(devices.exitCode, 0);
        QCOMPARE(probe.exitCode, 0);
        const QByteArrayList libraries = librariesLoaded(devices.output) + librariesLoaded(probe.output);
        const QByteArray privateFolder = installed(QStringLiteral("lib/orvak-tamsel/")).toLocal8Bit();
        QVERIFY2(libraries.contains(privateFolder + "libkelvraapi.so"), devices.output.right(3000).constData());
        QVERIFY2(libraries.contains(privateFolder + "libtamselconverter.so"), probe.output.right(3000).constData());
        verifyNothingFromTheBuildTree(libraries);
    }

    // The installed program starts with its package, picks the translation
    // for the user's language and takes a hand-over.
    void tamselRunsFromThePrefix()
    {
        QSettings(QStringLiteral("Orvak"), QStringLiteral("Orvak Tamsel"))
            .setValue(QStringLiteral("Settings/ScanFolder"), QDir::homePath());
        QProcessEnvironment env = environment();
        env.insert(QStringLiteral("LANGUAGE"), QStringLiteral("de"));
        env.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
        QProcess first;
        QByteArray output;
        first.setProcessEnvironment(env);
        first.setProcessChannelMode(QProcess::MergedChannels);
        first.setWorkingDirectory(m_dir.path());
        connect(&first, &QProcess::readyRead, &first, [&] { output += first.readAll(); });
        first.start(installed(QStringLiteral("bin/tamsel")), QStringList());

        const QByteArray translation = "translation loaded from "
            + installed(QStringLiteral("share/orvak-tamsel/translations/Tamsel_de.qm")).toLocal8Bit();
        QTRY_VERIFY2_WITH_TIMEOUT(output.contains(translation), output.constData(), 20000);
        const auto second = DesktopTools::run(installed(QStringLiteral("bin/tamsel")), {QStringLiteral("tmk://127.0.0.1/v?id=1")},
                                              env, m_dir.path());
        QCOMPARE(second.exitCode, 255);
        QTRY_VERIFY2_WITH_TIMEOUT(output.contains("argument received: tmk://127.0.0.1/v?id=1"), output.constData(), 20000);
        QCOMPARE(first.state(), QProcess::Running);

        // Nothing the running program has open or mapped is in the build tree.
        QFile maps(QStringLiteral("/proc/%1/maps").arg(first.processId()));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        const QByteArray mapped = maps.readAll();
        QVERIFY(!mapped.contains(TAMSEL_BUILD_DIR "/"));
        QVERIFY(mapped.contains(installed(QStringLiteral("bin/tamsel")).toLocal8Bit()));

        first.terminate();
        if (!first.waitForFinished(10000))
            first.kill();
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
