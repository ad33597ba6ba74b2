#pragma once

#include <QByteArray>
#include <QString>

// The program's desktop entry: the file by which the desktop knows the
// program, its name and icon, how to start it with a file or link, and
// which types of files and links it opens. The user's copy, in
// $XDG_DATA_HOME/applications, names the program by its absolute path, so it
// starts the copy that wrote it wherever that is installed; it takes the
// place of an installed entry of the same file id.
namespace DesktopEntry {

// "com.orvak.Tamsel.desktop".
QString fileId();
// $XDG_DATA_HOME/applications.
QString userApplicationsFolder();
QString userFilePath();

// The MIME types the entry declares: the six video types and the tmk:
// link handler.
QStringList mimeTypes();

// One argument of an Exec line, written as the file must hold it: quoted
// when it holds a character the desktop would otherwise split or expand at
// (then with '"', '`', '$' and '\' escaped), every '%' doubled so it is not a
// field code, and then the escapes of a string value applied, which readers
// undo first. A plain path stays as it is.
QString execArgument(const QString &argument);
// The Exec value that starts programPath with one file path or URL.
QString execLine(const QString &programPath);

// The whole entry for programPath. The comment is in English, plus in the
// language of the loaded translation when that has one.
QByteArray contents(const QString &programPath);

// Writes the user's entry for programPath atomically, only when it differs
// from what is there. Returns false, with the reason in *error, when it
// cannot be written; *changed tells whether the file was written.
bool write(const QString &programPath, bool *changed = nullptr, QString *error = nullptr);

} // namespace DesktopEntry
