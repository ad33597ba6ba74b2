#pragma once

#include "catalogue.h"

#include <QEvent>
#include <QString>
#include <QThread>

// One video found by a scan, posted to the main window.
class QScanFileEvent final : public QEvent
{
public:
    static constexpr QEvent::Type Type = QEvent::Type(1001);

    QScanFileEvent(const QString &path, int playbackLength)
        : QEvent(Type), path(path), playbackLength(playbackLength)
    {
    }

    QString path;
    int playbackLength; // seconds, 0 when it could not be measured
};

// The end of a scan that was not stopped (type 1000). succeeded is false
// when the scan could not read its folder (then nothing was walked and the
// stored results were left alone) or could not save what it found; the
// reason has then been reported through the error signal as well.
class QScanFinishedEvent final : public QEvent
{
public:
    static constexpr QEvent::Type Type = QEvent::Type(1000);

    QScanFinishedEvent(bool succeeded, const QString &errorText)
        : QEvent(Type), succeeded(succeeded), errorText(errorText)
    {
    }

    bool succeeded;
    QString errorText; // for the user; empty on success
};

// A scan: the My collection folder first (indexed silently into its cache),
// then the chosen folder, whose videos are announced one by one. The
// measured lengths are kept in memory and written to the My collection cache
// about once a second and at the end, also when the scan is stopped. A scan
// that runs to its end saves its results and posts a QScanFinishedEvent to
// the parent; a stopped one saves no results and posts nothing. Failures are
// reported through API_Base's error receiver (the main window's error slot)
// as well as in the event. Whoever starts a scan clears the catalogue's
// scan-abort flag first.
class CScanThread final : public QThread
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CScanThread)

public:
    static constexpr QEvent::Type ScanFinished = QScanFinishedEvent::Type;

    CScanThread(QObject *parent, const QString &folder);

    // The video files a scan looks for.
    static QString nameFilters();

    // Read these once the thread has finished.
    // Whether the scan ran to its end (was not stopped).
    bool completed() const { return m_completed; }
    // Whether it also read its folders and saved everything.
    bool succeeded() const { return m_completed && m_errorText.isEmpty(); }
    // Why it did not succeed, for the user.
    QString errorText() const { return m_errorText; }
    // Whether the scan changed the My collection cache file.
    bool cacheWritten() const { return m_cacheWritten; }

public Q_SLOTS:
    // Asks the scan to stop; it unwinds at its next file or folder.
    void softTerminate();

protected:
    void run() override;

private:
    QString m_folder;
    bool m_completed = false;
    bool m_cacheWritten = false;
    QString m_errorText;
};

// Rebuilds My collection on its own thread. What it reads of the catalogue
// (the current phone, the scan results' lengths) is taken when it is made, on
// the main thread, and it builds into lists of its own; when it is done, the
// main thread makes the result My collection and, at once, sends the event of
// type Rebuilt to the parent. So the main thread may use, clear or rebuild My
// collection while the builder runs. The parent's handler must not destroy
// the thread object itself (deleteLater is fine).
class MyCollectionThread final : public QThread
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MyCollectionThread)

public:
    static constexpr QEvent::Type Rebuilt = QEvent::Type(1002);

    explicit MyCollectionThread(QObject *parent);
    ~MyCollectionThread() override;

protected:
    void run() override;
    bool event(QEvent *event) override;

private:
    const Catalogue::MyCollectionSource m_source;
    FileItemList m_items;       // written by the thread, then taken on the main thread
    QList<QImage> m_pictures;
};
