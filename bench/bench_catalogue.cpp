// Two catalogue benchmarks, each on a tree it makes in a temporary folder:
//  scan:         the program's scan of 1,000 short videos in 100 folders,
//                against running ffprobe once per file on the same tree;
//  mycollection: building My collection of 5,000 items from the My
//                collection folder and a folder phone.
// Runs with private settings and data folders, never the user's own.
//
// usage: bench_catalogue [scan|mycollection] [FILES]

#include "catalogue.h"
#include "mediaclips.h"
#include "phonemanagement.h"
#include "phonesinfo.h"
#include "scanthread.h"
#include "settingsstore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

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

int benchScan(const QString &root, int files)
{
    out << "making " << files << " short videos in " << files / 10 << " folders...\n" << Qt::flush;
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
    const QString tree = root + QStringLiteral("/tree");
    QStringList all;
    for (int i = 0; i < files; ++i) {
        const QString folder = tree + QStringLiteral("/f%1").arg(i / 10);
        QDir().mkpath(folder);
        const QString path = folder + QStringLiteral("/v%1.mp4").arg(i);
        QFile::copy(sources.at(i % 10), path);
        all << path;
    }
    Settings::setMyCollectionFolder(root + QStringLiteral("/collection"));

    QElapsedTimer timer;
    timer.start();
    Counter counter;
    Catalogue::instance().setScanAbort(false);
    CScanThread scan(&counter, tree);
    scan.start();
    while (!scan.isFinished())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QCoreApplication::sendPostedEvents(&counter);
    const double ours = timer.elapsed() / 1000.0;

    timer.restart();
    for (const QString &path : all) {
        QProcess ffprobe;
        ffprobe.start(QStringLiteral("ffprobe"), {QStringLiteral("-v"), QStringLiteral("error"),
                                                  QStringLiteral("-show_entries"), QStringLiteral("format=duration"),
                                                  QStringLiteral("-of"), QStringLiteral("csv=p=0"), path});
        ffprobe.waitForFinished(-1);
    }
    const double theirs = timer.elapsed() / 1000.0;
    out << QStringLiteral("scan: %1 videos found in %2 s; ffprobe per file %3 s; %4 times faster\n")
               .arg(counter.found).arg(ours, 0, 'f', 2).arg(theirs, 0, 'f', 2).arg(theirs / ours, 0, 'f', 1);
    return counter.found == files ? 0 : 1;
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
    if (what == QLatin1String("scan"))
        return benchScan(root.path(), args.value(2, QStringLiteral("1000")).toInt());
    if (what == QLatin1String("mycollection"))
        return benchMyCollection(root.path(), args.value(2, QStringLiteral("5000")).toInt());
    out << "usage: bench_catalogue [scan|mycollection] [FILES]\n";
    return 2;
}
