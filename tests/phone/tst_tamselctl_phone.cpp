#include "kelvrapaths.h"

#include <QDir>
#include <QDirIterator>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <memory>

namespace {

// Run a second time against MTP devices scripted by the same folders.
bool scriptedMtp()
{
    return qEnvironmentVariableIsSet("TAMSEL_SCRIPTED_MTP");
}

QString tamselctl()
{
    return QString::fromLocal8Bit(qgetenv("TAMSEL_BIN_DIR")) + QStringLiteral("/tamselctl");
}

void writeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(data), qint64(data.size()));
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList hidden(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral(".~kelvra-*")}, QDir::Files | QDir::Hidden);
}

// The program's log, which the texts for the user point to.
QString logText()
{
    return QString::fromUtf8(readAll(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                                     + QStringLiteral("/Orvak/Orvak Tamsel/Tamsel.log")));
}

// A push of a large file, stopped mid-copy (SIGSTOP) once it has begun:
// a process to kill or interrupt at a moment when it certainly writes.
class StoppedPush
{
public:
    StoppedPush(const QString &serial, const QString &file)
    {
        m_process.setReadChannel(QProcess::StandardError);
        m_process.start(tamselctl(), {QStringLiteral("push"), serial, file});
    }
    ~StoppedPush()
    {
        if (m_process.state() != QProcess::NotRunning) {
            ::kill(pid_t(m_process.processId()), SIGKILL);
            m_process.waitForFinished(60000);
        }
    }
    // Waits for the first progress line and stops the process; false when
    // the copy was over by then.
    bool stopWhileCopying(const QString &targetFolder)
    {
        // A phone may be told 0 % just before the copy has made its
        // temporary file: then the copy goes on to its next progress line.
        for (qsizetype seen = 0;; seen = m_err.count('%')) {
            while (m_err.count('%') <= seen && m_process.waitForReadyRead(60000))
                m_err += m_process.readAllStandardError();
            if (m_process.state() != QProcess::Running)
                return false;
            ::kill(pid_t(m_process.processId()), SIGSTOP);
            // Stopped with its temporary file in place: certainly mid-copy.
            if (!hidden(targetFolder).isEmpty())
                return true;
            ::kill(pid_t(m_process.processId()), SIGCONT);
        }
    }
    void signal(int number) { ::kill(pid_t(m_process.processId()), number); }
    // Exit code, or -1 for a process killed by a signal.
    int finish()
    {
        signal(SIGCONT);
        if (!m_process.waitForFinished(60000))
            return -2;
        m_err += m_process.readAllStandardError();
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }
    QString err() const { return QString::fromLocal8Bit(m_err); }

private:
    QProcess m_process;
    QByteArray m_err;
};

} // namespace

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
        p.start(program.isEmpty() ? tamselctl() : program, args);
        Run r;
        if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit)
            return r;
        r.code = p.exitCode();
        r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
        r.err = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }

    // A phone "k" with one memory holding the old clip; returns its videos folder.
    static QString replacingPhone(const QString &serial, qint64 capacity, const QByteArray &old)
    {
        const QString phone = KelvraPaths::devicesFolder() + QStringLiteral("/k");
        const QString videos = phone + QStringLiteral("/C/Data/Videos");
        writeFile(videos + QStringLiteral("/clip.mp4"), old);
        writeFile(phone + QStringLiteral("/phone.ini"),
                  QStringLiteral("[Phone]\nSerialNumber=%1\nFriendlyName=Kept\n[Memory0]\nType=Phone memory\nPath=C\n"
                                 "Capacity=%2\n")
                      .arg(serial)
                      .arg(capacity)
                      .toUtf8());
        return videos;
    }

    // A large source that costs no disk until copied.
    static QString sparseSource(const QTemporaryDir &dir, qint64 size, const QString &name = QStringLiteral("clip.mp4"))
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || !file.resize(size))
            return QString();
        return path;
    }

    // A push replacing videos/clip.mp4 (holding old), stopped mid-copy. On a
    // loaded machine the copy may be over before it is stopped: then the old
    // clip is put back and it is tried again.
    static std::unique_ptr<StoppedPush> stoppedReplacingPush(const QString &serial, const QString &source,
                                                             const QString &videos, const QByteArray &old)
    {
        for (int attempt = 0; attempt < 3; ++attempt) {
            auto push = std::make_unique<StoppedPush>(serial, source);
            if (push->stopWhileCopying(videos))
                return push;
            push->finish();
            writeFile(videos + QStringLiteral("/clip.mp4"), old);
        }
        return nullptr;
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
    void cleanup() { QDir(KelvraPaths::devicesFolder()).removeRecursively(); }

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
        // card given by its absolute path (inside the phone's folder).
        const QString phone = KelvraPaths::devicesFolder() + QStringLiteral("/my phone");
        const QString card = phone + QStringLiteral("/card");
        QVERIFY(QDir().mkpath(phone + QStringLiteral("/C")));
        QVERIFY(QDir().mkpath(card));
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
                           .arg(card)
                           .toUtf8());
        manifest.close();
        QFile video(card + QStringLiteral("/clip.mp4"));
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
        QTest::addRow("ls without a serial") << QStringList({QStringLiteral("ls")});
        QTest::addRow("ls with memory 22") << QStringList({QStringLiteral("ls"), QStringLiteral("S"), QStringLiteral("22")});
        QTest::addRow("push without a file") << QStringList({QStringLiteral("push"), QStringLiteral("S")});
        QTest::addRow("push with a bad memory")
            << QStringList({QStringLiteral("push"), QStringLiteral("S"), QStringLiteral("f"), QStringLiteral("--memory"),
                            QStringLiteral("x")});
        QTest::addRow("pull of a PC path")
            << QStringList({QStringLiteral("pull"), QStringLiteral("S"), QStringLiteral("/tmp/x.mp4"), QStringLiteral("/tmp")});
        QTest::addRow("rm of a phone folder's end")
            << QStringList({QStringLiteral("rm"), QStringLiteral("S"), QStringLiteral("\\\\C:\\Data\\")});
        QTest::addRow("info with two serials") << QStringList({QStringLiteral("info"), QStringLiteral("S"), QStringLiteral("T")});
    }
    void usageErrors()
    {
        QFETCH(QStringList, args);
        const Run r = run(args);
        QCOMPARE(r.code, 2);
        QVERIFY(r.err.contains(QLatin1String("usage: tamselctl")) || r.out.contains(QLatin1String("usage: tamselctl")));
    }

    void phoneFiles()
    {
        // A phone made by hand, with a picture of one 32-bit entry of 2 x 2.
        const QString phone = KelvraPaths::devicesFolder() + QStringLiteral("/p");
        for (const char *folder : {"/C/Data/Videos/Sub", "/C/Data/Images", "/E"})
            QVERIFY(QDir().mkpath(phone + QLatin1String(folder)));
        const auto write = [](const QString &path, const QByteArray &data) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(data);
        };
        write(phone + QStringLiteral("/C/Data/Videos/Sub/b.3gp"), QByteArray(2048, 'b'));
        write(phone + QStringLiteral("/C/Data/Videos/a.MP4"), QByteArray(100, 'a'));
        write(phone + QStringLiteral("/C/Data/Videos/notes.txt"), "not a video");
        QByteArray icon = QByteArray::fromHex("000001000100" "0202000001002000" "38000000" "16000000"
                                              "28000000" "02000000" "04000000" "01002000" "00000000" "00000000"
                                              "00000000" "00000000" "00000000" "00000000");
        icon += QByteArray(16, '\xff') + QByteArray(8, '\0');
        write(phone + QStringLiteral("/C/Data/Images/phone.ico"), icon);
        write(phone + QStringLiteral("/phone.ini"),
              "[Phone]\nSerialNumber=F1\nFriendlyName=Files\nManufacturer=Orvak\nModel=Hand\nMedia=16\n"
              "[Memory0]\nType=Phone memory\nPath=C\nCapacity=100000000\n"
              "[Memory1]\nType=Memory card\nPath=E\nCapacity=100000000\n"
              "[Video]\nMaxBitrate=256\nImgWallpaperSize=176,208\nPicture=\\\\C:\\Data\\Images\\phone.ico\n");

        const Run listed = run({QStringLiteral("ls"), QStringLiteral("F1")});
        QCOMPARE(listed.code, 0);
        const QStringList lines = listed.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines.at(0).startsWith(QLatin1String("\\\\C:\\Data\\Videos\\Sub\\b.3gp  2 KB  ")), qPrintable(lines.at(0)));
        QVERIFY2(lines.at(1).startsWith(QLatin1String("\\\\C:\\Data\\Videos\\a.MP4  100 B  ")), qPrintable(lines.at(1)));
        QCOMPARE(run({QStringLiteral("ls"), QStringLiteral("F1"), QStringLiteral("1")}).out, QStringLiteral("No videos.\n"));

        const Run info = run({QStringLiteral("info"), QStringLiteral("F1")});
        QCOMPARE(info.code, 0);
        // An MTP phone has no picture of its own.
        QCOMPARE(info.out, QStringLiteral("Phone: Files (F1)\n"
                                          "Largest picture: 176 x 208\n"
                                          "Maximum bit rate: 256 kbit/s\n"
                                          "Picture file: %1\n"
                                          "Quality for a new phone: Medium\n"
                                          "Pictures: %2\n")
                               .arg(scriptedMtp() ? QStringLiteral("none") : QStringLiteral("\\\\C:\\Data\\Images\\phone.ico"),
                                    scriptedMtp() ? QStringLiteral("none") : QStringLiteral("2x2")));

        QTemporaryDir pc;
        const QByteArray clip(3 << 20, 'c');
        write(pc.filePath(QStringLiteral("clip.mp4")), clip);
        const Run pushed = run({QStringLiteral("push"), QStringLiteral("F1"), pc.filePath(QStringLiteral("clip.mp4")),
                                QStringLiteral("--memory"), QStringLiteral("1")});
        QCOMPARE(pushed.code, 0);
        QCOMPARE(pushed.out, QStringLiteral("Copied clip.mp4 to \\\\E:\\Videos\n"));
        QVERIFY(pushed.err.contains(QLatin1String("Copying clip.mp4: 100 %")));
        QFile copied(phone + QStringLiteral("/E/Videos/clip.mp4"));
        QVERIFY(copied.open(QIODevice::ReadOnly));
        QCOMPARE(copied.readAll(), clip);

        QTemporaryDir back;
        const QString onPhone = QStringLiteral("\\\\E:\\Videos\\clip.mp4");
        const Run pulled = run({QStringLiteral("pull"), QStringLiteral("F1"), onPhone, back.path()});
        QCOMPARE(pulled.code, 0);
        QCOMPARE(QFileInfo(back.filePath(QStringLiteral("clip.mp4"))).size(), clip.size());
        // Never over an existing PC file.
        const Run again = run({QStringLiteral("pull"), QStringLiteral("F1"), onPhone, back.path()});
        QCOMPARE(again.code, 1);
        QVERIFY(again.err.contains(QLatin1String("File already exists in Device or PC")));

        QCOMPARE(run({QStringLiteral("rm"), QStringLiteral("F1"), onPhone}).code, 0);
        QVERIFY(!QFileInfo::exists(phone + QStringLiteral("/E/Videos/clip.mp4")));
        const Run gone = run({QStringLiteral("rm"), QStringLiteral("F1"), onPhone});
        QCOMPARE(gone.code, 1);
        QVERIFY(gone.err.contains(QLatin1String("The file could not be found. It may have been moved, renamed or deleted.")));
        QVERIFY(gone.err.contains(QLatin1String("Deleting file from Phone: File does not exists in Device or PC")));
        QVERIFY(logText().contains(QLatin1String(
            "] Orvak Phone File System API: Deleting file from Phone: File does not exists in Device or PC\n")));

        const Run unknown = run({QStringLiteral("info"), QStringLiteral("NOPE")});
        QCOMPARE(unknown.code, 1);
        QVERIFY(unknown.err.contains(QLatin1String("no phone with the serial number NOPE")));
        const Run noCard = run({QStringLiteral("ls"), QStringLiteral("F1"), QStringLiteral("2")});
        QCOMPARE(noCard.code, 1);
        QVERIFY(noCard.err.contains(QLatin1String("Reading phone file system")));
    }

    void killedReplacingPushKeepsThePhoneCopy()
    {
        if (scriptedMtp())
            QSKIP("only one process at a time can hold an MTP phone");
        constexpr qint64 big = 512LL << 20;
        const QByteArray old(100000, 'o');
        // Room for the new clip beside the old one, but not for one more.
        const QString videos = replacingPhone(QStringLiteral("K1"), big + (50LL << 20), old);
        QTemporaryDir pc;
        const QString source = sparseSource(pc, big);
        QVERIFY(!source.isEmpty());
        const QString other = sparseSource(pc, 100LL << 20, QStringLiteral("other.mp4"));
        QVERIFY(!other.isEmpty());

        auto push = stoppedReplacingPush(QStringLiteral("K1"), source, videos, old);
        QVERIFY(push);
        QCOMPARE(readAll(videos + QStringLiteral("/clip.mp4")), old);
        // The stopped copy has claimed its space: another process's push
        // that would overfill the memory is refused before writing.
        const Run refused = run({QStringLiteral("push"), QStringLiteral("K1"), other, QStringLiteral("--memory"),
                                 QStringLiteral("0")});
        QCOMPARE(refused.code, 1);
        QVERIFY2(refused.err.contains(QLatin1String("The phone memory is full.")), qPrintable(refused.err));

        push->signal(SIGKILL);
        QCOMPARE(push->finish(), -1);
        push.reset();
        QCOMPARE(readAll(videos + QStringLiteral("/clip.mp4")), old);
        const QStringList stale = hidden(videos);
        QCOMPARE(stale.size(), 1);

        // A living writer's temporary beside it.
        const QString livePath = videos + QStringLiteral("/.~kelvra-live.part");
        writeFile(livePath, "live");
        const int live = ::open(QFile::encodeName(livePath).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(live >= 0);
        QCOMPARE(::flock(live, LOCK_EX), 0);
        // The next open removes what the killed process left; its space is free again.
        const Run listed = run({QStringLiteral("ls"), QStringLiteral("K1")});
        QCOMPARE(listed.code, 0);
        QVERIFY2(listed.out.startsWith(QLatin1String("\\\\C:\\Data\\Videos\\clip.mp4  98 KB")), qPrintable(listed.out));
        QCOMPARE(hidden(videos), QStringList(QStringLiteral(".~kelvra-live.part")));
        ::close(live);
        const Run pushed = run({QStringLiteral("push"), QStringLiteral("K1"), other});
        QVERIFY2(pushed.code == 0, qPrintable(pushed.err));
        QCOMPARE(readAll(videos + QStringLiteral("/clip.mp4")), old);
        QCOMPARE(QFileInfo(videos + QStringLiteral("/other.mp4")).size(), 100LL << 20);
    }

    void interruptedReplacingPushKeepsThePhoneCopy()
    {
        // Ctrl+C in the middle of a replacing push.
        const QByteArray old(100000, 'o');
        const QString videos = replacingPhone(QStringLiteral("K2"), 1LL << 30, old);
        QTemporaryDir pc;
        const QString source = sparseSource(pc, 512LL << 20);
        QVERIFY(!source.isEmpty());
        const auto push = stoppedReplacingPush(QStringLiteral("K2"), source, videos, old);
        QVERIFY(push);
        push->signal(SIGINT);
        QCOMPARE(push->finish(), 1);
        QVERIFY2(push->err().contains(QLatin1String("The copy was cancelled. Nothing was changed on the phone or on the PC.")),
                 qPrintable(push->err()));
        QCOMPARE(readAll(videos + QStringLiteral("/clip.mp4")), old);
        QCOMPARE(hidden(videos), QStringList());
        // "See the log file": the technical text is there.
        QVERIFY(logText().contains(QLatin1String(
            "] Orvak Phone File System API: Copying file from PC to Phone: Operation canceled by KelvraAPI-User\n")));
    }

    void manifestLeadingOutIsRefused()
    {
        // A memory folder "../../victim" would let rm delete the user's files.
        if (scriptedMtp())
            QSKIP("a folder phone's manifest");
        QTemporaryDir outside;
        const QString victim = outside.filePath(QStringLiteral("victim"));
        writeFile(victim + QStringLiteral("/Videos/precious.mp4"), "precious");
        const QString phone = KelvraPaths::devicesFolder() + QStringLiteral("/escape");
        QVERIFY(QDir().mkpath(phone));
        writeFile(phone + QStringLiteral("/phone.ini"),
                  QStringLiteral("[Phone]\nSerialNumber=X1\nFriendlyName=Escape\n[Memory0]\nType=Phone memory\n"
                                 "Path=%1\nCapacity=1000000\n")
                      .arg(QDir(phone).relativeFilePath(victim))
                      .toUtf8());
        const Run r = run({QStringLiteral("rm"), QStringLiteral("X1"), QStringLiteral("\\\\C:\\Videos\\precious.mp4")});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(QLatin1String("[Memory0] Path must name a folder inside the phone's folder")),
                 qPrintable(r.err));
        QVERIFY(r.err.contains(QLatin1String("tamselctl: no phone is attached")));
        QCOMPARE(readAll(victim + QStringLiteral("/Videos/precious.mp4")), QByteArray("precious"));
    }

    void configurationWriteFailureIsReported()
    {
        const QString phone = KelvraPaths::devicesFolder() + QStringLiteral("/c");
        QVERIFY(QDir().mkpath(phone + QStringLiteral("/C")));
        writeFile(phone + QStringLiteral("/phone.ini"),
                  "[Phone]\nSerialNumber=W1\nFriendlyName=Unwritten\n[Memory0]\nType=Phone memory\nPath=C\n"
                  "Capacity=1000000\n[Video]\nMaxBitrate=384\n");
        // A folder where the phone's configuration file belongs.
        const QString conf = KelvraPaths::dataFolder() + QStringLiteral("/Pelmora/ConfServer");
        QVERIFY(QDir().mkpath(conf + QStringLiteral("/ConfSTmpW1.xml")));
        const Run r = run({QStringLiteral("info"), QStringLiteral("W1")});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.contains(QLatin1String("Configuration files: not found, defaults shown")));
        QVERIFY2(r.err.contains(QLatin1String("kelvra: cannot write the configuration files of W1 in ")), qPrintable(r.err));
        QVERIFY(QDir(conf + QStringLiteral("/ConfSTmpW1.xml")).removeRecursively());
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
