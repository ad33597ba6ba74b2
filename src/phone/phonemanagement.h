#pragma once

#include "apibase.h"
#include "kelvraapi.h"

namespace Orvak_API {

class PhoneManagement;
class PhonesInfo;

// The device sink handed to the connectivity library: each device event is
// passed on, unchanged, as the matching signal of its PhoneManagement. The
// library calls it on the thread that registered it.
class CDeviceNotify final : public IKelvDevicesNotify
{
public:
    explicit CDeviceNotify(PhoneManagement *owner) : m_owner(owner) {}

    void OnDeviceListUpdated() override;
    void OnDeviceAdded(const wchar_t *pstrSN, uint32_t dwStatus) override;
    void OnDeviceRemoved(const wchar_t *pstrSN, uint32_t dwStatus) override;
    void OnDeviceUpdated(const wchar_t *pstrSN, uint32_t dwStatus) override;

private:
    PhoneManagement *m_owner;
};

// A session with the device-management side of the connectivity library.
// Building one starts the library modules (reference-counted: a second
// PhoneManagement only raises the counts); lastResult() is negative afterwards
// when the library is unusable, and nothing is signalled for start-up
// failures. Destroying it stops the modules again in reverse order.
//
// Use it from the thread that built it. The device signals carry a serial
// number that is valid only while the signal runs, so connect them directly
// (or automatically, from the same thread); they cannot be queued.
class PhoneManagement : public API_Base
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PhoneManagement)

public:
    explicit PhoneManagement(QObject *parent = nullptr);
    ~PhoneManagement() override;

    // Registers the device sink; connect the four signals first. Answers the
    // library's result. The library calls the sink through this thread's
    // event loop.
    int32_t registerDeviceNotifications();

    // Replaces the content of list with the attached phones, in the library's
    // order, each with its file system opened (a phone whose file system does
    // not open stays listed without one). False when the library fails or no
    // phone is attached.
    bool getPhones(PhonesInfo &list);

    KELVHANDLE session() const { return m_session; }

Q_SIGNALS:
    void OnDeviceListUpdated();
    void OnDeviceAdded(const wchar_t *pstrSN, uint dwStatus);
    void OnDeviceRemoved(const wchar_t *pstrSN, uint dwStatus);
    void OnDeviceUpdated(const wchar_t *pstrSN, uint dwStatus);

private:
    KELVHANDLE m_session = nullptr;
    CDeviceNotify *m_sink = nullptr;
    bool m_filesStarted = false;
    bool m_commonStarted = false;
};

} // namespace Orvak_API
