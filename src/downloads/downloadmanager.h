#pragma once

#include <QList>
#include <QMutex>
#include <QObject>
#include <QUuid>

#include <functional>

class CDownloadItem;
class CopyQuestion;
class FileItem;

// The queue of downloads, at most three at a time, in the user's order.
// Main thread only: the requests run asynchronously in its event loop. The
// downloads are children of the manager; destroying the manager ends every
// unfinished download and removes its partial file.
class CDownloadManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CDownloadManager)

public:
    static constexpr int MaxRunning = 3;

    explicit CDownloadManager(QObject *parent = nullptr);
    ~CDownloadManager() override;

    // Who hears of download changes: the main window (state, errors) and the
    // Downloads view (rows). Set them before the first link arrives.
    void setStateReceiver(QObject *context, std::function<void()> handler);
    void setViewReceiver(QObject *context, std::function<void(FileItem *, bool)> handler);
    void setErrorReceiver(QObject *context, std::function<void(QString, QString, QString)> handler);
    // Who answers the copy question; none means no copy to the phone.
    void setCopyQuestion(CopyQuestion *question) { m_question = question; }

    // Starts a download of link (it is queued when three run): its item
    // joins the catalogue's downloads and its row is announced, the copy
    // question is asked, and the queue moves on. Always true.
    bool addLink(const QString &link);
    // The same, returning the new download.
    CDownloadItem *add(const QString &link);

    // Starts queued downloads while fewer than three run, and drops finished
    // ones from the queue. Downloads call it when they end.
    void schedule();
    void cancelAll();
    void cancel(const QList<FileItem *> &items);
    void cancel(const QList<QUuid> &ids);
    // The queued downloads take the order of their items in the given list
    // (queued ones not in it keep their order after them).
    void reorder(const QList<FileItem *> &itemsInViewOrder);
    // Every download in the queue is done or failed.
    bool allFinished() const;

    QList<CDownloadItem *> downloads() const;
    int running() const;

private:
    mutable QMutex m_lock;
    QList<CDownloadItem *> m_downloads; // under m_lock
    CopyQuestion *m_question = nullptr;
    QObject *m_stateContext = nullptr;
    std::function<void()> m_stateHandler;
    QObject *m_viewContext = nullptr;
    std::function<void(FileItem *, bool)> m_viewHandler;
    QObject *m_errorContext = nullptr;
    std::function<void(QString, QString, QString)> m_errorHandler;
};
