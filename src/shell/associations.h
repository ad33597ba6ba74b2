#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "programfiles.h"

// Which files and links the desktop opens with this program. The program
// has one desktop entry (see desktopentry.h) that declares it can open the
// six video types and tmk:// links; whether it is the *default* for a type
// is the user's choice in $XDG_CONFIG_HOME/mimeapps.list (see
// mimeappslist.h). Main thread only. Failures are logged and returned, never
// shown: the program works without them, only the desktop will not hand it
// files.
namespace Associations {

// The file types the settings switch, by their keys in the settings
// dialog's value map: "3gp", "avi", "mov", "mp4", "mpg", "wmv". The key
// "mpg" stands for .mpeg files too: both are video/mpeg.
QStringList fileTypeKeys();
// The MIME type of a key ("mp4" gives "video/mp4"); empty for any other key.
QString mimeType(const QString &key);
// The type the desktop uses for tmk:// links.
inline constexpr char LinkMimeType[] = "x-scheme-handler/tmk";

// Whether the user's default application for the key's type is this
// program's desktop entry (the first desktop file id listed for the type in
// the user's mimeapps.list).
bool isAssociated(const QString &key);

// For the settings dialog: sets the six keys of values to isAssociated().
void readFlags(QVariantMap &values);

// The settings apply: writes the program's desktop entry again; then, for
// each of the six keys present in values, makes the program the default
// for its type when the flag is true, and when it is false removes the
// program from the type's defaults only while it is still the default (a
// default the user gave another program stays). Keys missing from values
// (a check box the dialog did not offer) and other keys ("asx") change
// nothing. The tmk:// default is not touched. Returns false when a file
// could not be written.
bool applyFlags(const QVariantMap &values, const QString &programPath = ProgramFiles::programPath());

// The registration of a first run: the desktop entry, and the program as
// the default for 3gp and mp4 files and for tmk:// links. The other types
// keep their present default until the user switches them on.
bool registerAtFirstRun(const QString &programPath = ProgramFiles::programPath());

} // namespace Associations
