#pragma once

#include <QString>

// The one command-line argument as the program takes it, made to mean the
// same in the running copy as in the process that was given it: a path
// relative to the current folder of that process becomes absolute, and a
// file: URL (desktops pass local files to the program's %u as those) becomes
// its local path. Links of other schemes, such as tmk://, and empty text
// stay as they are.
QString normalizedArgument(const QString &argument);
