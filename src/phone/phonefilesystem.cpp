// The file operations of one phone: copies both ways with progress, delete,
// read, cancel, listings and the memories.
#include "errorcontexts.h"
#include "kelvra.h"
#include "phoneinfo.h"

#include <QSet>

#include <string>

namespace Orvak_API {

namespace {

constexpr int32_t AllListed = int32_t(0x80300000u);
constexpr int32_t FolderInvalid = int32_t(0x80500001u);
constexpr int32_t FolderNotFound = int32_t(0x80500005u);
const wchar_t *const s_root = L"\\\\";

std::wstring wide(const QString &text)
{
    return text.toStdWString();
}

QDateTime localTime(const KELV_FILETIME &time)
{
    // 100 ns ticks since 1601-01-01 UTC.
    const quint64 ticks = (quint64(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    const qint64 ms = qint64(ticks / 10000) - 11644473600000LL;
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toLocalTime();
}

// A subfolder's phone path. Folders given with a trailing backslash ("\\",
// "\\C:\") must not get a second one, which the phone takes for an empty
// folder name.
QString childFolder(const QString &folder, const QString &name)
{
    if (folder.endsWith(QLatin1Char('\\')))
        return folder + name;
    return folder + QLatin1Char('\\') + name;
}

} // namespace

int32_t FileSystemNotify::OnStateChanged(uint32_t dwState, uint32_t dwValue, uint32_t, uint32_t)
{
    if (dwState == KELV_STATE_COPY_PROGRESS) {
        m_phone->m_lastProgress.store(int(dwValue));
        Q_EMIT m_phone->copyProgressChanged(int(dwValue));
    }
    return 0;
}

int32_t FileSystemNotify::OnError(uint32_t)
{
    return 0;
}

int32_t FileSystemNotify::OnOperation(uint32_t, uint32_t, uint32_t, uint32_t)
{
    return 0;
}

int32_t PhoneInfo::copy(uint32_t options, const QString &fileName, const QString &from, const QString &to)
{
    FileSystemNotify sink(this);
    const bool registered = Kelv::RegisterFSNotifyIF(m_fs, KELV_NOTIFY_REGISTER, &sink) == 0;
    // A cancel already made was handed to the library with the handle, so
    // the library's copy ends at once because of it.
    const int32_t result = Kelv::CopyFile(m_fs, options, wide(fileName).c_str(), wide(from).c_str(), wide(to).c_str());
    takeCancel(result);
    if (registered)
        Kelv::RegisterFSNotifyIF(m_fs, KELV_NOTIFY_UNREGISTER, &sink);
    return result;
}

// Like the library, a cancel holds until a copy has ended because of it.
bool PhoneInfo::takeCancel(int32_t result)
{
    if (result != KELV_ERR_CANCELLED)
        return false;
    m_cancelRequested.store(false);
    return true;
}

bool PhoneInfo::copyFileToPhone(const QString &fileName, const QString &pcFolder, const QString &phoneFolder)
{
    QString folder = phoneFolder;
    while (folder.size() > 2 && folder.endsWith(QLatin1Char('\\')))
        folder.chop(1);
    const int cut = folder.lastIndexOf(QLatin1Char('\\'));
    const QString parent = folder.left(cut);
    const QString leaf = folder.mid(cut + 1);

    // After a cancel nothing changes on the phone, not even a new folder:
    // the copy ends at once.
    if (m_cancelRequested.load())
        return checkResult(copy(KELV_COPY_PC_TO_PHONE | KELV_COPY_REPLACE, fileName, pcFolder, phoneFolder),
                           QLatin1String(Context::CopyToPhone));
    // Only the last level is made; a missing parent fails the copy below.
    const int32_t made = Kelv::CreateFolder(m_fs, wide(leaf).c_str(), wide(parent).c_str());
    // The phone's copy of the same name is replaced only by a complete new
    // one: a copy that fails, is cancelled or interrupted, or cannot fit even
    // in the old one's place leaves it as it was.
    const int32_t result = copy(KELV_COPY_PC_TO_PHONE | KELV_COPY_REPLACE, fileName, pcFolder, phoneFolder);
    const auto folderMissing = [](int32_t code) { return code == FolderNotFound || code == FolderInvalid; };
    if (result < 0 && folderMissing(result) && folderMissing(made)) {
        // The target folder is not there and could not be made: the phone
        // lacks the folder it belongs in (or the card is out). The library's
        // code stays the result; the user is told what is missing.
        setLastResult(result);
        setLastCode(NoVideoFolderCode);
        reportError(QLatin1String(Context::CopyToPhone), false);
        return false;
    }
    return checkResult(result, QLatin1String(Context::CopyToPhone));
}

bool PhoneInfo::copyFileToPC(const QString &fileName, const QString &phoneFolder, const QString &pcFolder)
{
    return checkResult(copy(KELV_COPY_PHONE_TO_PC, fileName, phoneFolder, pcFolder), QLatin1String(Context::CopyToPC));
}

bool PhoneInfo::deleteFile(const QString &fileName, const QString &phoneFolder)
{
    checkResult(Kelv::DeleteFile(m_fs, wide(fileName).c_str(), wide(phoneFolder).c_str()),
                QLatin1String(Context::DeleteFile));
    return lastResult() >= 0;
}

bool PhoneInfo::readFile(const QString &fileName, const QString &phoneFolder, QByteArray &out)
{
    if (fileName.isEmpty())
        return false;
    std::wstring name = wide(fileName);
    KELV_FILE_INFO info{};
    info.pstrName = name.data();
    unsigned char *data = nullptr;
    if (!checkResult(Kelv::ReadFile(m_fs, &info, &data, 0, wide(phoneFolder).c_str()), QLatin1String(Context::ReadFile)))
        return false;
    out.clear();
    if (data)
        out = QByteArray(reinterpret_cast<const char *>(data), qsizetype(info.dwFileSize));
    Kelv::FreeFileDataMemory(data);
    return true;
}

bool PhoneInfo::cancel()
{
    // Called from another thread while a copy blocks this phone's owner: only
    // the flag and the shared handle are touched, never the recorded results.
    std::lock_guard lock(m_cancelLock);
    m_cancelRequested.store(true);
    // Without a session yet, opening one hands the cancel on.
    return !m_fs || Kelv::Cancel(m_fs) >= 0;
}

bool PhoneInfo::matchesExtensions(const QString &name, const wchar_t *extensions)
{
    if (!extensions || !*extensions)
        return true;
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot == name.size() - 1)
        return false;
    const QStringView extension = QStringView(name).mid(dot + 1);
    const QString list = QString::fromWCharArray(extensions);
    for (const QStringView entry : QStringView(list).split(QLatin1Char('|'))) {
        if (entry.compare(extension, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool PhoneInfo::listFiles(QList<PhoneFileEntry *> &out, const QString &folder, const wchar_t *extensions)
{
    if (folder.isEmpty())
        return false;
    QSet<QString> visited;
    listFolder(out, folder, extensions, visited);
    return true;
}

// One folder of a depth-first listing. A folder is listed once however it is
// reached, and the walk goes no deeper than a phone path can be long, so that
// a phone that reports a folder inside itself cannot keep it going for ever.
void PhoneInfo::listFolder(QList<PhoneFileEntry *> &out, const QString &folder, const wchar_t *extensions,
                           QSet<QString> &visited)
{
    // Drive letters are the same in either case; folder names are not (a
    // folder phone may hold "Videos" and "videos").
    QString key = folder;
    while (key.size() > 2 && key.endsWith(QLatin1Char('\\')))
        key.chop(1);
    if (key.size() > 2)
        key[2] = key.at(2).toUpper();
    if (visited.contains(key))
        return;
    visited.insert(key);

    KELVHANDLE find = nullptr;
    if (!checkResult(Kelv::FindBegin(m_fs, 0, &find, wide(folder).c_str()), QLatin1String(Context::ReadFileSystem)))
        return;

    KELV_FOLDER_INFO subfolder{};
    int32_t r;
    while ((r = Kelv::FindNextFolder(find, &subfolder)) == 0) {
        setLastCode(r);
        const QString name = QString::fromWCharArray(subfolder.pstrName);
        Kelv::FreeFolderInfoStructure(&subfolder);
        // A name that is no folder name would lead back up or nowhere.
        if (key.size() < KELV_MAX_FOLDER_PATH && !name.isEmpty() && name != QLatin1String(".")
            && name != QLatin1String("..") && !name.contains(QLatin1Char('\\')))
            listFolder(out, childFolder(folder, name), extensions, visited);
    }
    setLastCode(r);
    if (r < 0 && r != AllListed) {
        checkResult(r, QLatin1String(Context::ReadFileSystem));
        Kelv::FindEnd(find);
        return;
    }

    KELV_FILE_INFO file{};
    while ((r = Kelv::FindNextFile(find, &file)) == 0) {
        const QString name = QString::fromWCharArray(file.pstrName);
        if (matchesExtensions(name, extensions))
            out.append(new PhoneFileEntry{name, folder, file.dwFileSize, localTime(file.tFileTime)});
        Kelv::FreeFileInfoStructure(&file);
    }
    setLastCode(r);
    if (r < 0 && r != AllListed)
        checkResult(r, QLatin1String(Context::ReadFileSystem));
    Kelv::FindEnd(find);
}

bool PhoneInfo::listMemoryFiles(QList<PhoneFileEntry *> &out, int memoryIndex, const wchar_t *extensions)
{
    if (memoryIndex < 0 || memoryIndex > 21)
        return false;
    const QChar drive = memoryIndex == 0 ? QLatin1Char('C') : QChar(u'D' + memoryIndex);
    // Without a trailing backslash, so that folder + "\" + name is a path.
    return listFiles(out, QStringLiteral("\\\\") + drive + QLatin1Char(':'), extensions);
}

void PhoneInfo::getMemoryInfo(QList<PhoneMemory *> &out)
{
    qDeleteAll(out);
    out.clear();
    checkResult(Kelv::RefreshDeviceMemoryValues(m_fs), QLatin1String(Context::RefreshMemory), true);
    wchar_t *types = nullptr;
    if (!checkResult(Kelv::GetMemoryTypes(m_fs, &types), QLatin1String(Context::MemoryTypes), true))
        return;
    const QStringList tokens = QString::fromWCharArray(types ? types : L"").split(QLatin1Char(','));
    Kelv::FreeString(types);
    for (const QString &token : tokens) {
        // A memory the phone calls not available has no values to ask for;
        // asking would only report a failure to the user.
        if (token.isEmpty() || token == QLatin1String("N/A"))
            continue;
        int64_t free = 0, total = 0, used = 0;
        if (checkResult(Kelv::GetMemoryValues(m_fs, wide(token).c_str(), &free, &total, &used),
                        QLatin1String(Context::MemoryValues), true))
            out.append(new PhoneMemory{token, QString(), free, total, used});
    }
    if (out.size() < 2)
        return;

    // Several memories: the drives of the phone's root, in the same order.
    KELVHANDLE find = nullptr;
    if (!checkResult(Kelv::FindBegin(m_fs, 0, &find, s_root), QLatin1String(Context::ReadFileSystem)))
        return;
    KELV_FOLDER_INFO drive{};
    int32_t r;
    for (int i = 0; (r = Kelv::FindNextFolder(find, &drive)) == 0; ++i) {
        setLastCode(r);
        if (i < out.size())
            out.at(i)->name = QString::fromWCharArray(drive.pstrName);
        Kelv::FreeFolderInfoStructure(&drive);
    }
    setLastCode(r);
    Kelv::FindEnd(find);
}

} // namespace Orvak_API
