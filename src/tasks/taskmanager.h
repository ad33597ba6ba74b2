#pragma once

#include <QList>
#include <QThread>

#include <condition_variable>
#include <functional>
#include <mutex>

class CTaskItem;
class FileItem;

// The queue of tasks and its scheduler. The scheduler runs on the manager's
// own thread and starts at most one task per pass: one conversion and one
// copy (either direction) at a time, deletions at once, earlier tasks first.
// The main thread adds, cancels and reorders tasks; one lock guards the task
// list and the wake-up queue.
class CTaskManager final : public QThread
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CTaskManager)

public:
    // Starts the scheduler thread at once.
    explicit CTaskManager(QObject *parent = nullptr);
    ~CTaskManager() override;

    // Who hears of task changes: the main window (state) and the Tasks view
    // (rows). Each runs in its context object's thread.
    void setStateReceiver(QObject *context, std::function<void()> handler);
    void setViewReceiver(QObject *context, std::function<void(FileItem *, bool)> handler);

    // Queues a task of kind for each item; an item that already has a
    // pending or running task in current is skipped. Returns how many were
    // skipped.
    int addTasks(const QList<FileItem *> &items, const QList<FileItem *> &current, int kind);
    void notify(CTaskItem *task);
    bool cancelTasks(const QList<CTaskItem *> &list);
    bool cancelAll();
    bool allFinished() const;
    // Moves the pending tasks of the dropped items to toIndex, never in
    // front of a running or finished task.
    bool moveTasks(const QList<FileItem *> &items, int toIndex);

    QList<CTaskItem *> tasks() const;

protected:
    void run() override;

private:
    // Standard primitives, so that thread checkers see every wait's unlock.
    mutable std::mutex m_lock;
    std::condition_variable m_wake;
    QList<CTaskItem *> m_tasks;
    int m_wakeQueue = 0; // notifications not yet consumed
    bool m_stopping = false;
    QObject *m_stateContext = nullptr;
    std::function<void()> m_stateHandler;
    QObject *m_viewContext = nullptr;
    std::function<void(FileItem *, bool)> m_viewHandler;
};
