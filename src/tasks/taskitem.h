#pragma once

#include "fileitem.h"

#include <QMutex>
#include <QThread>

#include <atomic>
#include <memory>

class CTaskJob;
class CTaskManager;

// One request on one video: a thread that runs one job at a time and reports
// its progress and outcome. The task works on its own copy of the item.
// Signals are emitted on the task's thread; receivers on the main thread get
// them queued. cancel() comes from the main thread.
class CTaskItem final : public QThread, public FileItemTask
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CTaskItem)

public:
    CTaskItem(CTaskManager *manager, int kind, const FileItem &item);
    ~CTaskItem() override;

    int state() const { return m_state.load(); }
    int kind() const { return m_kind; }
    FileItem *item() { return &m_item; }
    CTaskManager *manager() const { return m_manager; }

    int taskState() const override { return state(); }
    int taskKind() const override { return m_kind; }
    QString taskStateText() const override;

    // Waits for any earlier run to end, then runs the step of runState.
    void start(int runState);
    // Abandons the running step: nothing of it (end state, row update,
    // notification) happens any more; the job is told to stop; the task is
    // marked cancelled.
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

    CTaskManager *m_manager;
    std::atomic<int> m_state;
    const int m_kind;
    FileItem m_item;
    QMutex m_jobLock;
    CTaskJob *m_job = nullptr;   // what a cancel reaches; under m_jobLock
    bool m_abandoned = false;    // under m_jobLock
    int m_runState = 0;
};
