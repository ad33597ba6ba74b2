#include "phoneinfo.h"
#include "errorcontexts.h"
#include "kelvra.h"

namespace Orvak_API {

QString phoneVideoFolder(int memoryIndex)
{
    if (memoryIndex == 0)
        return QStringLiteral("\\\\C:\\Data\\Videos");
    if (memoryIndex >= 1 && memoryIndex <= 21)
        return QStringLiteral("\\\\") + QChar(u'D' + memoryIndex) + QStringLiteral(":\\Videos");
    return QString();
}

PhoneInfo::PhoneInfo(KELV_DEVICE_INFO *device, QObject *parent) : API_Base(parent), m_device(device)
{
    setErrorTable(connectivityErrorTable);
}

PhoneInfo::~PhoneInfo()
{
    closeFileSystem();
}

QString PhoneInfo::serialNumber() const
{
    return m_device && m_device->pstrSerialNumber ? QString::fromWCharArray(m_device->pstrSerialNumber) : QString();
}

QString PhoneInfo::friendlyName() const
{
    return m_device && m_device->pstrFriendlyName ? QString::fromWCharArray(m_device->pstrFriendlyName) : QString();
}

uint PhoneInfo::bestMedia() const
{
    uint best = 0;
    if (!m_device || !m_device->pItems)
        return best;
    for (uint32_t i = 0; i < m_device->dwNumberOfItems; ++i)
        best = std::max<uint>(best, m_device->pItems[i].dwMedia);
    return best;
}

KELVHANDLE PhoneInfo::openFileSystem()
{
    if (m_fs)
        return m_fs;
    if (!m_device || !m_device->pstrSerialNumber)
        return nullptr;
    m_media = KELV_MEDIA_ANY;
    KELVHANDLE fs = nullptr;
    if (!checkResult(Kelv::OpenFS(m_device->pstrSerialNumber, &m_media, &fs, &m_deviceId),
                     QLatin1String(Context::OpenFS), true))
        return nullptr;
    std::lock_guard lock(m_cancelLock);
    m_fs = fs;
    // A cancel that came before the session existed holds for its first copy.
    if (m_cancelRequested.load())
        Kelv::Cancel(m_fs);
    return m_fs;
}

void PhoneInfo::closeFileSystem()
{
    KELVHANDLE fs = nullptr;
    {
        std::lock_guard lock(m_cancelLock);
        fs = std::exchange(m_fs, nullptr);
    }
    if (fs)
        Kelv::CloseFS(fs);
}

} // namespace Orvak_API
