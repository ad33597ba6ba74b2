#pragma once

// What the task tests share: their files and phone, and a display of task
// progress that can hold a job at the moment it reports, and counts what it
// sees.

#include "catalogue.h"
#include "folderphones.h"
#include "mediaclips.h"
#include "phonemanagement.h"
#include "phonesinfo.h"
#include "settingsstore.h"
#include "taskprogress.h"

#include <QEvent>
#include <QObject>
#include <QSemaphore>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>

namespace TestSupport {

// A test's folder: the clips it converts, the My collection folder, and
// copies and big files to queue.
class TaskFiles
{
public:
    QString clip;     // 2 s, 320x240, PCM sound in an AVI
    QString longClip; // 40 s, 1280x720: converts for a few seconds

    QString collection() const { return m_dir.filePath(QStringLiteral("collection")); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Makes the clips and points the program at the built libraries and at
    // the My collection folder.
    void setUp()
    {
        useBuiltLibrary();
        qputenv("TAMSEL_CONVERTER_LIBRARY", qgetenv("TAMSEL_BIN_DIR") + "/libtamselconverter.so");
        QDir().mkpath(collection());
        Settings::setMyCollectionFolder(collection());
        clip = filePath(QStringLiteral("source.avi"));
        MediaClips::ClipSpec spec;
        spec.audioCodec = QStringLiteral("pcm_s16le");
        QVERIFY(MediaClips::make(clip, spec));
        longClip = filePath(QStringLiteral("long.mp4"));
        MediaClips::ClipSpec longSpec;
        longSpec.width = 1280;
        longSpec.height = 720;
        longSpec.seconds = 40;
        QVERIFY(MediaClips::make(longClip, longSpec));
    }

    void emptyCollection()
    {
        QDir(collection()).removeRecursively();
        QDir().mkpath(collection());
    }

    QString copyOf(const QString &source, const QString &name) const
    {
        const QString path = filePath(name);
        QFile::remove(path);
        return QFile::copy(source, path) ? path : QString();
    }

    // Written out, so that copying it takes as long as its size says.
    QString bigFile(const QString &name, qint64 bytes) const
    {
        const QString path = filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return {};
        const QByteArray block(1 << 20, 'x');
        for (qint64 written = 0; written < bytes; written += block.size())
            f.write(block);
        return path;
    }

    // A scan result for path (which may be something other than a plain file).
    static FileItem *scanned(const QString &path)
    {
        FileItem *item = Catalogue::instance().appendScanResult();
        item->pc.setFromFile(path);
        item->pc.path = path;
        item->pc.name = QFileInfo(path).completeBaseName();
        return item;
    }

private:
    QTemporaryDir m_dir;
};

// A folder phone "p" with a phone memory and a 4 GB card, made the current
// phone; a new phone keeps its videos on the card.
inline void attachCurrentPhone(std::unique_ptr<FolderPhones> &phones, const QString &serial)
{
    phones = std::make_unique<FolderPhones>();
    phones->addPhone(QStringLiteral("p"), serial, QStringLiteral("Pocket"), QStringLiteral("16"),
                     {{QStringLiteral("Phone memory"), 256LL << 20}, {QStringLiteral("Memory card"), 4LL << 30}});
    Orvak_API::PhoneManagement management;
    Orvak_API::PhonesInfo list;
    QTRY_VERIFY_WITH_TIMEOUT(management.getPhones(list) && list.size() == 1, 10000);
    if (!list.isEmpty())
        Catalogue::instance().setCurrentPhone(list.first());
}

// Counts the converter's progress events.
class EventCounter final : public QObject
{
public:
    bool event(QEvent *e) override
    {
        if (e->type() >= QEvent::User && e->type() <= QEvent::MaxUser) {
            ++count;
            return true;
        }
        return QObject::event(e);
    }
    std::atomic<int> count{0};
};

// The jobs' progress display. holdConversion / holdCopy make the next
// conversion or copy wait where it reports its start (the converter exists,
// the source is not open yet; the phone is found, the copy not begun) until
// the test releases it: the test then knows where the job is.
class GatedProgress final : public TaskProgress
{
public:
    void copyStarted(const QString &) override { gate(holdCopy); }
    void copyProgress(int percent) override { lastCopyPercent = percent; }
    void copyFinished() override {}
    void conversionStarted(const QString &) override
    {
        const int now = ++activeConversions;
        for (int seen = maxConversions.load(); now > seen && !maxConversions.compare_exchange_weak(seen, now);) {
        }
        gate(holdConversion);
    }
    void conversionFinished() override { --activeConversions; }
    QObject *conversionProgressTarget() override { return &events; }

    void reset()
    {
        holdConversion = holdCopy = false;
        activeConversions = maxConversions = 0;
        lastCopyPercent = -1;
        events.count = 0;
    }

    std::atomic<bool> holdConversion{false};
    std::atomic<bool> holdCopy{false};
    // Released when a held job has arrived; the test releases `resume`.
    QSemaphore arrived;
    QSemaphore resume;
    // Conversions between their start and end reports, and the most at once.
    std::atomic<int> activeConversions{0};
    std::atomic<int> maxConversions{0};
    std::atomic<int> lastCopyPercent{-1};
    EventCounter events;

private:
    void gate(std::atomic<bool> &hold)
    {
        if (!hold.exchange(false))
            return;
        arrived.release();
        resume.acquire();
    }
};

} // namespace TestSupport
