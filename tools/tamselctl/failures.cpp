#include "failures.h"

#include "catalogue.h"

#include <QTextStream>

void printFailure(QTextStream &err, const QString &technical, const QString &friendly)
{
    err << friendly << "\n(" << technical << ")\n";
    err.flush();
    if (!Catalogue::writeLog(technical))
        err << "tamselctl: the log " << Catalogue::logPath() << " cannot be written\n";
}
