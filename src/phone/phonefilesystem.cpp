// The file operations of one phone: copies both ways with progress, delete,
// read, cancel, listings and the memories.
#include "errorcontexts.h"
#include "kelvra.h"
#include "phoneinfo.h"
#include "phonelog.h"

#include <QDir>
#include <QFileInfo>

#include <memory>
#include <string>

namespace Orvak_API {

namespace {

constexpr int32_t AllListed = int32_t(0x80300000u);
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

bool PhoneInfo::copy(uint32_t direction, const QString &fileName, const QString &from, const QString &to,
                     const char *context)
{
    FileSystemNotify sink(this);
    const bool registered = Kelv::RegisterFSNotifyIF(m_fs, KELV_NOTIFY_REGISTER, &sink) == 0;
    // A cancel already made was handed to the library with the handle, so
    // the library's copy ends at once because of it.
    const int32_t result =
        Kelv::CopyFile(m_fs, direction, wide(fileName).c_str(), wide(from).c_str(), wide(to).c_str());
    takeCancel(result);
    checkResult(result, QLatin1String(context));
    if (registered)
        Kelv::RegisterFSNotifyIF(m_fs, KELV_NOTIFY_UNREGISTER, &sink);
    return lastResult() >= 0;
}

// Like the library, a cancel holds until a copy has ended because of it.
bool PhoneInfo::takeCancel(int32_t result)
{
    if (result != KELV_ERR_CANCELLED)
        return false;
    m_cancelRequested.store(false);
    return true;
}

// The bytes of fileName in phoneFolder, -1 when it is not there or the folder
// cannot be read. Asks quietly: nothing is recorded or reported.
qint64 PhoneInfo::phoneFileSize(const QString &fileName, const QString &phoneFolder)
{
    KELVHANDLE find = nullptr;
    if (Kelv::FindBegin(m_fs, 0, &find, wide(phoneFolder).c_str()) != 0)
        return -1;
    KELV_FOLDER_INFO folder{};
    while (Kelv::FindNextFolder(find, &folder) == 0)
        Kelv::FreeFolderInfoStructure(&folder);
    qint64 size = -1;
    KELV_FILE_INFO file{};
    while (size < 0 && Kelv::FindNextFile(find, &file) == 0) {
        if (QString::fromWCharArray(file.pstrName) == fileName)
            size = file.dwFileSize;
        Kelv::FreeFileInfoStructure(&file);
    }
    Kelv::FindEnd(find);
    return size;
}

// The free bytes of the memory that holds phoneFolder, -1 when unknown.
// Memory types come in drive order: C: first, then E:, F:, ...
qint64 PhoneInfo::freeBytesFor(const QString &phoneFolder)
{
    if (phoneFolder.size() < 4 || !phoneFolder.startsWith(QLatin1String("\\\\")) || phoneFolder.at(3) != QLatin1Char(':'))
        return -1;
    const QChar drive = phoneFolder.at(2).toUpper();
    const int index = drive == QLatin1Char('C') ? 0 : drive.unicode() - u'D';
    if (index < 0 || index > 21 || (index == 0 && drive != QLatin1Char('C')))
        return -1;
    wchar_t *types = nullptr;
    if (Kelv::GetMemoryTypes(m_fs, &types) != 0 || !types)
        return -1;
    const QStringList tokens = QString::fromWCharArray(types).split(QLatin1Char(','));
    Kelv::FreeString(types);
    if (index >= tokens.size())
        return -1;
    int64_t free = 0, total = 0, used = 0;
    if (Kelv::RefreshDeviceMemoryValues(m_fs) < 0
        || Kelv::GetMemoryValues(m_fs, wide(tokens.at(index)).c_str(), &free, &total, &used) != 0)
        return -1;
    return free;
}

bool PhoneInfo::copyFileToPhone(const QString &fileName, const QString &pcFolder, const QString &phoneFolder)
{
    QString folder = phoneFolder;
    while (folder.size() > 2 && folder.endsWith(QLatin1Char('\\')))
        folder.chop(1);
    const int cut = folder.lastIndexOf(QLatin1Char('\\'));
    const QString parent = folder.left(cut);
    const QString leaf = folder.mid(cut + 1);

    // The phone never overwrites a file, so the old one goes first. Only when
    // there is a file to put in its place: a copy that cannot even start must
    // not cost the phone its copy.
    // After a cancel nothing changes on the phone: the copy ends at once.
    if (m_cancelRequested.load())
        return copy(KELV_COPY_PC_TO_PHONE, fileName, pcFolder, phoneFolder, Context::CopyToPhone);
    const QFileInfo source(QDir(pcFolder).filePath(fileName));
    if (source.isFile() && source.isReadable()) {
        // Nor when the new file would not fit even in the old one's place:
        // the copy would fail for a full memory after the old file was gone.
        // The phone counts space in blocks; the slack keeps a file that might
        // just fit from being refused here.
        constexpr qint64 slack = 64 * 1024;
        const qint64 old = phoneFileSize(fileName, phoneFolder);
        const qint64 free = old < 0 ? -1 : freeBytesFor(phoneFolder);
        if (old >= 0 && free >= 0 && source.size() > free + old + slack) {
            qCInfo(lcPhone, "%s does not fit on the phone; its copy there is kept", qPrintable(fileName));
            checkResult(KELV_ERR_MEMORY_FULL, QLatin1String(Context::CopyToPhone));
            return false;
        }
        // The free-space query takes a while; a cancel may have come meanwhile.
        if (!m_cancelRequested.load())
            Kelv::DeleteFile(m_fs, wide(fileName).c_str(), wide(phoneFolder).c_str());
    }
    // Only the last level is made; a missing parent fails the copy below.
    Kelv::CreateFolder(m_fs, wide(leaf).c_str(), wide(parent).c_str());
    return copy(KELV_COPY_PC_TO_PHONE, fileName, pcFolder, phoneFolder, Context::CopyToPhone);
}

bool PhoneInfo::copyFileToPC(const QString &fileName, const QString &phoneFolder, const QString &pcFolder)
{
    return copy(KELV_COPY_PHONE_TO_PC, fileName, phoneFolder, pcFolder, Context::CopyToPC);
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
    KELVHANDLE find = nullptr;
    if (!checkResult(Kelv::FindBegin(m_fs, 0, &find, wide(folder).c_str()), QLatin1String(Context::ReadFileSystem)))
        return true;

    KELV_FOLDER_INFO subfolder{};
    int32_t r;
    while ((r = Kelv::FindNextFolder(find, &subfolder)) == 0) {
        setLastCode(r);
        const QString name = QString::fromWCharArray(subfolder.pstrName);
        Kelv::FreeFolderInfoStructure(&subfolder);
        listFiles(out, childFolder(folder, name), extensions);
    }
    setLastCode(r);
    if (r < 0 && r != AllListed) {
        checkResult(r, QLatin1String(Context::ReadFileSystem));
        Kelv::FindEnd(find);
        return true;
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
    return true;
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
