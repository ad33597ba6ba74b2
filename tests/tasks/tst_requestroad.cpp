#include "catalogue.h"
#include "folderphones.h"
#include "mediaclips.h"
#include "phonemanagement.h"
#include "phonesinfo.h"
#include "scanthread.h"
#include "settingsstore.h"
#include "taskitem.h"
#include "taskjobs.h"
#include "taskmanager.h"
#include "taskprogressbaradapter.h"
#include "taskstates.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Stands in for the main window: lists what the scan announces, as the
// window does, in the catalogue's scan results.
class Window final : public QObject
{
public:
    bool event(QEvent *e) override
    {
        if (e->type() == QScanFileEvent::Type) {
            const auto *found = static_cast<QScanFileEvent *>(e);
            FileItem *item = Catalogue::instance().appendScanResult();
            item->pc.setFromFile(found->path);
            item->pc.playbackLength = found->playbackLength;
            return true;
        }
        if (e->type() == CScanThread::ScanFinished) {
            scanFinished = true;
            return true;
        }
        return QObject::event(e);
    }
    bool scanFinished = false;
};

// The highest conversion value the bar showed, read as each of the
// converter's progress events reaches it.
class ConversionWatcher final : public QObject
{
public:
    explicit ConversionWatcher(CTaskProgressBar *bar) : m_bar(bar)
    {
        bar->conversionProgressTarget()->installEventFilter(this);
    }
    bool eventFilter(QObject *target, QEvent *event) override
    {
        if (event->type() == QEvent::Type(2026)) {
            // Let the bar take the event first, then read what it shows.
            target->event(event);
            if (m_bar->isConversionActive())
                value = qMax(value, m_bar->channelValue(CTaskProgressBar::Conversion));
            return true;
        }
        return false;
    }
    int value = 0;

private:
    CTaskProgressBar *m_bar;
};

} // namespace

// One request from scan to phone, without the window: a scanned video queued
// to be converted and copied reaches My collection and the phone, with its
// progress in the task progress bar and its states in order.
class TestRequestRoad : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scannedVideoToThePhone()
    {
        TestSupport::useBuiltLibrary();
        qputenv("TAMSEL_CONVERTER_LIBRARY", qgetenv("TAMSEL_BIN_DIR") + "/libtamselconverter.so");
        QTemporaryDir dir;
        const QString collection = dir.filePath(QStringLiteral("My collection"));
        QDir().mkpath(collection);
        Settings::setMyCollectionFolder(collection);
        QDir().mkpath(dir.filePath(QStringLiteral("films")));
        MediaClips::ClipSpec spec;
        spec.width = 640;
        spec.height = 360;
        spec.seconds = 6;
        QVERIFY(MediaClips::make(dir.filePath(QStringLiteral("films/holiday.mov")), spec));

        TestSupport::FolderPhones phones;
        phones.addPhone(QStringLiteral("p"), QStringLiteral("356000000000123"), QStringLiteral("Pocket"),
                        QStringLiteral("16"),
                        {{QStringLiteral("Phone memory"), 256LL << 20}, {QStringLiteral("Memory card"), 1LL << 30}},
                        QStringLiteral("[Video]\nMaxBitrate=256\nImgWallpaperSize=320,240\n"));
        {
            Orvak_API::PhoneManagement management;
            Orvak_API::PhonesInfo list;
            QTRY_VERIFY_WITH_TIMEOUT(management.getPhones(list) && list.size() == 1, 10000);
            Catalogue::instance().setCurrentPhone(list.first());
        }

        // 1. The scan announces the video and the window lists it.
        Window window;
        Catalogue::instance().setScanAbort(false);
        CScanThread scan(&window, dir.filePath(QStringLiteral("films")));
        scan.start();
        QTRY_VERIFY_WITH_TIMEOUT(window.scanFinished, 60000);
        QCOMPARE(Catalogue::instance().scanResults.size(), 1);
        FileItem *scanned = Catalogue::instance().scanResults.at(0);
        QCOMPARE(scanned->pc.playbackLength, 6);

        // 2. Queued to be converted and copied, with progress in the bar.
        CTaskProgressBar bar;
        TaskProgressBarAdapter adapter(&bar);
        CTaskJob::setProgressDisplay(&adapter);
        std::atomic<int> copySeen{0};
        std::atomic<int> copyMaximum{0};
        QObject::connect(&bar, &CTaskProgressBar::updateMe, &bar, [&] {
            if (bar.isCopyActive()) {
                copySeen = qMax(copySeen.load(), bar.channelValue(CTaskProgressBar::Copy));
                copyMaximum = bar.channelMaximum(CTaskProgressBar::Copy);
            }
        }, Qt::DirectConnection);
        ConversionWatcher conversionSeen(&bar);

        CTaskManager manager;
        QStringList texts;
        QObject view;
        manager.setViewReceiver(&view, [&](FileItem *row, bool) {
            if (texts.isEmpty() || texts.last() != row->taskStateText())
                texts << row->taskStateText();
        });
        QStringList statuses;
        manager.setStateReceiver(&window, [&] {
            for (CTaskItem *task : manager.tasks()) {
                const QString status = task->taskStateText();
                if (statuses.isEmpty() || statuses.last() != status)
                    statuses << status;
            }
        });
        QCOMPARE(manager.addTasks({scanned}, {}, TaskState::ConvertAndCopyKind), 0);
        // Every state as the task reaches it (the view, queued, may see only
        // the latest of several).
        CTaskItem *task = manager.tasks().first();
        QMutex stepsLock;
        QStringList steps{task->taskStateText()};
        QObject::connect(task, &CTaskItem::taskViewUpdatedSlot, task, [&](FileItem *row, bool) {
            QMutexLocker lock(&stepsLock);
            if (steps.last() != row->taskStateText())
                steps << row->taskStateText();
        }, Qt::DirectConnection);
        QTRY_VERIFY_WITH_TIMEOUT(manager.allFinished(), 120000);
        QTRY_COMPARE(texts.last(), QStringLiteral("Copying done"));
        QCOMPARE(texts.first(), QStringLiteral("Pending..."));
        QMutexLocker lock(&stepsLock);
        QCOMPARE(steps, (QStringList{QStringLiteral("Pending..."), QStringLiteral("Converting..."),
                                     QStringLiteral("Pending..."), QStringLiteral("Copying..."),
                                     QStringLiteral("Copying done")}));
        lock.unlock();

        // 3. The converted file is in My collection and on the phone's card,
        // within the phone's limits.
        const QString converted = collection + QStringLiteral("/holiday.mp4");
        QVERIFY(QFile::exists(converted));
        const QString onPhone = phones.memoryFolder(QStringLiteral("p"), 1) + QStringLiteral("/Videos/holiday.mp4");
        QVERIFY(QFile::exists(onPhone));
        QCOMPARE(QFileInfo(onPhone).size(), QFileInfo(converted).size());
        const QJsonObject video = MediaClips::stream(MediaClips::probe(converted), QStringLiteral("video"));
        QCOMPARE(video.value(QStringLiteral("width")).toInt(), 320);
        QCOMPARE(video.value(QStringLiteral("height")).toInt(), 240);
        QVERIFY2(conversionSeen.value > 0, "no conversion progress reached the bar");
        QCOMPARE(copySeen.load(), 100);
        QCOMPARE(copyMaximum.load(), 100);
        QVERIFY(!bar.isConversionActive());
        QVERIFY(!bar.isCopyActive());
        CTaskJob::setProgressDisplay(nullptr);
    }
};

QTEST_MAIN(TestRequestRoad)
#include "tst_requestroad.moc"
