#include "taskitem.h"

#include "taskjobs.h"
#include "taskmanager.h"
#include "taskstates.h"

#include <QFile>

#include <cstdio>

using namespace TaskState;

CTaskItem::CTaskItem(CTaskManager *manager, int kind, const FileItem &item)
    : QThread(manager), m_manager(manager), m_state(firstPendingState(kind)), m_kind(kind), m_item(item)
{
    m_item.task = this;
}

CTaskItem::~CTaskItem()
{
    {
        QMutexLocker lock(&m_jobLock);
        m_abandoned = true;
        if (m_job)
            m_job->cancel();
    }
    wait();
}

QString CTaskItem::taskStateText() const
{
    return TaskState::text(state());
}

void CTaskItem::start(int runState)
{
    wait();
    {
        QMutexLocker lock(&m_jobLock);
        if (m_abandoned)
            return;
    }
    m_runState = runState;
    m_state = runState;
    QThread::start();
}

void CTaskItem::setJob(CTaskJob *job)
{
    QMutexLocker lock(&m_jobLock);
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
        QMutexLocker lock(&m_jobLock);
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
    reportChange(false);
    const int runState = m_runState;
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
    case DeletingOnPhone:
    case DeletingOnPc:
        endState = ok ? DeletionDone : DeletionFailed;
        break;
    default:
        return;
    }
    {
        // A cancel that came first owns the outcome.
        QMutexLocker lock(&m_jobLock);
        if (m_abandoned)
            return;
        m_state = endState;
    }
    reportChange(endState != PendingCopyToPhone);
}

bool CTaskItem::runStep(int runState)
{
    switch (runState) {
    case Converting:
        return runJob(std::make_unique<CVideoConversionJob>(&m_item, this));
    case CopyingToPhone:
        return runJob(std::make_unique<CCopyJob>(&m_item, this));
    case CopyingToPc:
        return runJob(std::make_unique<CCopy2PCJob>(&m_item, this));
    case DeletingOnPhone:
        return runJob(std::make_unique<CDeleteFileFromPhoneJob>(&m_item, this));
    case DeletingOnPc:
        return deletePcCopy();
    default:
        return false;
    }
}

bool CTaskItem::runJob(std::unique_ptr<CTaskJob> job)
{
    {
        QMutexLocker lock(&m_jobLock);
        if (m_abandoned)
            return false;
        m_job = job.get();
    }
    const bool ok = job->run();
    // The job is destroyed here, on the thread that built its objects.
    setJob(nullptr);
    return ok;
}

bool CTaskItem::deletePcCopy()
{
    const QString path = m_item.pc.path;
    const QByteArray local = path.toLocal8Bit();
    // A name the local encoding cannot hold would name another file.
    if (path.isEmpty() || QString::fromLocal8Bit(local) != path)
        return false;
    return std::remove(local.constData()) == 0;
}
