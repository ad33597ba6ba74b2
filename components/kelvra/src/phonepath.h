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

// Maps a phone folder path onto the phone's folders. Checks form, length and
// characters; does not check that the folder exists.
KELV_RESULT resolveFolder(const Phone &phone, const QString &path, PhonePath &out);

KELV_RESULT checkFolderName(const QString &name);
// A file name inside folder, with the length of the whole path checked.
KELV_RESULT checkFileName(const PhonePath &folder, const QString &name);

} // namespace kelvra
