// KelvFiles: file-system sessions. Each session holds the backend of its
// phone (backend.h); the calls here check arguments and handles and keep the
// rules of cancelling that hold for every backend.

#include "backend.h"

#include <QFileInfo>

#include <cstdio>
#include <cstring>
#include <vector>

namespace kelvra {
namespace {

struct FsSession final : CopyControl
{
    Phone phone; // as it was when the session opened
    std::unique_ptr<PhoneFs> fs;
    std::atomic<IKelvFilesNotify *> sink{nullptr};
    std::atomic<bool> copying{false};
    std::atomic<bool> cancelRequested{false};
    std::atomic<bool> closedFlag{false}; // the module terminated under a copy

    bool cancelled() const override { return cancelRequested.load(); }
    bool closed() const override { return closedFlag.load(); }
    void progress(int percent, qint64 done) override
    {
        if (IKelvFilesNotify *s = sink.load())
            s->OnStateChanged(KELV_STATE_COPY_PROGRESS, uint32_t(percent), uint32_t(quint64(done) & 0xFFFFFFFFu),
                              uint32_t(quint64(done) >> 32));
    }
};

struct Find
{
    QStringList folders;
    std::vector<FileEntry> files;
    int nextFolder = 0;
    size_t nextFile = 0;
    std::mutex mutex;
};

HandleTable<FsSession> s_sessions;
HandleTable<Find> s_finds;

// The session, or why there is none. A phone that has gone is no longer
// connected.
KELV_RESULT session(KELVHANDLE handle, std::shared_ptr<FsSession> &out)
{
    if (g_filesUsers.load() <= 0)
        return KELV_ERR_NOT_INITIALIZED;
    out = s_sessions.get(handle);
    if (!out)
        return KELV_ERR_INVALID_HANDLE;
    return out->fs->connected();
}

KELV_FILETIME fileTime(qint64 utcMs)
{
    const uint64_t ticks = uint64_t(utcMs + 11644473600000LL) * 10000u;
    return KELV_FILETIME{uint32_t(ticks & 0xFFFFFFFFu), uint32_t(ticks >> 32)};
}

} // namespace
} // namespace kelvra

using namespace kelvra;

extern "C" {

KELV_RESULT KelvFiles_Initialize(uint32_t dwVersion, uint32_t)
{
    if (dwVersion > KELV_API_VERSION)
        return KELV_ERR_VERSION_NOT_SUPPORTED;
    g_filesUsers.fetch_add(1);
    return KELV_OK;
}

KELV_RESULT KelvFiles_Terminate(uint32_t)
{
    int users = g_filesUsers.load();
    do {
        if (users <= 0)
            return KELV_ERR_NOT_INITIALIZED;
    } while (!g_filesUsers.compare_exchange_weak(users, users - 1));
    if (users > 1)
        return KELV_OK;
    // Running copies notice and end; their sessions live until they return.
    for (auto &entry : s_sessions.takeAll())
        entry.second->closedFlag.store(true);
    s_finds.takeAll();
    return KELV_OK;
}

KELV_RESULT KELVOpenFS(const wchar_t *pstrSerialNumber, uint32_t *pdwMedia, KELVHANDLE *phFS, uint32_t *pdwDeviceID)
{
    if (g_filesUsers.load() <= 0)
        return KELV_ERR_NOT_INITIALIZED;
    if (!pstrSerialNumber || !pdwMedia || !phFS || !pdwDeviceID)
        return KELV_ERR_INVALID_POINTER;
    auto s = std::make_shared<FsSession>();
    if (!findPhone(fromWide(pstrSerialNumber), s->phone))
        return KELV_ERR_NOT_CONNECTED;
    writeConfigFiles({s->phone});
    if (*pdwMedia != KELV_MEDIA_ANY && *pdwMedia != 0) {
        if (!s->phone.media.contains(*pdwMedia))
            return KELV_ERR(0x80200001u);
    }
    if (s->phone.kind == PhoneKind::Mtp) {
        KELV_RESULT why = KELV_ERR_NOT_CONNECTED;
        s->fs = openMtpFs(s->phone, why);
        if (!s->fs)
            return why;
    } else {
        s->fs = openFolderFs(s->phone);
    }
    if (*pdwMedia == KELV_MEDIA_ANY || *pdwMedia == 0)
        *pdwMedia = s->phone.bestMedia();
    *pdwDeviceID = uint32_t(qHash(s->phone.serialNumber) & 0x7FFFFFFFu) | 1u;
    *phFS = s_sessions.add(std::move(s));
    return KELV_OK;
}

KELV_RESULT KELVCloseFS(KELVHANDLE hFS)
{
    if (g_filesUsers.load() <= 0)
        return KELV_ERR_NOT_INITIALIZED;
    const auto s = s_sessions.take(hFS);
    if (!s)
        return KELV_ERR_INVALID_HANDLE;
    s->closedFlag.store(true);
    return KELV_OK;
}

KELV_RESULT KELVRegisterFSNotifyIF(KELVHANDLE hFS, uint32_t dwOption, IKelvFilesNotify *pSink)
{
    std::shared_ptr<FsSession> s;
    if (g_filesUsers.load() <= 0)
        return KELV_ERR_NOT_INITIALIZED;
    s = s_sessions.get(hFS);
    if (!s)
        return KELV_ERR_INVALID_HANDLE;
    if (!pSink)
        return KELV_ERR_INVALID_POINTER;
    if (dwOption == KELV_NOTIFY_REGISTER) {
        IKelvFilesNotify *none = nullptr;
        return s->sink.compare_exchange_strong(none, pSink) ? KELV_OK : KELV_ERR_ALREADY_REGISTERED;
    }
    if (dwOption == KELV_NOTIFY_UNREGISTER) {
        IKelvFilesNotify *expected = pSink;
        return s->sink.compare_exchange_strong(expected, nullptr) ? KELV_OK : KELV_ERR_NOT_FOUND;
    }
    return KELV_ERR_INVALID_PARAMETER;
}

KELV_RESULT KELVRefreshDeviceMemoryValues(KELVHANDLE hFS)
{
    std::shared_ptr<FsSession> s;
    if (const KELV_RESULT r = session(hFS, s); r < 0)
        return r;
    return s->fs->refreshMemoryValues();
}

KELV_RESULT KELVGetMemoryTypes(KELVHANDLE hFS, wchar_t **ppstrMemoryTypes)
{
    std::shared_ptr<FsSession> s;
    if (const KELV_RESULT r = session(hFS, s); r < 0)
        return r;
    if (!ppstrMemoryTypes)
        return KELV_ERR_INVALID_POINTER;
    QStringList types;
    if (const KELV_RESULT r = s->fs->memoryTypes(types); r < 0)
        return r;
    *ppstrMemoryTypes = dupWide(types.join(QLatin1Char(',')));
    return *ppstrMemoryTypes ? KELV_OK : KELV_ERR_OUT_OF_MEMORY;
}

KELV_RESULT KELVGetMemoryValues(KELVHANDLE hFS, const wchar_t *pstrMemoryType, int64_t *pFree, int64_t *pTotal,
                                int64_t *pUsed)
{
    std::shared_ptr<FsSession> s;
    if (const KELV_RESULT r = session(hFS, s); r < 0)
        return r;
    if (!pstrMemoryType || !pFree || !pTotal || !pUsed)
        return KELV_ERR_INVALID_POINTER;
    qint64 free = 0, total = 0, used = 0;
    if (const KELV_RESULT r = s->fs->memoryValues(fromWide(pstrMemoryType), free, total, used); r < 0)
        return r;
    *pFree = free;
    *pTotal = total;
    *pUsed = used;
    return KELV_OK;
}

KELV_RESULT KELVFindBegin(KELVHANDLE hFS, uint32_t, KELVHANDLE *phFind, const wchar_t *pstrFolder)
{
    std::shared_ptr<FsSession> s;
    if (const KELV_RESULT r = session(hFS, s); r < 0)
        return r;
    if (!phFind || !pstrFolder)
        return KELV_ERR_INVALID_POINTER;
    auto find = std::make_shared<Find>();
    if (const KELV_RESULT r = s->fs->list(fromWide(pstrFolder), find->folders, find->files); r < 0)
        return r;
    *phFind = s_finds.add(std::move(find));
    return KELV_OK;
}

KELV_RESULT KELVFindNextFolder(KELVHANDLE hFind, KELV_FOLDER_INFO *pFolderInfo)
{
    if (g_filesUsers.load() <= 0)
        return KELV_ERR_NOT_INITIALIZED;
    const auto find = s_finds.get(hFind);
    if (!find)
        return KELV_ERR_INVALID_HANDLE;
    if (!pFolderInfo)
        return KELV_ERR_INVALID_POINTER;
    std::lock_guard<std::mutex> lock(find->mutex);
    if (find->nextFolder >= find->folders.size())
        return KELV_ERR_ALL_LISTED;
    pFolderInfo->pstrName = dupWide(find->folders.at(find->nextFolder++));
    return pFolderInfo->pstrName ? KELV_OK : KELV_ERR_OUT_OF_MEMORY;
}

KELV_RESULT KELVFindNextFile(KELVHANDLE hFind, KELV_FILE_INFO *pFileInfo)
{
    if (g_filesUsers.load() <= 0)
        return KELV_ERR_NOT_INITIALIZED;
    const auto find = s_finds.get(hFind);
    if (!find)
        return KELV_ERR_INVALID_HANDLE;
    if (!pFileInfo)
        return KELV_ERR_INVALID_POINTER;
    std::lock_guard<std::mutex> lock(find->mutex);
    if (find->nextFile >= find->files.size())
        return KELV_ERR_ALL_LISTED;
    const FileEntry &e = find->files.at(find->nextFile++);
    pFileInfo->pstrName = dupWide(e.name);
    pFileInfo->tFileTime = fileTime(e.modifiedMs);
    pFileInfo->dwFileSize = e.size > 0xFFFFFFFFLL ? 0xFFFFFFFFu : uint32_t(e.size);
    return pFileInfo->pstrName ? KELV_OK : KELV_ERR_OUT_OF_MEMORY;
}

KELV_RESULT KELVFindEnd(KELVHANDLE hFind)
{
    if (g_filesUsers.load() <= 0)
        return KELV_ERR_NOT_INITIALIZED;
    return s_finds.take(hFind) ? KELV_OK : KELV_ERR_INVALID_HANDLE;
}

KELV_RESULT KELVCreateFolder(KELVHANDLE hFS, const wchar_t *pstrFolderName, const wchar_t *pstrParentPath)
{
    std::shared_ptr<FsSession> s;
    if (const KELV_RESULT r = session(hFS, s); r < 0)
        return r;
    if (!pstrFolderName || !pstrParentPath)
        return KELV_ERR_INVALID_POINTER;
    return s->fs->createFolder(fromWide(pstrFolderName), fromWide(pstrParentPath));
}

KELV_RESULT KELVDeleteFile(KELVHANDLE hFS, const wchar_t *pstrFileName, const wchar_t *pstrFolder)
{
    std::shared_ptr<FsSession> s;
    if (const KELV_RESULT r = session(hFS, s); r < 0)
        return r;
    if (!pstrFileName || !pstrFolder)
        return KELV_ERR_INVALID_POINTER;
    return s->fs->deleteFile(fromWide(pstrFileName), fromWide(pstrFolder));
}

KELV_RESULT KELVCopyFile(KELVHANDLE hFS, uint32_t dwOptions, const wchar_t *pstrFileName, const wchar_t *pstrSourcePath,
                         const wchar_t *pstrTargetPath)
{
    std::shared_ptr<FsSession> s;
    if (const KELV_RESULT r = session(hFS, s); r < 0)
        return r;
    if (!pstrFileName || !pstrSourcePath || !pstrTargetPath)
        return KELV_ERR_INVALID_POINTER;
    const uint32_t direction = dwOptions & ~KELV_COPY_REPLACE;
    if (direction != KELV_COPY_PC_TO_PHONE && direction != KELV_COPY_PHONE_TO_PC)
        return KELV_ERR_INVALID_PARAMETER;
    // A cancel made before this copy is spent on it before anything else can
    // refuse it, unless it was meant for a copy that runs now.
    if (!s->copying.load() && s->cancelRequested.exchange(false))
        return KELV_ERR_CANCELLED;
    const bool toPhone = direction == KELV_COPY_PC_TO_PHONE;
    const QString phoneFolder = fromWide(toPhone ? pstrTargetPath : pstrSourcePath);
    const QString pcFolderText = fromWide(toPhone ? pstrSourcePath : pstrTargetPath);

    bool idle = false;
    if (!s->copying.compare_exchange_strong(idle, true))
        return KELV_ERR_CONNECTION_RESERVED;
    const KELV_RESULT result = s->fs->copy(*s, toPhone, (dwOptions & KELV_COPY_REPLACE) != 0,
                                           fromWide(pstrFileName), phoneFolder, pcFolderText);
    // A cancel holds until a copy has ended because of it.
    if (result == KELV_ERR_CANCELLED)
        s->cancelRequested.store(false);
    s->copying.store(false);
    return result;
}

KELV_RESULT KELVReadFile(KELVHANDLE hFS, KELV_FILE_INFO *pFileInfo, unsigned char **ppData, uint32_t,
                         const wchar_t *pstrFolder)
{
    std::shared_ptr<FsSession> s;
    if (const KELV_RESULT r = session(hFS, s); r < 0)
        return r;
    if (!pFileInfo || !pFileInfo->pstrName || !ppData || !pstrFolder)
        return KELV_ERR_INVALID_POINTER;
    QByteArray bytes;
    qint64 modifiedMs = 0;
    if (const KELV_RESULT r = s->fs->readFile(fromWide(pFileInfo->pstrName), fromWide(pstrFolder), bytes, modifiedMs);
        r < 0)
        return r;
    auto *data = static_cast<unsigned char *>(std::malloc(std::max<size_t>(size_t(bytes.size()), 1)));
    if (!data)
        return KELV_ERR_OUT_OF_MEMORY;
    std::memcpy(data, bytes.constData(), size_t(bytes.size()));
    *ppData = data;
    pFileInfo->dwFileSize = uint32_t(bytes.size());
    pFileInfo->tFileTime = fileTime(modifiedMs);
    return KELV_OK;
}

KELV_RESULT KELVFreeFileDataMemory(unsigned char *pData)
{
    std::free(pData);
    return KELV_OK;
}

KELV_RESULT KELVCancel(KELVHANDLE hFS)
{
    if (g_filesUsers.load() <= 0)
        return KELV_ERR_NOT_INITIALIZED;
    const auto s = s_sessions.get(hFS);
    if (!s)
        return KELV_ERR_INVALID_HANDLE;
    // Also when no copy runs yet: the next one on this handle is the one
    // meant, and it must not slip through because it started late.
    s->cancelRequested.store(true);
    return KELV_OK;
}

KELV_RESULT KELVFreeFileInfoStructure(KELV_FILE_INFO *pFileInfo)
{
    if (!pFileInfo)
        return KELV_ERR_INVALID_POINTER;
    std::free(pFileInfo->pstrName);
    pFileInfo->pstrName = nullptr;
    return KELV_OK;
}

KELV_RESULT KELVFreeFolderInfoStructure(KELV_FOLDER_INFO *pFolderInfo)
{
    if (!pFolderInfo)
        return KELV_ERR_INVALID_POINTER;
    std::free(pFolderInfo->pstrName);
    pFolderInfo->pstrName = nullptr;
    return KELV_OK;
}

// ---- KelvCommon ---------------------------------------------------------

KELV_RESULT KelvCommon_Initialize(uint32_t dwVersion, uint32_t)
{
    if (dwVersion > KELV_API_VERSION)
        return KELV_ERR_VERSION_NOT_SUPPORTED;
    g_commonUsers.fetch_add(1);
    return KELV_OK;
}

KELV_RESULT KelvCommon_Terminate(uint32_t)
{
    int users = g_commonUsers.load();
    do {
        if (users <= 0)
            return KELV_ERR_NOT_INITIALIZED;
    } while (!g_commonUsers.compare_exchange_weak(users, users - 1));
    return KELV_OK;
}

KELV_RESULT KELVFreeString(wchar_t *pstr)
{
    std::free(pstr);
    return KELV_OK;
}

} // extern "C"
