#include "phonemanagement.h"
#include "errorcontexts.h"
#include "kelvra.h"
#include "phoneinfo.h"
#include "phonelog.h"
#include "phonesinfo.h"

namespace Orvak_API {

void CDeviceNotify::OnDeviceListUpdated()
{
    Q_EMIT m_owner->OnDeviceListUpdated();
}

void CDeviceNotify::OnDeviceAdded(const wchar_t *pstrSN, uint32_t dwStatus)
{
    Q_EMIT m_owner->OnDeviceAdded(pstrSN, dwStatus);
}

void CDeviceNotify::OnDeviceRemoved(const wchar_t *pstrSN, uint32_t dwStatus)
{
    Q_EMIT m_owner->OnDeviceRemoved(pstrSN, dwStatus);
}

void CDeviceNotify::OnDeviceUpdated(const wchar_t *pstrSN, uint32_t dwStatus)
{
    Q_EMIT m_owner->OnDeviceUpdated(pstrSN, dwStatus);
}

PhoneManagement::PhoneManagement(QObject *parent) : API_Base(parent)
{
    // No error table yet: start-up failures are recorded for the owner to
    // read, not shown.
    const bool devices =
        checkResult(KelvLoader::initialize(KelvModule::Devices), QLatin1String(Context::DevicesInit), true);
    if (devices) {
        m_filesStarted = true;
        checkResult(KelvLoader::initialize(KelvModule::Files), QLatin1String(Context::FilesInit), true);
        checkResult(Kelv::OpenDM(&m_session), QLatin1String(Context::OpenDM), true);
        // The memory types come back in a string only the common module frees.
        m_commonStarted = true;
        if (const KELV_RESULT r = KelvLoader::initialize(KelvModule::Common); r < 0)
            qCWarning(lcPhone, "the common module did not start: 0x%08x", uint32_t(r));
    } else if (Kelv::GetAPIVersion() < KelvApiVersion) {
        checkResult(int32_t(0x80100100u), QLatin1String(Context::OlderVersion), true);
    }
    setErrorTable(connectivityErrorTable);
}

PhoneManagement::~PhoneManagement()
{
    if (m_sink) {
        Kelv::RegisterDMNotifyIF(m_session, KELV_NOTIFY_UNREGISTER, m_sink);
        delete m_sink;
        m_sink = nullptr;
    }
    // The library keeps a session until its module ends; while another
    // PhoneManagement keeps the module running that would be never.
    if (m_session)
        Kelv::CloseDM(m_session);
    if (m_commonStarted)
        KelvLoader::terminate(KelvModule::Common);
    // Only what this object started is stopped, so that it cannot stop the
    // modules under another PhoneManagement.
    if (m_filesStarted)
        KelvLoader::terminate(KelvModule::Files);
    KelvLoader::terminate(KelvModule::Devices);
}

int32_t PhoneManagement::registerDeviceNotifications()
{
    if (!m_sink)
        m_sink = new CDeviceNotify(this);
    return Kelv::RegisterDMNotifyIF(m_session, KELV_NOTIFY_REGISTER, m_sink);
}

bool PhoneManagement::getPhones(PhonesInfo &list)
{
    setLastResult(0);
    setErrorFlag(false);
    list.release();

    uint32_t &count = list.recordCount();
    count = PhonesInfo::MaxDevices;
    if (!checkResult(Kelv::GetDevices(m_session, &count, list.records()), QLatin1String(Context::GetDevices))) {
        count = 0;
        return false;
    }
    if (count > PhonesInfo::MaxDevices) {
        qCWarning(lcPhone, "the library reported %u phones for %u records", count, PhonesInfo::MaxDevices);
        count = PhonesInfo::MaxDevices;
    }
    if (count == 0)
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        auto *phone = new PhoneInfo(&list.records()[i]);
        phone->openFileSystem();
        list.append(phone);
    }
    return true;
}

} // namespace Orvak_API
