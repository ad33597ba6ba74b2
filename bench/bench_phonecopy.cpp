// Copies a large file to a folder phone through the connectivity library and
// with cp, in alternating rounds on the same disk, and compares the times.
//
//   bench_phonecopy [MIB] [ROUNDS] [DIR]
//
// MIB is the file size (1024 by default), DIR the folder on the disk to
// measure (the temporary folder by default).

#include "kelvra.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <unistd.h>

#include <algorithm>
#include <vector>

using namespace Orvak_API;

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

bool makeSource(const QString &path, qint64 mib)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk(8 << 20, Qt::Uninitialized);
    for (qint64 written = 0; written < mib << 20; written += chunk.size()) {
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(chunk.data()), chunk.size() / 4);
        if (file.write(chunk) != chunk.size())
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments().mid(1);
    const qint64 mib = args.value(0, QStringLiteral("1024")).toLongLong();
    const int rounds = args.value(1, QStringLiteral("3")).toInt();
    const QString base = args.value(2, QDir::tempPath());
    if (mib <= 0 || rounds <= 0) {
        QTextStream(stderr) << "usage: bench_phonecopy [MIB] [ROUNDS] [DIR]\n";
        return 2;
    }

    QTemporaryDir dir(base + QStringLiteral("/bench-phonecopy-XXXXXX"));
    if (!dir.isValid())
        return 1;
    qputenv("KELVRA_DEVICES_DIR", QFile::encodeName(dir.filePath(QStringLiteral("devices"))));
    qputenv("KELVRA_DATA_DIR", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
    qputenv("KELVRA_RUNTIME_DIR", QFile::encodeName(dir.filePath(QStringLiteral("runtime"))));
    qputenv("KELVRA_API_PATH", QFile::encodeName(app.applicationDirPath() + QStringLiteral("/" KELV_LIBRARY_FILE_NAME)));

    const QString phone = dir.filePath(QStringLiteral("devices/bench"));
    QDir().mkpath(phone + QStringLiteral("/C"));
    QDir().mkpath(dir.filePath(QStringLiteral("pc")));
    QDir().mkpath(dir.filePath(QStringLiteral("cp")));
    QFile manifest(phone + QStringLiteral("/phone.ini"));
    if (!manifest.open(QIODevice::WriteOnly))
        return 1;
    manifest.write(QStringLiteral("[Phone]\nSerialNumber=BENCH1\nFriendlyName=Bench\n[Memory0]\nType=Phone memory\n"
                                  "Path=C\nCapacity=%1\n")
                       .arg(mib * 4 << 20)
                       .toUtf8());
    manifest.close();

    out << "making a " << mib << " MiB file in " << dir.path() << "\n";
    out.flush();
    const QString source = dir.filePath(QStringLiteral("pc/clip.bin"));
    if (!makeSource(source, mib))
        return 1;
    ::sync();

    if (KelvLoader::initialize(KelvModule::Files) != 0 || KelvLoader::initialize(KelvModule::Devices) != 0) {
        QTextStream(stderr) << "cannot load the connectivity library\n";
        return 1;
    }
    KELVHANDLE fs = nullptr;
    uint32_t media = KELV_MEDIA_ANY, id = 0;
    if (Kelv::OpenFS(L"BENCH1", &media, &fs, &id) != 0)
        return 1;
    const std::wstring pcFolder = dir.filePath(QStringLiteral("pc")).toStdWString();

    std::vector<double> library, cp;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        const KELV_RESULT r = Kelv::CopyFile(fs, KELV_COPY_PC_TO_PHONE, L"clip.bin", pcFolder.c_str(), L"\\\\C:");
        library.push_back(timer.nsecsElapsed() / 1e9);
        if (r != 0) {
            QTextStream(stderr) << "copy failed: 0x" << Qt::hex << uint32_t(r) << "\n";
            return 1;
        }
        QFile::remove(phone + QStringLiteral("/C/clip.bin"));
        ::sync();

        timer.restart();
        QProcess::execute(QStringLiteral("cp"), {source, dir.filePath(QStringLiteral("cp/clip.bin"))});
        cp.push_back(timer.nsecsElapsed() / 1e9);
        QFile::remove(dir.filePath(QStringLiteral("cp/clip.bin")));
        ::sync();
        out << "round " << round + 1 << ": library " << library.back() << " s, cp " << cp.back() << " s\n";
        out.flush();
    }
    Kelv::CloseFS(fs);
    KelvLoader::terminate(KelvModule::Devices);
    KelvLoader::terminate(KelvModule::Files);

    const double l = median(library), c = median(cp);
    out << "median: library " << l << " s (" << mib / l << " MiB/s), cp " << c << " s (" << mib / c << " MiB/s)\n";
    out << "library speed / cp speed: " << c / l << (c / l >= 0.9 ? " (meets 0.9)\n" : " (BELOW 0.9)\n");
    return 0;
}
