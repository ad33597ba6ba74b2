#pragma once

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

// Rebuilds My collection on its own thread and posts an event of type
// Rebuilt to its parent when done. Takes the scan results' lengths when it is
// made, so that it never reads the list the main thread is changing.
class MyCollectionThread final : public QThread
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MyCollectionThread)

public:
    static constexpr QEvent::Type Rebuilt = QEvent::Type(1002);

    explicit MyCollectionThread(QObject *parent);

protected:
    void run() override;

private:
    QList<QPair<QString, int>> m_scanLengths;
};
