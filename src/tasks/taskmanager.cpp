#include "taskmanager.h"

#include "taskitem.h"
#include "taskstates.h"

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
    // Tasks end here, while the lists they notify still exist.
    const QList<CTaskItem *> all = findChildren<CTaskItem *>(Qt::FindDirectChildrenOnly);
    qDeleteAll(all);
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
        if (m_viewContext && m_viewHandler)
            connect(task, &CTaskItem::taskViewUpdatedSlot, m_viewContext, m_viewHandler);
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
    for (CTaskItem *task : all) {
        task->cancel();
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
        QStringList paths;
        for (const FileItem *item : items)
            paths << item->pc.path;
        const QList<CTaskItem *> snapshot = m_tasks;
        for (CTaskItem *task : snapshot) {
            if (!isPending(task->state()) || !paths.contains(task->item()->pc.path))
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

        bool conversionBusy = false;
        bool copyBusy = false;
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
            // The task notifies us as it starts; never hold the lock then.
            lock.unlock();
            toStart->start(runState);
            lock.lock();
        }
    }
}
