#include "taskjobs.h"

#include "catalogue.h"
#include "confserver.h"
#include "phoneinfo.h"
#include "phonemanagement.h"
#include "phonesinfo.h"
#include "settingsstore.h"
#include "taskcontext.h"
#include "taskitem.h"
#include "taskprogress.h"
#include "videocapabilities.h"
#include "videoconverter.h"

#include <QAtomicPointer>
#include <QFileInfo>

namespace {

QAtomicPointer<TaskProgress> s_display;

// A phone path splits at its last backslash into folder and file name.
QPair<QString, QString> splitPhonePath(const QString &path)
{
    const int slash = path.lastIndexOf(QLatin1Char('\\'));
    return {path.left(qMax(0, slash)), path.mid(slash + 1)};
}

} // namespace

CTaskJob::CTaskJob(FileItem *item, CTaskItem *task) : m_item(item), m_task(task) {}

CTaskJob::~CTaskJob() = default;

void CTaskJob::setProgressDisplay(TaskProgress *display)
{
    s_display.storeRelease(display);
}

TaskProgress *CTaskJob::progressDisplay()
{
    return s_display.loadAcquire();
}

void CTaskJob::detachFromTask()
{
    if (m_task)
        m_task->setJob(nullptr);
}

const TaskContext &CTaskJob::context() const
{
    static const TaskContext none;
    return m_task ? m_task->context() : none;
}

CPhoneJob::CPhoneJob(FileItem *item, CTaskItem *task)
    : CTaskJob(item, task), m_management(std::make_unique<Orvak_API::PhoneManagement>()),
      m_phones(std::make_unique<Orvak_API::PhonesInfo>())
{
}

CPhoneJob::~CPhoneJob()
{
    // The phones go before the session that listed them.
    m_phones.reset();
    m_management.reset();
}

bool CPhoneJob::cancel()
{
    QMutexLocker lock(&m_phoneLock);
    m_cancelRequested = true;
    if (m_phone)
        m_phone->cancel();
    return true;
}

Orvak_API::PhoneInfo *CPhoneJob::findPhone()
{
    const QString serial = context().phoneSerial;
    if (serial.isEmpty() || cancelRequested() || !m_management->getPhones(*m_phones))
        return nullptr;
    return m_phones->findBySerial(serial);
}

void CPhoneJob::keepPhone(Orvak_API::PhoneInfo *phone)
{
    QMutexLocker lock(&m_phoneLock);
    m_phone = phone;
    // A cancel that came while the phone was being found holds for its copy.
    if (m_cancelRequested)
        m_phone->cancel();
}

bool CPhoneJob::runUnlessCancelled(const std::function<bool()> &work)
{
    QMutexLocker lock(&m_phoneLock);
    return !m_cancelRequested && work();
}

bool CPhoneJob::copyWithProgress(Orvak_API::PhoneInfo *phone, const QString &fileName,
                                 const std::function<bool()> &copy)
{
    TaskProgress *display = progressDisplay();
    QMetaObject::Connection progress;
    if (display) {
        display->copyStarted(fileName);
        progress = QObject::connect(phone, &Orvak_API::PhoneInfo::copyProgressChanged, phone,
                                    [display](int percent) { display->copyProgress(percent); }, Qt::DirectConnection);
    }
    const bool ok = copy();
    detachFromTask();
    if (display) {
        QObject::disconnect(progress);
        display->copyFinished();
    }
    return ok;
}

bool CCopyJob::run()
{
    Orvak_API::PhoneInfo *phone = findPhone();
    if (!phone) {
        detachFromTask();
        return false;
    }
    keepPhone(phone);
    const QFileInfo source(m_item->pc.path);
    const QString fileName = source.fileName();
    const QString pcFolder = source.absolutePath();
    const QString phoneFolder = context().phoneVideoFolder;
    return copyWithProgress(phone, fileName,
                            [&] { return phone->copyFileToPhone(fileName, pcFolder, phoneFolder); });
}

bool CCopy2PCJob::run()
{
    Orvak_API::PhoneInfo *phone = findPhone();
    if (!phone) {
        detachFromTask();
        return false;
    }
    keepPhone(phone);
    const auto [phoneFolder, fileName] = splitPhonePath(m_item->phone.path);
    const QString pcFolder = Settings::myCollectionFolder();
    return copyWithProgress(phone, fileName,
                            [&] { return phone->copyFileToPC(fileName, phoneFolder, pcFolder); });
}

bool CDeleteFileFromPhoneJob::run()
{
    Orvak_API::PhoneInfo *phone = findPhone();
    if (!phone) {
        detachFromTask();
        return false;
    }
    const auto [folder, fileName] = splitPhonePath(m_item->phone.path);
    const bool ok = runUnlessCancelled([&] { return phone->deleteFile(fileName, folder); });
    detachFromTask();
    return ok;
}

CVideoConversionJob::~CVideoConversionJob()
{
    QMutexLocker lock(&m_converterLock);
    delete m_converter;
}

bool CVideoConversionJob::cancel()
{
    QMutexLocker lock(&m_converterLock);
    m_cancelRequested = true;
    if (m_converter)
        m_converter->cancel();
    return true;
}

bool CVideoConversionJob::run()
{
    const TaskContext &task = context();
    const QString folder = Settings::myCollectionFolder();
    if (cancelRequested()) {
        detachFromTask();
        return false;
    }

    // The phone's own limits when its configuration tells them, else the
    // preset of the quality.
    Orvak_API::Phone_VideoCapabilities caps;
    if (!Orvak_API::API_ConfServer(task.capabilitiesKey).readVideoCapabilities(caps))
        caps.setPreset(Orvak_API::Phone_VideoCapabilities::Preset(int(Settings::qualityFromValue(task.quality))));

    TaskProgress *display = progressDisplay();
    auto *converter = new Orvak_API::VideoConverter(display ? display->conversionProgressTarget() : nullptr);
    {
        QMutexLocker lock(&m_converterLock);
        m_converter = converter;
        // From here a cancel reaches the converter, which keeps it for every
        // later call; one that came before is handed on now.
        if (m_cancelRequested)
            converter->cancel();
    }
    const QString source = m_item->pc.path;
    if (display)
        display->conversionStarted(source);
    bool ok = false;
    if (!cancelRequested()) {
        converter->closeFile();
        converter->openFile(source);
    }
    if (!cancelRequested() && converter->isFileOpen()) {
        const QString target =
            Catalogue::uniqueTargetPath(folder + QLatin1Char('/') + m_item->pc.name + QStringLiteral(".mp4"),
                                        task.phoneNames);
        m_item->pc.targetPath = target;
        // A copy to the phone that follows sends the converted file.
        m_item->pc.path = target;
        ok = converter->convert(folder, m_item->pc.targetPath, task.quality, caps);
    }

    converter->closeFile();
    if (display)
        display->conversionFinished();
    detachFromTask();
    QMutexLocker lock(&m_converterLock);
    delete m_converter;
    m_converter = nullptr;
    return ok;
}
