#pragma once

#include <QMutex>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class CTaskItem;
class FileItem;
class TaskProgress;
struct TaskContext;

namespace Orvak_API {
class PhoneInfo;
class PhoneManagement;
class PhonesInfo;
class VideoConverter;
}

// The work of one task step, run on its task's thread. cancel() comes from
// the main thread at any moment of run() and holds whenever it comes: it
// sets the job's own cancel flag, which run() checks before each step and
// hands to the phone or converter as soon as it exists, and it stops the
// component at work. After a cancel the job writes no file. Each job builds
// its own phone or converter objects on the task's thread, so that jobs on
// different threads share none, and reads the catalogue only through its
// task's context.
class CTaskJob
{
public:
    CTaskJob(FileItem *item, CTaskItem *task);
    virtual ~CTaskJob();
    CTaskJob(const CTaskJob &) = delete;
    CTaskJob &operator=(const CTaskJob &) = delete;

    virtual bool run() = 0;
    // True: the cancel holds (it is never lost, even before run() began).
    virtual bool cancel() = 0;

    // The display every job reports its progress to; null for none.
    static void setProgressDisplay(TaskProgress *display);
    static TaskProgress *progressDisplay();

protected:
    // Tells the task the job is over, so that a late cancel no longer reaches it.
    void detachFromTask();
    bool cancelRequested() const { return m_cancelRequested.load(); }
    const TaskContext &context() const;

    FileItem *m_item;
    CTaskItem *m_task;
    // Set by cancel(), under the lock that also guards the component it reaches.
    std::atomic<bool> m_cancelRequested{false};
};

// The jobs that work on the current phone.
class CPhoneJob : public CTaskJob
{
public:
    CPhoneJob(FileItem *item, CTaskItem *task);
    ~CPhoneJob() override;
    bool cancel() override;

protected:
    // The current phone among the attached ones, or null.
    Orvak_API::PhoneInfo *findPhone();
    // Keeps the phone for cancel().
    void keepPhone(Orvak_API::PhoneInfo *phone);
    // Runs a copy with progress going to the display.
    bool copyWithProgress(Orvak_API::PhoneInfo *phone, const QString &fileName,
                          const std::function<bool()> &copy);
    // Runs work that a cancel must not cut in half, unless a cancel came
    // first; a cancel meanwhile waits for it.
    bool runUnlessCancelled(const std::function<bool()> &work);

    std::unique_ptr<Orvak_API::PhoneManagement> m_management;
    std::unique_ptr<Orvak_API::PhonesInfo> m_phones;

private:
    QMutex m_phoneLock;
    Orvak_API::PhoneInfo *m_phone = nullptr;
};

// PC to phone: the item's PC file into the phone's video folder.
class CCopyJob final : public CPhoneJob
{
public:
    using CPhoneJob::CPhoneJob;
    bool run() override;
};

// Phone to PC: the item's phone video into the My collection folder.
class CCopy2PCJob final : public CPhoneJob
{
public:
    using CPhoneJob::CPhoneJob;
    bool run() override;
};

// Deletes the item's phone video. A deletion under way is not interrupted: a
// cancel then waits for it; one that comes before it keeps the file.
class CDeleteFileFromPhoneJob final : public CPhoneJob
{
public:
    using CPhoneJob::CPhoneJob;
    bool run() override;
};

// Converts the item's PC file into a new MP4 in the My collection folder and
// points the item's PC copy at it, so that a following copy sends it.
class CVideoConversionJob final : public CTaskJob
{
public:
    using CTaskJob::CTaskJob;
    ~CVideoConversionJob() override;
    bool run() override;
    bool cancel() override;

private:
    QMutex m_converterLock;
    Orvak_API::VideoConverter *m_converter = nullptr;
};
