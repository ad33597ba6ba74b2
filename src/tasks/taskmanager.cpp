#include "taskmanager.h"

#include "taskitem.h"
#include "taskstates.h"

#include <QPointer>
#include <QSet>

using namespace TaskState;

CTaskManager::CTaskManager(QObject *parent) : QThread(parent)
{
    QThread::start();
}

CTaskManager::~CTaskManager()
{
    {
        std::unique_lock lock(m_lock);
        m_stopping = true;
        m_wake.notify_all();
    }
    wait();
    // Each thread that used the lock has let go of it once we hold it; this
    // also shows thread checkers what QThread::wait() ordered.
    const auto settle = [this] { std::unique_lock lock(m_lock); };
    settle();
    // Tasks end here, while the lists they notify still exist.
    const QList<CTaskItem *> all = findChildren<CTaskItem *>(Qt::FindDirectChildrenOnly);
    qDeleteAll(all);
    settle();
}

void CTaskManager::setStateReceiver(QObject *context, std::function<void()> handler)
{
    m_stateContext = context;
    m_stateHandler = std::move(handler);
}

void CTaskManager::setViewReceiver(QObject *context, std::function<void(FileItem *, bool)> handler)
{
    m_viewContext = context;
    m_viewHandler = std::move(handler);
}

int CTaskManager::addTasks(const QList<FileItem *> &items, const QList<FileItem *> &current, int kind)
{
    int duplicates = 0;
    for (FileItem *item : items) {
        const bool busy = std::any_of(current.begin(), current.end(), [item](const FileItem *shown) {
            return shown->uuid == item->uuid && !isFinal(shown->taskState());
        });
        if (busy) {
            ++duplicates;
            continue;
        }
        auto *task = new CTaskItem(this, kind, *item);
        if (m_stateContext && m_stateHandler)
            connect(task, &CTaskItem::taskStateUpdatedSlot, m_stateContext, m_stateHandler);
        if (m_viewContext && m_viewHandler) {
            // The row's item is the task's own: an update still queued when
            // the task is destroyed must not reach the view.
            connect(task, &CTaskItem::taskViewUpdatedSlot, m_viewContext,
                    [task = QPointer<CTaskItem>(task), handler = m_viewHandler](FileItem *row, bool final) {
                        if (task)
                            handler(row, final);
                    });
        }
        task->announceQueued();
        std::unique_lock lock(m_lock);
        m_tasks.append(task);
        ++m_wakeQueue;
        m_wake.notify_all();
    }
    return duplicates;
}

void CTaskManager::notify(CTaskItem *)
{
    std::unique_lock lock(m_lock);
    ++m_wakeQueue;
    m_wake.notify_all();
}

int *CTaskManager::runningOfClass(int runState)
{
    if (runState == Converting)
        return &m_conversionsRunning;
    if (runState == CopyingToPhone || runState == CopyingToPc)
        return &m_copiesRunning;
    return nullptr;
}

void CTaskManager::stepEnded(int runState)
{
    std::unique_lock lock(m_lock);
    if (int *running = runningOfClass(runState))
        --*running;
    ++m_wakeQueue;
    m_wake.notify_all();
}

bool CTaskManager::cancelTasks(const QList<CTaskItem *> &list)
{
    for (CTaskItem *task : list) {
        task->cancel();
        std::unique_lock lock(m_lock);
        m_tasks.removeAll(task);
    }
    return true;
}

bool CTaskManager::cancelAll()
{
    QList<CTaskItem *> all;
    {
        std::unique_lock lock(m_lock);
        all = m_tasks;
        m_tasks.clear();
    }
    // Every cancel first, so that no task starts after another was waited for.
    for (CTaskItem *task : all)
        task->cancel();
    for (CTaskItem *task : all) {
        {
            std::unique_lock lock(m_lock);
            m_started.wait(lock, [&] { return m_starting != task; });
        }
        task->wait();
        delete task;
    }
    return true;
}

bool CTaskManager::allFinished() const
{
    std::unique_lock lock(m_lock);
    return std::all_of(m_tasks.begin(), m_tasks.end(), [](const CTaskItem *task) { return isFinal(task->state()); });
}

bool CTaskManager::moveTasks(const QList<FileItem *> &items, int toIndex)
{
    {
        std::unique_lock lock(m_lock);
        if (toIndex < 0 || toIndex >= m_tasks.size())
            return false;
        for (int i = 0; i < m_tasks.size(); ++i) {
            if (isPending(m_tasks.at(i)->state())) {
                toIndex = qMax(toIndex, i);
                break;
            }
        }
        // By identity: many items share a path (every phone-only item has
        // an empty PC path), but a task's item keeps its queued item's uuid.
        QSet<QUuid> ids;
        for (const FileItem *item : items)
            ids.insert(item->uuid);
        const QList<CTaskItem *> snapshot = m_tasks;
        for (CTaskItem *task : snapshot) {
            if (!isPending(task->state()) || !ids.contains(task->item()->uuid))
                continue;
            const int from = int(m_tasks.indexOf(task));
            m_tasks.move(from, qMin(toIndex, int(m_tasks.size()) - 1));
        }
        ++m_wakeQueue;
        m_wake.notify_all();
    }
    return true;
}

QList<CTaskItem *> CTaskManager::tasks() const
{
    std::unique_lock lock(m_lock);
    return m_tasks;
}

void CTaskManager::run()
{
    std::unique_lock lock(m_lock);
    for (;;) {
        while (m_wakeQueue == 0 && !m_stopping)
            m_wake.wait(lock);
        if (m_stopping)
            return;
        --m_wakeQueue;

        // A cancelled step may still be winding down off the list.
        bool conversionBusy = m_conversionsRunning > 0;
        bool copyBusy = m_copiesRunning > 0;
        CTaskItem *toStart = nullptr;
        int runState = 0;
        const QList<CTaskItem *> snapshot = m_tasks;
        for (CTaskItem *task : snapshot) {
            const int state = task->state();
            if (state == Converting) {
                conversionBusy = true;
            } else if (state == CopyingToPhone || state == CopyingToPc) {
                copyBusy = true;
            } else if (state == PendingConversion && !conversionBusy) {
                toStart = task;
                runState = Converting;
            } else if (state == PendingCopyToPhone && !copyBusy) {
                toStart = task;
                runState = CopyingToPhone;
            } else if (state == PendingCopyToPc && !copyBusy) {
                toStart = task;
                runState = CopyingToPc;
            } else if (state == PendingPhoneDeletion) {
                toStart = task;
                runState = DeletingOnPhone;
            } else if (state == PendingPcDeletion) {
                toStart = task;
                runState = DeletingOnPc;
            } else if (state == Cancelled) {
                m_tasks.removeAll(task);
                Q_EMIT task->taskViewUpdatedSlot(task->item(), true);
            }
            if (toStart)
                break;
        }
        if (toStart) {
            // Counted from here until the step's thread says it has ended.
            int *running = runningOfClass(runState);
            if (running)
                ++*running;
            m_starting = toStart;
            // The task notifies us as it starts; never hold the lock then.
            lock.unlock();
            const bool started = toStart->start(runState);
            lock.lock();
            if (!started && running)
                --*running;
            m_starting = nullptr;
            m_started.notify_all();
        }
    }
}
