// Two catalogue benchmarks, each on a tree it makes in a temporary folder:
//  scan:         the program's scan of 1,000, 4,000 and 10,000 short videos
//                in folders of ten, against mediainfo reading the same tree
//                in its folder mode; shows how the time grows with the count;
//  mycollection: building My collection of 5,000 items from the My
//                collection folder and a folder phone.
// Runs with private settings and data folders, never the user's own.
//
// usage: bench_catalogue scan [FILES...] | mycollection [ITEMS]

#include "catalogue.h"
#include "mediaclips.h"
#include "phonemanagement.h"
#include "phonesinfo.h"
#include "scanthread.h"
#include "settingsstore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QStandardPaths>
#include <QTextStream>

#include <algorithm>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QTextStream out(stdout);

class Counter final : public QObject
{
public:
    bool event(QEvent *e) override
    {
        if (e->type() == QScanFileEvent::Type) {
            ++found;
            return true;
        }
        return QObject::event(e);
    }
    int found = 0;
};

// Wall-clock and CPU seconds of one run.
struct Timing
{
    double wall = 0;
    double cpu = 0;
};

double processCpuSeconds()
{
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double childrenCpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// `files` short videos in folders of ten, hard links to ten generated clips
// (copies where the file system has no hard links).
bool makeTree(const QString &tree, const QStringList &sources, int files)
{
    for (int i = 0; i < files; ++i) {
        const QString folder = tree + QStringLiteral("/f%1").arg(i / 10);
        if (i % 10 == 0 && !QDir().mkpath(folder))
            return false;
        const QString path = folder + QStringLiteral("/v%1.mp4").arg(i);
        const QString source = sources.at(i % 10);
        if (::link(QFile::encodeName(source).constData(), QFile::encodeName(path).constData()) != 0
            && !QFile::copy(source, path))
            return false;
    }
    return true;
}

Timing runScan(const QString &tree, int expected)
{
    QFile::remove(Catalogue::appSettingsPath());
    QFile::remove(Catalogue::myCollectionCachePath());
    QElapsedTimer timer;
    const double cpu = processCpuSeconds();
    timer.start();
    Counter counter;
    Catalogue::instance().setScanAbort(false);
    CScanThread scan(&counter, tree);
    // Waits in the event loop, as the window does, taking the announcements.
    QEventLoop loop;
    QObject::connect(&scan, &QThread::finished, &loop, &QEventLoop::quit);
    scan.start();
    loop.exec();
    scan.wait();
    QCoreApplication::sendPostedEvents(&counter);
    const Timing timing{timer.elapsed() / 1000.0, processCpuSeconds() - cpu};
    if (counter.found != expected || !scan.succeeded())
        out << "the scan found " << counter.found << " of " << expected << " videos: " << scan.errorText() << "\n";
    return timing;
}

Timing runMediainfo(const QString &tree)
{
    QElapsedTimer timer;
    const double cpu = childrenCpuSeconds();
    timer.start();
    QProcess mediainfo;
    mediainfo.setStandardOutputFile(QProcess::nullDevice());
    mediainfo.start(QStringLiteral("mediainfo"), {tree});
    mediainfo.waitForFinished(-1);
    return {timer.elapsed() / 1000.0, childrenCpuSeconds() - cpu};
}

// The program's scan of each count of short videos against mediainfo
// reading the same folder tree, in alternating rounds.
int benchScan(const QString &root, const QList<int> &counts, int rounds)
{
    const bool haveMediainfo = !QStandardPaths::findExecutable(QStringLiteral("mediainfo")).isEmpty();
    if (!haveMediainfo)
        out << "mediainfo is not installed (apt-get install mediainfo): the scan is timed alone\n";
    QStringList sources;
    for (int i = 0; i < 10; ++i) {
        MediaClips::ClipSpec spec;
        spec.width = 320 + 16 * i;
        spec.height = 240;
        spec.seconds = 1 + i % 3;
        const QString clip = root + QStringLiteral("/src%1.mp4").arg(i);
        if (!MediaClips::make(clip, spec))
            return 1;
        sources << clip;
    }
    Settings::setMyCollectionFolder(root + QStringLiteral("/collection"));
    double firstCpu = 0;
    for (const int files : counts) {
        const QString tree = root + QStringLiteral("/tree%1").arg(files);
        out << "making " << files << " short videos in " << (files + 9) / 10 << " folders...\n" << Qt::flush;
        if (!makeTree(tree, sources, files))
            return 1;
        // One unmeasured round of each fills the page cache.
        runScan(tree, files);
        if (haveMediainfo)
            runMediainfo(tree);
        QList<double> ourWall, ourCpu, theirWall, theirCpu;
        for (int round = 0; round < rounds; ++round) {
            const Timing ours = runScan(tree, files);
            ourWall << ours.wall;
            ourCpu << ours.cpu;
            if (haveMediainfo) {
                const Timing theirs = runMediainfo(tree);
                theirWall << theirs.wall;
                theirCpu << theirs.cpu;
            }
        }
        if (firstCpu == 0)
            firstCpu = median(ourCpu) / files;
        out << QStringLiteral("scan of %1 videos: %2 s (CPU %3 s, %4 ms a video, %5 x the first count's per video)")
                   .arg(files).arg(median(ourWall), 0, 'f', 2).arg(median(ourCpu), 0, 'f', 2)
                   .arg(1000 * median(ourCpu) / files, 0, 'f', 3).arg(median(ourCpu) / files / firstCpu, 0, 'f', 2);
        if (haveMediainfo)
            out << QStringLiteral("; mediainfo %1 s (CPU %2 s); the scan takes %3 of its time (CPU %4)")
                       .arg(median(theirWall), 0, 'f', 2).arg(median(theirCpu), 0, 'f', 2)
                       .arg(median(ourWall) / median(theirWall), 0, 'f', 2)
                       .arg(median(ourCpu) / median(theirCpu), 0, 'f', 2);
        out << "\n" << Qt::flush;
        QDir(tree).removeRecursively();
    }
    return 0;
}

void writeFile(const QString &path, qint64 size)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.resize(size);
}

int benchMyCollection(const QString &root, int items)
{
    // As many videos on the phone as in the folder, a third of the folder's
    // pairing with phone videos, so that the list holds `items` entries.
    const QString devices = root + QStringLiteral("/devices");
    qputenv("KELVRA_DEVICES_DIR", QFile::encodeName(devices));
    qputenv("KELVRA_API_PATH", QFile::encodeName(QCoreApplication::applicationDirPath() + QStringLiteral("/libkelvraapi.so")));
    const QString phone = devices + QStringLiteral("/bench");
    const QString card = phone + QStringLiteral("/E/Videos");
    QDir().mkpath(card);
    QDir().mkpath(phone + QStringLiteral("/C"));
    const QString collection = root + QStringLiteral("/collection");
    QDir().mkpath(collection);
    Settings::setMyCollectionFolder(collection);
    const int onPhone = items * 3 / 5;
    const int inFolder = onPhone;
    for (int i = 0; i < onPhone; ++i)
        writeFile(card + QStringLiteral("/clip%1.mp4").arg(i), 1000 + i);
    for (int i = 0; i < inFolder; ++i) {
        const int paired = i % 3 == 0 ? i : onPhone + i;
        writeFile(collection + QStringLiteral("/clip%1.mp4").arg(paired), 1000 + paired);
    }
    QFile manifest(phone + QStringLiteral("/phone.ini"));
    manifest.open(QIODevice::WriteOnly);
    manifest.write("[Phone]\nSerialNumber=0044BENCH\nFriendlyName=Bench\nManufacturer=Orvak\nModel=B\nMedia=16\n"
                   "[Memory0]\nType=Phone memory\nPath=C\nCapacity=268435456\n"
                   "[Memory1]\nType=Memory card\nPath=E\nCapacity=2147483648\n");
    manifest.close();

    Catalogue &c = Catalogue::instance();
    {
        Orvak_API::PhoneManagement management;
        Orvak_API::PhonesInfo phones;
        management.getPhones(phones);
        if (phones.isEmpty()) {
            out << "the folder phone was not found\n";
            return 1;
        }
        c.setCurrentPhone(phones.first());
    }
    QList<double> times;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer timer;
        timer.start();
        c.refreshMyCollection();
        times << timer.elapsed() / 1000.0;
    }
    std::sort(times.begin(), times.end());
    out << QStringLiteral("mycollection: %1 items (%2 on the phone, %3 in the folder) built in %4 s (median of 3)\n")
               .arg(c.myCollection.size()).arg(onPhone).arg(inFolder).arg(times.at(1), 0, 'f', 3);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir root;
    // Private settings and data, set before anything reads them.
    for (const char *name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(name, QFile::encodeName(root.path() + QLatin1Char('/') + QLatin1String(name)));
    QCoreApplication app(argc, argv);
    qputenv("TAMSEL_CONVERTER_LIBRARY",
            QFile::encodeName(QCoreApplication::applicationDirPath() + QStringLiteral("/libtamselconverter.so")));
    const QStringList args = app.arguments();
    const QString what = args.value(1, QStringLiteral("scan"));
    if (what == QLatin1String("scan")) {
        QList<int> counts;
        for (const QString &count : args.mid(2))
            counts << count.toInt();
        if (counts.isEmpty())
            counts = {1000, 4000, 10000};
        return benchScan(root.path(), counts, 3);
    }
    if (what == QLatin1String("mycollection"))
        return benchMyCollection(root.path(), args.value(2, QStringLiteral("5000")).toInt());
    out << "usage: bench_catalogue scan [FILES...] | mycollection [ITEMS]\n";
    return 2;
}
