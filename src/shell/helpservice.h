#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The program's help: HTML pages in a folder named "HELP", opened in the
// desktop's web browser. Widget-free; main thread only (opening a page needs
// the GUI application object).
//
// Where the help is: the first of these folders that exists,
//  1. "HELP" in the program's data folder: beside the executable in the
//     build tree, PREFIX/share/orvak-tamsel/HELP once installed,
//  2. "Orvak/Orvak Tamsel/HELP" in each data folder of the user and of the
//     system, in their usual order ($XDG_DATA_HOME, then $XDG_DATA_DIRS,
//     for example /usr/share/Orvak/Orvak Tamsel/HELP for an installed copy).
//
// Which page a topic opens: every topic number has its own page named after
// the number, "<topic>.html", directly in the help folder; a topic whose page
// is missing opens "index.html", which every help folder has. The topics the
// program asks for:
//   1000 help topics (menu)           1010 My collection
//   1020 Scan results                 1030 Tasks
//   1040 single view (player)         1050 Downloads
//   1060 settings: conversion type    1070 settings: folders, and the folder dialog
//   1080 settings: memory             1090 settings: associations
// So 1070 opens HELP/1070.html when the help ships one, else HELP/index.html.
namespace Help {

enum class Failure {
    NotInstalled, // no help folder, or neither the topic's page nor index.html in it
    CannotOpen,   // the page exists but the desktop has nothing to show it with
};

// Told about every failure of openHelp, with the topic and the page that was
// to be opened (empty when there is none). The dialogs install one at
// start-up that shows a themed message; without one a failure is only
// logged.
using FailureHandler = std::function<void(Failure failure, int topic, const QString &page)>;
void setFailureHandler(FailureHandler handler);

// The folders looked at, in order (whether they exist or not).
QStringList searchFolders();
// The help folder in use: the first of searchFolders() that exists, or empty.
QString helpFolder();
// The absolute path of the page for topic, or empty when the help has none.
QString pagePath(int topic);

// Opens the page for topic with the desktop's URL handler. Returns false,
// after telling the failure handler, when no help is installed or the page
// cannot be shown.
bool openHelp(int topic);

} // namespace Help
