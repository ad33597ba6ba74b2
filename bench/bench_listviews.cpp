// How long filling the lists takes: My collection with 10,000 items (grouped,
// with storage buttons) and Scan results with 10,000 items, each measured
// until the list has painted once; and scrolling through My collection.

#include "catalogue.h"
#include "fileitem.h"
#include "mycollectionview.h"
#include "scanview.h"
#include "theme.h"
#include "viewhost.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QResource>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>

namespace {

class Host final : public QWidget, public CViewHost
{
public:
    int currentContext() const override { return 0; }
    void resetSelectionDetails() override {}
    void showSelectionDetails(FileItem *, qint64) override {}
    QAction *menuAction(const QString &) const override { return nullptr; }
    QWidget *windowButton(const QString &) const override { return nullptr; }
    bool hasPhoneEntries() const override { return true; }
    void stopPlayer() override {}
    void playFile(const QString &) override {}
    void playWhenCopied(const QUuid &) override {}
    bool takePlayWhenCopied(const QUuid &) override { return false; }
    bool isCollectionBuilding() const override { return false; }
    void FillMyCollection() override {}
    void refreshTaskStatus() override {}
    CTaskManager *taskManager() const override { return nullptr; }
    CDownloadManager *downloadManager() const override { return nullptr; }
};

void makeItems(FileItemList &list, int count)
{
    const QDateTime now = QDateTime::currentDateTime();
    for (int i = 0; i < count; ++i) {
        FileItem *item = list.append();
        const QString name = QStringLiteral("%1 clip %2.mp4").arg(QChar(u'a' + i % 26)).arg(i);
        if (i % 3 != 1) {
            item->pc.name = name;
            item->pc.path = QStringLiteral("/videos/") + name;
            item->pc.size = qint64(i % 200) << 20;
            item->pc.playbackLength = i % 3600;
            item->pc.created = now.addDays(-(i % 90));
            item->pc.suffix = QStringLiteral("mp4");
        }
        if (i % 3 != 0) {
            item->phone.name = name;
            item->phone.path = QStringLiteral("\\\\E:\\Videos\\") + name;
            item->phone.size = qint64(i % 200) << 20;
            item->phone.created = now.addDays(-(i % 90));
            item->phone.suffix = QStringLiteral("mp4");
        }
    }
}

template <typename Fill>
double median(int rounds, QWidget *view, Fill fill)
{
    QList<double> times;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        fill();
        view->repaint();
        QCoreApplication::processEvents();
        times << timer.nsecsElapsed() / 1e6;
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int count = argc > 1 ? atoi(argv[1]) : 10000;
    const int rounds = argc > 2 ? atoi(argv[2]) : 5;
    const QString package = QCoreApplication::applicationDirPath() + QStringLiteral("/Resource/videotransfer.rcc");
    if (QResource::registerResource(package, QStringLiteral("/Theme/")))
        CTheme::setCurrent(new CTheme(QStringLiteral(":/Theme/Resources/DefaultTheme15.xml"), QStringLiteral(":/Theme/")));

    Catalogue &catalogue = Catalogue::instance();
    makeItems(catalogue.myCollection, count);
    makeItems(catalogue.scanResults, count);

    Host host;
    auto *layout = new QVBoxLayout(&host);
    auto *collection = new MyCollectionView(&host);
    collection->setPhoneConnected(true);
    auto *scan = new ScanView(&host);
    layout->addWidget(collection);
    layout->addWidget(scan);
    host.resize(1000, 800);
    host.show();
    QCoreApplication::processEvents();

    const double collectionMs = median(rounds, collection, [&] { collection->refill(); });
    const double scanMs = median(rounds, scan, [&] { scan->refill(); });

    // Scrolling a page at a time through the first hundred pages, each page painted.
    QScrollBar *bar = collection->verticalScrollBar();
    QElapsedTimer timer;
    timer.start();
    int pages = 0;
    for (int value = 0; value <= bar->maximum() && pages < 100; value += qMax(1, bar->pageStep()), ++pages) {
        bar->setValue(value);
        QCoreApplication::processEvents();
        collection->viewport()->repaint();
    }
    const double perPage = pages ? timer.nsecsElapsed() / 1e6 / pages : 0;

    std::printf("items %d, rounds %d\n", count, rounds);
    std::printf("My collection fill: %.1f ms (median)\n", collectionMs);
    std::printf("Scan results fill:  %.1f ms (median)\n", scanMs);
    std::printf("scrolling My collection: %.2f ms per page over %d pages\n", perPage, pages);
    return 0;
}
