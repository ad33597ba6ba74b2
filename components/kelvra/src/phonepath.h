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

// A phone folder path taken apart by its form alone.
struct PathParts
{
    bool isRoot = false; // "\\": the memories
    int memory = -1;
    QString text;        // the phone path without a trailing backslash
    QStringList folders; // the names below the memory, not yet checked
};

// Checks the form and length of a phone folder path and that its drive
// letter is that of one of the phone's memories (count of them); the names
// are left to checkFolderNames, so that a caller first sees whether the
// memory is there.
KELV_RESULT splitPhonePath(const QString &path, int memories, PathParts &out);
// Checks each name of a folder path.
KELV_RESULT checkFolderNames(const QStringList &names);

// Maps a phone folder path onto the phone's folders. Checks form, length and
// characters, and refuses a path through a symlinked folder
// (KELV_ERR_FOLDER_NOT_FOUND); does not check that the folder exists.
KELV_RESULT resolveFolder(const Phone &phone, const QString &path, PhonePath &out);

KELV_RESULT checkFolderName(const QString &name);
// A file name inside folder, with the length of the whole path checked. Names
// of the library's own files are refused.
KELV_RESULT checkFileName(const PhonePath &folder, const QString &name);
// The folder of a phone file (resolveFolder), with the file's name checked.
KELV_RESULT resolveFileFolder(const Phone &phone, const QString &path, const QString &name, PhonePath &out);

} // namespace kelvra
