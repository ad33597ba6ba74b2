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

// A scan: the My collection folder first (indexed silently into its cache),
// then the chosen folder, whose videos are announced one by one. A finished
// scan saves its results and posts an event of type ScanFinished to the
// parent; a stopped one saves nothing and posts nothing. Whoever starts a
// scan clears the catalogue's scan-abort flag first.
class CScanThread final : public QThread
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CScanThread)

public:
    static constexpr QEvent::Type ScanFinished = QEvent::Type(1000);

    CScanThread(QObject *parent, const QString &folder);

    // The video files a scan looks for.
    static QString nameFilters();

public Q_SLOTS:
    // Asks the scan to stop; it unwinds at its next file or folder.
    void softTerminate();

protected:
    void run() override;

private:
    QString m_folder;
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
