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
    // skipped. Main thread: each task takes the catalogue's context here.
    int addTasks(const QList<FileItem *> &items, const QList<FileItem *> &current, int kind);
    void notify(CTaskItem *task);
    // A task's step of runState has ended, cancelled or not; its thread
    // calls this last, so that the step's class (conversion, copy) counts as
    // busy until its work has really stopped.
    void stepEnded(int runState);
    // Cancels the tasks and drops them from the list; they stay alive (and
    // their rows valid) until the manager goes.
    bool cancelTasks(const QList<CTaskItem *> &list);
    // Cancels and destroys every task, waiting for their threads. Row
    // updates they queued and that are not yet delivered are dropped.
    bool cancelAll();
    bool allFinished() const;
    // Moves the pending tasks of the dropped items (found by the items'
    // identity) to toIndex, never in front of a running or finished task.
    bool moveTasks(const QList<FileItem *> &items, int toIndex);

    QList<CTaskItem *> tasks() const;

protected:
    void run() override;

private:
    // The count of running steps of runState's class (conversion, copy);
    // null for a class that runs any number at once. Under m_lock.
    int *runningOfClass(int runState);

    // Standard primitives, so that thread checkers see every wait's unlock.
    mutable std::mutex m_lock;
    std::condition_variable m_wake;
    QList<CTaskItem *> m_tasks;
    int m_wakeQueue = 0; // notifications not yet consumed
    bool m_stopping = false;
    // Steps started and not yet ended, cancelled ones included.
    int m_conversionsRunning = 0;
    int m_copiesRunning = 0;
    // The task the scheduler is starting with the lock released; it must
    // not be destroyed meanwhile.
    CTaskItem *m_starting = nullptr;
    std::condition_variable m_started;
    QObject *m_stateContext = nullptr;
    std::function<void()> m_stateHandler;
    QObject *m_viewContext = nullptr;
    std::function<void(FileItem *, bool)> m_viewHandler;
};
