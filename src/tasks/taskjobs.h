#pragma once

#include <QMutex>
#include <QString>

#include <memory>

class CTaskItem;
class FileItem;
class TaskProgress;

namespace Orvak_API {
class PhoneInfo;
class PhoneManagement;
class PhonesInfo;
class VideoConverter;
}

// The work of one task step, run on its task's thread. cancel() comes from
// the main thread while run() is busy and asks the component doing the work
// to stop. Each job builds its own phone or converter objects on the task's
// thread, so that jobs on different threads share none.
class CTaskJob
{
public:
    CTaskJob(FileItem *item, CTaskItem *task);
    virtual ~CTaskJob();
    CTaskJob(const CTaskJob &) = delete;
    CTaskJob &operator=(const CTaskJob &) = delete;

    virtual bool run() = 0;
    virtual bool cancel() = 0;

    // The display every job reports its progress to; null for none.
    static void setProgressDisplay(TaskProgress *display);
    static TaskProgress *progressDisplay();

protected:
    // Tells the task the job is over, so that a late cancel no longer reaches it.
    void detachFromTask();

    FileItem *m_item;
    CTaskItem *m_task;
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

// Deletes the item's phone video. A deletion is not interrupted by cancel.
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
