#include "kelvrapaths.h"

#include <QDir>
#include <QDirIterator>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// tamselctl's phone commands, run as the user runs them, against the
// connectivity library beside them in the build.
class TestTamselctlPhone : public QObject
{
    Q_OBJECT

private:
    struct Run
    {
        int code = -1;
        QString out;
        QString err;
    };

    static Run run(const QStringList &args, const QString &program = QString(),
                   const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(program.isEmpty() ? QString::fromLocal8Bit(qgetenv("TAMSEL_BIN_DIR")) + QStringLiteral("/tamselctl")
                                  : program,
                args);
        Run r;
        if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit)
            return r;
        r.code = p.exitCode();
        r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
        r.err = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }

    static qint64 bytesUnder(const QString &folder)
    {
        qint64 total = 0;
        QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            total += it.fileInfo().size();
        }
        return total;
    }

private Q_SLOTS:
    void init() { QDir(KelvraPaths::devicesFolder()).removeRecursively(); }

    void noPhones()
    {
        const Run r = run({QStringLiteral("devices")});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, QStringLiteral("No phones attached.\n"));
    }

    void demoPhone()
    {
        const Run made = run({QStringLiteral("demo-phone")});
        QCOMPARE(made.code, 0);
        const QString phone = KelvraPaths::devicesFolder() + QStringLiteral("/demo-phone");
        QVERIFY(made.out.contains(phone));
        // Built elsewhere and moved in whole.
        QCOMPARE(QDir(KelvraPaths::devicesFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList(QStringLiteral("demo-phone")));
        const QStringList clips = QDir(phone + QStringLiteral("/C/Data/Videos")).entryList(QDir::Files);
        QCOMPARE(clips, QStringList({QStringLiteral("Colour bars.3gp"), QStringLiteral("Test pattern.mp4")}));
        QVERIFY(QFileInfo(phone + QStringLiteral("/E/Videos/Gradient.mp4")).size() > 1000);

        QImageReader icon(phone + QStringLiteral("/C/Data/Images/phone.ico"), "ico");
        QCOMPARE(icon.imageCount(), 2);

        const Run listed = run({QStringLiteral("devices")});
        QCOMPARE(listed.code, 0);
        const qint64 freeC = 268435456 - bytesUnder(phone + QStringLiteral("/C"));
        const qint64 freeE = 2147483648LL - bytesUnder(phone + QStringLiteral("/E"));
        QCOMPARE(listed.out, QStringLiteral("004401234567890  Demo Phone  (USB)\n"
                                            "    C:  Phone memory, %1 bytes free\n"
                                            "    E:  Memory card, %2 bytes free\n")
                                 .arg(freeC)
                                 .arg(freeE));

        const Run again = run({QStringLiteral("demo-phone")});
        QCOMPARE(again.code, 1);
        QVERIFY(again.err.contains(QLatin1String("already exists")));
    }

    void phoneMadeByHand()
    {
        // The manifest as the README shows it, comments and all, with the
        // memories elsewhere on the disk.
        QTemporaryDir card;
        const QString phone = KelvraPaths::devicesFolder() + QStringLiteral("/my phone");
        QVERIFY(QDir().mkpath(phone + QStringLiteral("/C")));
        QFile manifest(phone + QStringLiteral("/phone.ini"));
        QVERIFY(manifest.open(QIODevice::WriteOnly));
        manifest.write(QStringLiteral("[Phone]\n"
                                      "SerialNumber=004401234567890   ; letters, digits\n"
                                      "FriendlyName=Demo Phone\n"
                                      "Manufacturer=Orvak\n"
                                      "Model=Demo One\n"
                                      "Media=8,16                     ; Bluetooth and USB\n"
                                      "[Memory0]                      ; drive C:\n"
                                      "Type=Phone memory\n"
                                      "Path=C\n"
                                      "Capacity=268435456\n"
                                      "[Memory1]\n"
                                      "Type=Memory card\n"
                                      "Path=%1\n"
                                      "Capacity=2147483648\n"
                                      "[Video]\n"
                                      "MaxBitrate=384\n"
                                      "ImgWallpaperSize=240,320\n"
                                      "Picture=\\\\C:\\Data\\Images\\phone.ico\n")
                           .arg(card.path())
                           .toUtf8());
        manifest.close();
        QFile video(card.filePath(QStringLiteral("clip.mp4")));
        QVERIFY(video.open(QIODevice::WriteOnly));
        video.write(QByteArray(1000, 'v'));
        video.close();

        const Run listed = run({QStringLiteral("devices")});
        QCOMPARE(listed.code, 0);
        QCOMPARE(listed.out, QStringLiteral("004401234567890  Demo Phone  (USB)\n"
                                            "    C:  Phone memory, 268435456 bytes free\n"
                                            "    E:  Memory card, 2147482648 bytes free\n"));
    }

    void demoPhoneInAnotherFolder()
    {
        QTemporaryDir dir;
        const Run made = run({QStringLiteral("demo-phone"), dir.path()});
        QCOMPARE(made.code, 0);
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("demo-phone/phone.ini"))));
        QCOMPARE(run({QStringLiteral("devices")}).out, QStringLiteral("No phones attached.\n"));
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addRow("no command") << QStringList();
        QTest::addRow("unknown command") << QStringList(QStringLiteral("phones"));
        QTest::addRow("devices with an argument") << QStringList({QStringLiteral("devices"), QStringLiteral("x")});
        QTest::addRow("demo-phone with two folders")
            << QStringList({QStringLiteral("demo-phone"), QStringLiteral("a"), QStringLiteral("b")});
        QTest::addRow("demo-phone with an option") << QStringList({QStringLiteral("demo-phone"), QStringLiteral("--x")});
    }
    void usageErrors()
    {
        QFETCH(QStringList, args);
        const Run r = run(args);
        QCOMPARE(r.code, 2);
        QVERIFY(r.err.contains(QLatin1String("usage: tamselctl")) || r.out.contains(QLatin1String("usage: tamselctl")));
    }

    void libraryMissing()
    {
        // A copy of the tool where no library lies beside it.
        QTemporaryDir dir;
        const QString tool = dir.filePath(QStringLiteral("tamselctl"));
        QVERIFY(QFile::copy(QString::fromLocal8Bit(qgetenv("TAMSEL_BIN_DIR")) + QStringLiteral("/tamselctl"), tool));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KELVRA_API_PATH"), dir.filePath(QStringLiteral("nothing-here.so")));
        env.remove(QStringLiteral("LD_LIBRARY_PATH"));
        const Run r = run({QStringLiteral("devices")}, tool, env);
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(QLatin1String("Orvak Pelmora is not installed. To be able to use Orvak Tamsel, first "
                                              "install Orvak Pelmora on your PC.")),
                 qPrintable(r.err));
        QVERIFY(r.err.contains(QLatin1String(
            "Orvak Device Mangement API: Initialization fault: Needed API module was not found from the system")));
    }
};

QTEST_GUILESS_MAIN(TestTamselctlPhone)
#include "tst_tamselctl_phone.moc"
