#include "phonepath.h"
#include "partfiles.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace kelvra {

namespace {

// Characters no phone file system accepts in a name.
bool validName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    static const QString forbidden = QStringLiteral("<>:\"/\\|?*");
    for (QChar c : name) {
        if (c.unicode() < 0x20 || forbidden.contains(c))
            return false;
    }
    return true;
}

// The folder on disk can hold no longer name than this many bytes.
constexpr int s_nameMaxBytes = 255;

} // namespace

QString driveName(int memory)
{
    return QString(QChar(memory == 0 ? u'C' : char16_t(u'D' + memory))) + QLatin1Char(':');
}

KELV_RESULT checkFolderName(const QString &name)
{
    if (!validName(name))
        return KELV_ERR_FOLDER_NAME_INVALID;
    if (name.toUtf8().size() > s_nameMaxBytes)
        return KELV_ERR_FOLDER_PATH_TOO_LONG;
    return KELV_OK;
}

bool memoryPresent(const Memory &memory)
{
    struct stat st;
    return ::lstat(QFile::encodeName(memory.path).constData(), &st) == 0 && S_ISDIR(st.st_mode)
        && QFileInfo(memory.path).canonicalFilePath() == memory.path;
}

KELV_RESULT checkFileName(const PhonePath &folder, const QString &name)
{
    if (!validName(name) || isReservedName(name))
        return KELV_ERR_FILE_NAME_INVALID;
    if (name.toUtf8().size() > s_nameMaxBytes || folder.text.size() + 1 + name.size() > KELV_MAX_FILE_PATH)
        return KELV_ERR_FILE_PATH_TOO_LONG;
    return KELV_OK;
}

KELV_RESULT splitPhonePath(const QString &path, int memories, PathParts &out)
{
    out = PathParts();
    if (!path.startsWith(QLatin1String("\\\\")))
        return KELV_ERR_FOLDER_INVALID;
    QString text = path;
    if (text.size() > 2 && text.endsWith(QLatin1Char('\\')))
        text.chop(1);
    // The limit counts a trailing backslash.
    if (text.size() + 1 > KELV_MAX_FOLDER_PATH)
        return KELV_ERR_FOLDER_PATH_TOO_LONG;
    out.text = text;
    if (text.size() == 2) {
        out.isRoot = true;
        return KELV_OK;
    }
    const QString rest = text.mid(2);
    if (rest.size() < 2 || rest.at(1) != QLatin1Char(':') || (rest.size() > 2 && rest.at(2) != QLatin1Char('\\')))
        return KELV_ERR_FOLDER_INVALID;
    const char16_t letter = rest.at(0).toUpper().unicode();
    if (letter == u'C')
        out.memory = 0;
    else if (letter >= u'E' && letter <= u'Y')
        out.memory = letter - u'D';
    if (out.memory < 0 || out.memory >= memories)
        return KELV_ERR_FOLDER_INVALID;
    if (rest.size() > 3)
        out.folders = rest.mid(3).split(QLatin1Char('\\'));
    return KELV_OK;
}

KELV_RESULT checkFolderNames(const QStringList &names)
{
    for (const QString &name : names) {
        if (const KELV_RESULT r = checkFolderName(name); r < 0)
            return r;
    }
    return KELV_OK;
}

KELV_RESULT resolveFolder(const Phone &phone, const QString &path, PhonePath &out)
{
    out = PhonePath();
    PathParts parts;
    const KELV_RESULT split = splitPhonePath(path, int(phone.memories.size()), parts);
    out.text = parts.text;
    if (split < 0)
        return split;
    if (parts.isRoot) {
        out.isRoot = true;
        return KELV_OK;
    }
    out.memory = parts.memory;
    out.local = phone.memories.at(parts.memory).path;
    if (!memoryPresent(phone.memories.at(parts.memory)))
        return KELV_ERR_FOLDER_INVALID; // the card is not there
    if (const KELV_RESULT r = checkFolderNames(parts.folders); r < 0)
        return r;
    // Only the phone's own folders: none of the levels that exist may be a
    // symlink, which could lead anywhere on the PC.
    bool exists = true;
    for (const QString &part : std::as_const(parts.folders)) {
        out.local += QLatin1Char('/') + part;
        struct stat st;
        exists = exists && ::lstat(QFile::encodeName(out.local).constData(), &st) == 0;
        if (exists && S_ISLNK(st.st_mode))
            return KELV_ERR_FOLDER_NOT_FOUND;
    }
    return KELV_OK;
}

KELV_RESULT resolveFileFolder(const Phone &phone, const QString &path, const QString &name, PhonePath &out)
{
    if (const KELV_RESULT r = resolveFolder(phone, path, out); r < 0)
        return r;
    return checkFileName(out, name);
}

} // namespace kelvra
