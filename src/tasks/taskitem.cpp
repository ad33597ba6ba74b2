#include "taskitem.h"

#include "catalogue.h"
#include "taskjobs.h"
#include "taskmanager.h"
#include "taskstates.h"

#include <cstdio>

using namespace TaskState;

CTaskItem::CTaskItem(CTaskManager *manager, int kind, const FileItem &item)
    : QThread(manager), m_manager(manager), m_state(firstPendingState(kind)), m_kind(kind),
      m_context(TaskContext::capture(Catalogue::instance())), m_item(item), m_work(item)
{
    m_item.task = this;
    m_work.task = this;
}

CTaskItem::~CTaskItem()
{
    {
        std::lock_guard lock(m_jobLock);
        m_abandoned = true;
        if (m_job)
            m_job->cancel();
    }
    wait();
    // The run's last step took this lock; taking it here orders everything
    // the run did before the task goes (and lets thread checkers see it,
    // which QThread::wait() alone does not).
    std::lock_guard lock(m_jobLock);
}

QString CTaskItem::taskStateText() const
{
    return TaskState::text(state());
}

bool CTaskItem::start(int runState)
{
    wait();
    // The running state is written under the lock a cancel takes, so that a
    // cancel is never overwritten by a start that was already on its way.
    std::lock_guard lock(m_jobLock);
    if (m_abandoned)
        return false;
    m_runState = runState;
    m_state = runState;
    QThread::start();
    return true;
}

void CTaskItem::setJob(CTaskJob *job)
{
    std::lock_guard lock(m_jobLock);
    m_job = job;
}

void CTaskItem::announceQueued()
{
    Q_EMIT taskViewUpdatedSlot(&m_item, false);
    m_manager->notify(this);
    Q_EMIT taskStateUpdatedSlot();
}

void CTaskItem::cancel()
{
    {
        std::lock_guard lock(m_jobLock);
        if (m_abandoned)
            return;
        m_abandoned = true;
        if (m_job)
            m_job->cancel();
        m_state = Cancelled;
    }
    m_manager->notify(this);
    Q_EMIT taskStateUpdatedSlot();
}

void CTaskItem::reportChange(bool final)
{
    Q_EMIT taskViewUpdatedSlot(&m_item, final);
    m_manager->notify(this);
    Q_EMIT taskStateUpdatedSlot();
}

void CTaskItem::run()
{
    int runState = 0;
    bool abandoned = false;
    {
        std::lock_guard lock(m_jobLock);
        runState = m_runState;
        abandoned = m_abandoned;
    }
    if (!abandoned) {
        reportChange(false);
        const bool ok = runStep(runState);

        int endState = 0;
        switch (runState) {
        case Converting:
            endState = ok ? (m_kind != ConvertKind ? PendingCopyToPhone : ConversionDone) : ConversionFailed;
            break;
        case CopyingToPhone:
            endState = ok ? CopyToPhoneDone : CopyFailed;
            break;
        case CopyingToPc:
            endState = ok ? CopyToPcDone : CopyFailed;
            break;
        default:
            endState = ok ? DeletionDone : DeletionFailed;
            break;
        }
        {
            // A cancel that came first owns the outcome.
            std::lock_guard lock(m_jobLock);
            abandoned = m_abandoned;
            if (!abandoned)
                m_state = endState;
        }
        if (!abandoned) {
            if (runState == Converting && ok)
                showConvertedFile();
            reportChange(endState != PendingCopyToPhone);
        }
    }
    // Also after a cancel: the scheduler counts the step as running until
    // its work has really stopped, so the next conversion never runs beside it.
    m_manager->stepEnded(runState);
    std::lock_guard lock(m_jobLock);
}

// The views' copy of the item follows the job's on the main thread, which is
// the only thread that reads it unguarded. Queued before the row update, so
// that the row already shows the converted file.
void CTaskItem::showConvertedFile()
{
    const QString path = m_work.pc.path;
    const QString target = m_work.pc.targetPath;
    QMetaObject::invokeMethod(
        this,
        [this, path, target] {
            m_item.pc.path = path;
            m_item.pc.targetPath = target;
        },
        Qt::QueuedConnection);
}

bool CTaskItem::runStep(int runState)
{
    switch (runState) {
    case Converting:
        return runJob(std::make_unique<CVideoConversionJob>(&m_work, this));
    case CopyingToPhone:
        return runJob(std::make_unique<CCopyJob>(&m_work, this));
    case CopyingToPc:
        return runJob(std::make_unique<CCopy2PCJob>(&m_work, this));
    case DeletingOnPhone:
        return runJob(std::make_unique<CDeleteFileFromPhoneJob>(&m_work, this));
    case DeletingOnPc:
        return deletePcCopy();
    default:
        return false;
    }
}

bool CTaskItem::runJob(std::unique_ptr<CTaskJob> job)
{
    {
        std::lock_guard lock(m_jobLock);
        if (m_abandoned)
            return false;
        m_job = job.get();
    }
    const bool ok = job->run();
    // No cancel is inside the job once this returns, so it may go. It is
    // destroyed here, on the thread that built its objects.
    setJob(nullptr);
    return ok;
}

bool CTaskItem::deletePcCopy()
{
    const QString path = m_work.pc.path;
    const QByteArray local = path.toLocal8Bit();
    // A name the local encoding cannot hold would name another file.
    if (path.isEmpty() || QString::fromLocal8Bit(local) != path)
        return false;
    // Under the lock a cancel takes: a cancel either comes first and the
    // file stays, or after the file is gone.
    std::lock_guard lock(m_jobLock);
    if (m_abandoned)
        return false;
    return std::remove(local.constData()) == 0;
}
