#include "folderphones.h"
#include "kelvra.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

using namespace Orvak_API;
using namespace TestSupport;

namespace {

constexpr uint32_t FolderInvalid = 0x80500001u;
constexpr uint32_t FolderNotFound = 0x80500005u;
constexpr uint32_t FileNotAllowed = 0x80400005u;

// What the library writes to standard error meanwhile.
class StderrCapture
{
public:
    StderrCapture()
    {
        std::fflush(stderr);
        m_saved = ::dup(STDERR_FILENO);
        m_file = std::tmpfile();
        ::dup2(::fileno(m_file), STDERR_FILENO);
    }
    ~StderrCapture()
    {
        std::fflush(stderr);
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
        std::fclose(m_file);
    }
    QString text()
    {
        std::fflush(stderr);
        QFile file;
        file.open(::dup(::fileno(m_file)), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
        file.seek(0);
        return QString::fromLocal8Bit(file.readAll());
    }

private:
    int m_saved = -1;
    FILE *m_file = nullptr;
};

QStringList attachedSerials()
{
    KELVHANDLE dm = nullptr;
    if (Kelv::OpenDM(&dm) != 0)
        return {QStringLiteral("no session")};
    KELV_DEVICE_INFO devices[32] = {};
    uint32_t count = 32;
    QStringList serials;
    if (Kelv::GetDevices(dm, &count, devices) == 0) {
        for (uint32_t i = 0; i < count; ++i)
            serials << QString::fromWCharArray(devices[i].pstrSerialNumber);
        Kelv::FreeDeviceStructure(count, devices);
    }
    Kelv::CloseDM(dm);
    return serials;
}

// A phone folder name of its own per test row: the library reports a
// problem once per folder and kind.
QString rowFolder(const char *stem)
{
    static int row = 0;
    return QLatin1String(stem) + QString::number(++row);
}

QByteArray manifest(const QString &serial, const QString &path)
{
    return QStringLiteral("[Phone]\nSerialNumber=%1\nFriendlyName=Phone\n[Memory0]\nType=Phone memory\nPath=%2\n"
                          "Capacity=100000000\n")
        .arg(serial, path)
        .toUtf8();
}

} // namespace

// A phone's files stay inside its folder, and what a phone folder holds
// cannot make the library block, eat memory or list without end.
class TestKelvraConfinement : public QObject, private LibraryFixture
{
    Q_OBJECT

private:
    // Files of the user's in the PC folder, which no phone may reach.
    QString victim() const { return m_pc.filePath(QStringLiteral("victim")); }

private Q_SLOTS:
    void initTestCase() { LibraryFixture::initTestCase(); }
    void init()
    {
        LibraryFixture::init();
        QDir(victim()).removeRecursively();
        writeFile(victim() + QStringLiteral("/Videos/precious.mp4"), "precious");
    }
    void cleanup() { LibraryFixture::cleanup(); }

    void memoryFolders_data()
    {
        // $phone: the phone's folder, $name: its name, $victim: the victim folder
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("link"); // a symlink made in the phone's folder first: "name>target"
        QTest::addColumn<bool>("accepted");
        QTest::addRow("relative") << QStringLiteral("C") << QString() << true;
        QTest::addRow("deeper, not there yet") << QStringLiteral("cards/E") << QString() << true;
        QTest::addRow("absolute inside") << QStringLiteral("$phone/C") << QString() << true;
        QTest::addRow("dot dot out") << QStringLiteral("../../victim") << QString() << false;
        QTest::addRow("dot dot out and back in") << QStringLiteral("C/../../$name/C") << QString() << true;
        QTest::addRow("absolute elsewhere") << QStringLiteral("$victim") << QString() << false;
        QTest::addRow("symlinked memory folder") << QStringLiteral("C") << QStringLiteral("C>$victim") << false;
        QTest::addRow("through a symlinked folder") << QStringLiteral("out/Videos") << QStringLiteral("out>$victim") << false;
        QTest::addRow("the phone's own folder") << QStringLiteral(".") << QString() << false;
        QTest::addRow("dangling symlink") << QStringLiteral("gone") << QStringLiteral("gone>$victim/none") << true;
    }
    void memoryFolders()
    {
        QFETCH(QString, path);
        QFETCH(QString, link);
        QFETCH(bool, accepted);
        const QString name = rowFolder("p");
        const QString phone = m_phones->folder(name);
        const auto expand = [&](QString text) {
            return text.replace(QLatin1String("$phone"), phone)
                .replace(QLatin1String("$name"), name)
                .replace(QLatin1String("$victim"), victim());
        };
        QVERIFY(QDir().mkpath(phone + QStringLiteral("/C")));
        if (!link.isEmpty()) {
            const QStringList parts = expand(link).split(QLatin1Char('>'));
            QDir(phone + QLatin1Char('/') + parts.first()).removeRecursively();
            QVERIFY(QFile::link(parts.last(), phone + QLatin1Char('/') + parts.first()));
        }
        StderrCapture err;
        m_phones->writeManifest(name, manifest(QStringLiteral("M1"), expand(path)));
        m_phones->addPhone(QStringLiteral("q"), QStringLiteral("GOOD"), QStringLiteral("Good"));
        QCOMPARE(attachedSerials(), accepted ? QStringList({QStringLiteral("M1"), QStringLiteral("GOOD")})
                                             : QStringList(QStringLiteral("GOOD")));
        QCOMPARE(err.text().contains(QLatin1String("[Memory0] Path must name a folder inside the phone's folder")),
                 !accepted);
        if (!accepted)
            return;
        // Whatever was accepted, no phone path reaches the victim's files.
        KELVHANDLE fs = openFs(QStringLiteral("M1"));
        QVERIFY(fs);
        QCOMPARE(uint32_t(Kelv::DeleteFile(fs, L"precious.mp4", L"\\\\C:\\Videos")) & 0xFFF00000u, 0x80500000u);
        QCOMPARE(readAll(victim() + QStringLiteral("/Videos/precious.mp4")), QByteArray("precious"));
    }

    void memoryFolderSwappedForASymlink()
    {
        m_phones->addPhone(QStringLiteral("p"), QStringLiteral("S1"), QStringLiteral("Phone"));
        KELVHANDLE fs = openFs(QStringLiteral("S1"));
        QVERIFY(fs);
        const QString memory = m_phones->memoryFolder(QStringLiteral("p"), 0);
        QVERIFY(QDir(memory).removeRecursively());
        QVERIFY(QFile::link(victim(), memory));
        QCOMPARE(uint32_t(Kelv::DeleteFile(fs, L"precious.mp4", L"\\\\C:\\Videos")), FolderInvalid);
        QTemporaryDir pc;
        writeFile(pc.filePath(QStringLiteral("new.mp4")), "new");
        QCOMPARE(uint32_t(Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE | KELV_COPY_REPLACE, L"precious.mp4",
                                         w(pc.path()).c_str(), L"\\\\C:\\Videos")),
                 FolderInvalid);
        int64_t free = 0, total = 0, used = 0;
        QCOMPARE(uint32_t(Kelv::GetMemoryValues(fs, L"Phone memory", &free, &total, &used)), FolderInvalid);
        QCOMPARE(readAll(victim() + QStringLiteral("/Videos/precious.mp4")), QByteArray("precious"));
    }

    void symlinkedFoldersInsideAMemory()
    {
        m_phones->addPhone(QStringLiteral("p"), QStringLiteral("L1"), QStringLiteral("Phone"));
        const QString memory = m_phones->memoryFolder(QStringLiteral("p"), 0);
        writeFile(memory + QStringLiteral("/Data/Videos/clip.mp4"), "clip");
        QVERIFY(QFile::link(victim(), memory + QStringLiteral("/out")));
        // Loops: one to the folder itself, one to its parent.
        QVERIFY(QFile::link(QStringLiteral("."), memory + QStringLiteral("/Data/Videos/loop")));
        QVERIFY(QFile::link(QStringLiteral(".."), memory + QStringLiteral("/Data/Videos/up")));
        KELVHANDLE fs = openFs(QStringLiteral("L1"));
        QVERIFY(fs);

        Listing root, videos;
        QCOMPARE(list(fs, QStringLiteral("\\\\C:"), root), 0u);
        QCOMPARE(root.folders, QStringList(QStringLiteral("Data")));
        QCOMPARE(list(fs, QStringLiteral("\\\\C:\\Data\\Videos"), videos), 0u);
        QCOMPARE(videos.folders, QStringList());
        QCOMPARE(videos.files, QStringList(QStringLiteral("clip.mp4")));

        // Named directly, such a folder is not there either.
        Listing none;
        QCOMPARE(list(fs, QStringLiteral("\\\\C:\\out\\Videos"), none), FolderNotFound);
        QCOMPARE(list(fs, QStringLiteral("\\\\C:\\Data\\Videos\\loop"), none), FolderNotFound);
        QCOMPARE(uint32_t(Kelv::DeleteFile(fs, L"precious.mp4", L"\\\\C:\\out\\Videos")), FolderNotFound);
        QCOMPARE(uint32_t(Kelv::CreateFolder(fs, L"New", L"\\\\C:\\out")), FolderNotFound);
        QTemporaryDir pc;
        writeFile(pc.filePath(QStringLiteral("precious.mp4")), "overwritten");
        QCOMPARE(uint32_t(Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE | KELV_COPY_REPLACE, L"precious.mp4",
                                         w(pc.path()).c_str(), L"\\\\C:\\out\\Videos")),
                 FolderNotFound);
        QCOMPARE(everything(victim()), QStringList(QStringLiteral("Videos")));
        QCOMPARE(readAll(victim() + QStringLiteral("/Videos/precious.mp4")), QByteArray("precious"));
    }

    void manifestsThatAreNoFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addRow("FIFO") << QStringLiteral("fifo");
        QTest::addRow("symlink to a FIFO") << QStringLiteral("fifo link");
        QTest::addRow("symlink to /dev/zero") << QStringLiteral("/dev/zero");
        QTest::addRow("symlink to /dev/urandom") << QStringLiteral("/dev/urandom");
        QTest::addRow("folder") << QStringLiteral("folder");
        QTest::addRow("over 64 KiB") << QStringLiteral("large");
    }
    void manifestsThatAreNoFiles()
    {
        QFETCH(QString, kind);
        const QString phone = m_phones->folder(rowFolder("bad"));
        const QString ini = phone + QStringLiteral("/phone.ini");
        QVERIFY(QDir().mkpath(phone + QStringLiteral("/C")));
        if (kind.startsWith(QLatin1String("fifo"))) {
            const QString fifo = kind == QLatin1String("fifo") ? ini : m_pc.filePath(QStringLiteral("fifo"));
            QFile::remove(fifo);
            QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
            if (fifo != ini)
                QVERIFY(QFile::link(fifo, ini));
        } else if (kind.startsWith(QLatin1Char('/'))) {
            QVERIFY(QFile::link(kind, ini));
        } else if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(ini));
        } else {
            writeFile(ini, manifest(QStringLiteral("BIG"), QStringLiteral("C")) + "\n;" + QByteArray(64 * 1024, 'x'));
        }
        m_phones->addPhone(QStringLiteral("good"), QStringLiteral("GOOD"), QStringLiteral("Good"));
        StderrCapture err;
        // Skipped at once: none of these is read, so nothing blocks or grows.
        QCOMPARE(attachedSerials(), QStringList(QStringLiteral("GOOD")));
        QVERIFY2(err.text().contains(QLatin1String("kelvra: ignoring phone ") + phone), qPrintable(err.text()));
        uint32_t media = KELV_MEDIA_ANY, id = 0;
        KELVHANDLE fs = nullptr;
        QCOMPARE(uint32_t(Kelv::OpenFS(L"BIG", &media, &fs, &id)), 0x80200000u);
    }

    void readFileOnlyReadsFiles()
    {
        m_phones->addPhone(QStringLiteral("p"), QStringLiteral("F1"), QStringLiteral("Phone"));
        const QString memory = m_phones->memoryFolder(QStringLiteral("p"), 0);
        QCOMPARE(::mkfifo(QFile::encodeName(memory + QStringLiteral("/fifo.ico")).constData(), 0600), 0);
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), memory + QStringLiteral("/zero.ico")));
        KELVHANDLE fs = openFs(QStringLiteral("F1"));
        QVERIFY(fs);
        for (const wchar_t *name : {L"fifo.ico", L"zero.ico"}) {
            std::wstring file = name;
            KELV_FILE_INFO info{};
            info.pstrName = file.data();
            unsigned char *data = nullptr;
            QCOMPARE(uint32_t(Kelv::ReadFile(fs, &info, &data, 0, L"\\\\C:")), FileNotAllowed);
            QVERIFY(!data);
        }
        // Nor are they copied.
        QTemporaryDir pc;
        QCOMPARE(uint32_t(Kelv::CopyFile(fs, KELV_COPY_PHONE_TO_PC, L"fifo.ico", L"\\\\C:", w(pc.path()).c_str())),
                 FileNotAllowed);
        QCOMPARE(everything(pc.path()), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestKelvraConfinement)
#include "tst_kelvraconfinement.moc"
