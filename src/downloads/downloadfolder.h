#pragma once

#include <QString>

#include <memory>

class QTemporaryDir;

// Where downloads in progress live: a folder of the user's own inside the
// temporary folder, reachable by no one else, with one fresh subfolder per
// download, so that a download never meets a file it did not make.
namespace DownloadFolder {

// <temporary folder>/tamsel-downloads-<user id>, made with mode 0700 when
// missing. Empty, with the reason in error, when it cannot be made or is not
// the user's own (another owner, a symbolic link, not a folder).
QString privateFolder(QString *error = nullptr);

// A new empty subfolder of the private folder, removed with everything in
// it when the returned object goes; null with the reason in error.
std::unique_ptr<QTemporaryDir> newDownloadFolder(QString *error = nullptr);

} // namespace DownloadFolder
