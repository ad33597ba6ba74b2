#pragma once

// Phone paths ("\\C:\Data\Videos") and the names inside them.

#include "kelvra_p.h"

namespace kelvra {

struct PhonePath
{
    bool isRoot = false; // "\\": the memories
    int memory = -1;
    QString text;        // the phone path without a trailing backslash
    QString local;       // the folder on disk (empty for the root)
};

// "C:" for memory 0, "E:" for memory 1, ...
QString driveName(int memory);

// Whether a memory's folder is there (a card that is in the phone) and is
// still the folder the manifest named, not a symlink put in its place.
bool memoryPresent(const Memory &memory);

// Maps a phone folder path onto the phone's folders. Checks form, length and
// characters, and refuses a path through a symlinked folder
// (KELV_ERR_FOLDER_NOT_FOUND); does not check that the folder exists.
KELV_RESULT resolveFolder(const Phone &phone, const QString &path, PhonePath &out);

KELV_RESULT checkFolderName(const QString &name);
// A file name inside folder, with the length of the whole path checked. Names
// of the library's own files are refused.
KELV_RESULT checkFileName(const PhonePath &folder, const QString &name);

} // namespace kelvra
