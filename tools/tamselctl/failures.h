#pragma once

#include <QString>

class QTextStream;

// How tamselctl shows a failure: the text for the user, then the technical
// text in brackets, which also goes to the program's log, where the user's
// text ("See the log file for more information") sends the reader.
void printFailure(QTextStream &err, const QString &technical, const QString &friendly);
