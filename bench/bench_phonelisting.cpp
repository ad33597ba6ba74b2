// Lists the videos of a folder phone's memory as the program does (one
// library call per folder and per file, each resolved by name) and compares
// the time with walking the same folder tree directly.
//
//   bench_phonelisting [FILES] [ROUNDS]
//
// FILES videos (5000 by default) are spread over 50 folders of a temporary
// folder phone, with as many other files beside them.

#include "phoneinfo.h"
#include "phonemanagement.h"
#include "phonesinfo.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

using namespace Orvak_API;

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments().mid(1);
    const int files = args.value(0, QStringLiteral("5000")).toInt();
    const int rounds = args.value(1, QStringLiteral("5")).toInt();
    if (files <= 0 || rounds <= 0) {
        QTextStream(stderr) << "usage: bench_phonelisting [FILES] [ROUNDS]\n";
        return 2;
    }
    QTemporaryDir dir;
    qputenv("KELVRA_DATA_DIR", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
    qputenv("KELVRA_DEVICES_DIR", QFile::encodeName(dir.filePath(QStringLiteral("devices"))));
    const QString memory = dir.filePath(QStringLiteral("devices/p/C"));
    for (int i = 0; i < files; ++i) {
        const QString folder = memory + QStringLiteral("/Data/Videos/f%1").arg(i % 50);
        QDir().mkpath(folder);
        for (const char *suffix : {".mp4", ".txt"}) {
            QFile file(folder + QStringLiteral("/clip%1").arg(i) + QLatin1String(suffix));
            if (!file.open(QIODevice::WriteOnly))
                return 1;
        }
    }
    QFile manifest(dir.filePath(QStringLiteral("devices/p/phone.ini")));
    if (!manifest.open(QIODevice::WriteOnly))
        return 1;
    manifest.write("[Phone]\nSerialNumber=B1\nFriendlyName=Bench\nMedia=16\n"
                   "[Memory0]\nType=Phone memory\nPath=C\nCapacity=1000000000\n");
    manifest.close();

    PhoneManagement management;
    PhonesInfo phones;
    if (!management.getPhones(phones) || !phones.first()->fileSystem()) {
        QTextStream(stderr) << "the folder phone did not attach: " << management.lastMessage() << "\n";
        return 1;
    }
    std::vector<double> phone, direct;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        QList<PhoneFileEntry *> entries;
        phones.first()->listMemoryFiles(entries, 0, L"3gp|3g2|mp4");
        phone.push_back(timer.nsecsElapsed() / 1e9);
        const qsizetype listed = entries.size();
        qDeleteAll(entries);

        timer.restart();
        qsizetype walked = 0;
        QDirIterator it(memory, {QStringLiteral("*.mp4"), QStringLiteral("*.3gp"), QStringLiteral("*.3g2")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            (void)it.fileInfo().lastModified();
            ++walked;
        }
        direct.push_back(timer.nsecsElapsed() / 1e9);
        if (listed != files || walked != files) {
            QTextStream(stderr) << "listed " << listed << " and walked " << walked << " of " << files << "\n";
            return 1;
        }
    }
    out << files << " videos: listing " << median(phone) << " s, direct walk " << median(direct) << " s, ratio "
        << median(phone) / median(direct) << "\n";
    return 0;
}
