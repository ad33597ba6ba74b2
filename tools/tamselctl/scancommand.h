#pragma once

#include <QStringList>

class QTextStream;

namespace ScanCommand {

// scan DIR: the program's own scan (My collection first, then DIR), one line
// per video as it is found: path, tab, seconds. Ctrl+C stops it: nothing
// more is saved. Returns 0 finished, 1 stopped or failed, 2 usage.
int scan(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace ScanCommand
