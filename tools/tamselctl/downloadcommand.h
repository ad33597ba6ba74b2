#pragma once

#include <QStringList>

class QTextStream;

namespace DownloadCommand {

// download LINK [--to-phone SERIAL]: the program's download of a tmk://
// link, finished as the program finishes it (into My collection, measured,
// and with --to-phone copied to that phone). Progress goes to err, the
// final path in My collection to out. Ctrl+C cancels and leaves no file.
// Returns 0 done, 1 failed or cancelled, 2 usage.
int download(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace DownloadCommand
