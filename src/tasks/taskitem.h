#pragma once

#include "fileitem.h"
#include "taskcontext.h"

#include <QThread>

#include <atomic>
#include <memory>
#include <mutex>

class CTaskJob;
class CTaskManager;

// One request on one video: a thread that runs one job at a time and reports
// its progress and outcome. The task keeps two copies of the queued item: the
// one views are given (item(), changed only on the main thread) and the one
// its jobs work on (on the task's thread; a conversion points it at the new
// file, and item() follows through a queued call). Signals are emitted on the
// task's thread; receivers on the main thread get them queued. The task is
// made, cancelled and destroyed on the main thread.
class CTaskItem final : public QThread, public FileItemTask
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CTaskItem)

public:
    // Takes the catalogue's context for its jobs (main thread).
    CTaskItem(CTaskManager *manager, int kind, const FileItem &item);
    ~CTaskItem() override;

    int state() const { return m_state.load(); }
    int kind() const { return m_kind; }
    FileItem *item() { return &m_item; }
    CTaskManager *manager() const { return m_manager; }
    const TaskContext &context() const { return m_context; }

    int taskState() const override { return state(); }
    int taskKind() const override { return m_kind; }
    QString taskStateText() const override;

    // Waits for any earlier run to end, then runs the step of runState.
    // False, starting nothing, once the task has been cancelled.
    bool start(int runState);
    // Abandons the task whatever it is doing: nothing of the step that runs
    // (end state, row update, a file written or deleted) happens any more,
    // the job is told to stop, no later step starts, and the task is marked
    // cancelled. Holds also before the task has started.
    void cancel();
    // The job a cancel reaches; jobs clear it when their work is over.
    void setJob(CTaskJob *job);
    void announceQueued();
    // Marks a task whose end the user has seen, so the scheduler drops it.
    void setState(int state) { m_state = state; }

Q_SIGNALS:
    void taskStateUpdatedSlot();
    void taskViewUpdatedSlot(FileItem *item, bool final);

protected:
    void run() override;

private:
    bool runStep(int runState);
    bool runJob(std::unique_ptr<CTaskJob> job);
    bool deletePcCopy();
    void reportChange(bool final);
    void showConvertedFile();

    CTaskManager *m_manager;
    std::atomic<int> m_state;
    const int m_kind;
    const TaskContext m_context;
    FileItem m_item; // what views see; main thread
    FileItem m_work; // what jobs work on; the task's thread
    std::mutex m_jobLock;
    CTaskJob *m_job = nullptr;   // what a cancel reaches; under m_jobLock
    bool m_abandoned = false;    // under m_jobLock
    int m_runState = 0;          // under m_jobLock until the thread starts
};
