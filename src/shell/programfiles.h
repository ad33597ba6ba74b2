#pragma once

#include <QString>

// Where the program's own files are. The same executables run from the
// build tree, where everything sits beside them in bin/, and installed,
// where they are PREFIX/bin/tamsel and PREFIX/bin/tamselctl and their data
// is PREFIX/share/orvak-tamsel/. The libraries the program loads at run time
// (the connectivity library and the two components) are not listed here:
// they sit beside the executables in the build tree and in
// PREFIX/lib/orvak-tamsel once installed, which the executables' run path
// names, so the dynamic loader finds them by file name.
//
// Every function needs the application object (the answers start from the
// executable's location) and may be called from any thread.
namespace ProgramFiles {

// The desktop's name for the program: the file id of its desktop entry
// without ".desktop", the name of its icon and of its AppStream component.
inline constexpr char AppId[] = "com.orvak.Tamsel";

// The running executable as another program can start it: an absolute path
// with symbolic links resolved, whatever path or PATH lookup started it.
QString programPath();

// The folder that holds Resource/, Lang/, translations/ and HELP/: the
// installed data folder PREFIX/share/orvak-tamsel when it sits beside the
// executable's bin folder, else the executable's own folder.
QString dataFolder();
bool isInstalled();

QString resourcePackage();
// At most one translation an installer chose; it wins over the user's language.
QString langFolder();
// Every translation shipped, picked from by the user's language.
QString translationsFolder();

// The program's icon as a scalable picture, or empty when there is none:
// in the hicolor icon theme of the installed data, or beside the
// executable in the build tree.
QString iconFile();

} // namespace ProgramFiles
