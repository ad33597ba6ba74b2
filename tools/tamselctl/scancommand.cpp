#include "scancommand.h"

#include "catalogue.h"
#include "interrupt.h"
#include "scanthread.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

namespace {

// Prints what the scan announces, as the main window would list it.
class Listing final : public QObject
{
public:
    explicit Listing(QTextStream &out) : m_out(out) {}

    bool event(QEvent *e) override
    {
        if (e->type() == QScanFileEvent::Type) {
            const auto *found = static_cast<QScanFileEvent *>(e);
            m_out << found->path << '\t' << found->playbackLength << '\n' << Qt::flush;
            return true;
        }
        return QObject::event(e);
    }

private:
    QTextStream &m_out;
};

} // namespace

namespace ScanCommand {

int scan(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (args.size() != 1) {
        err << "usage: tamselctl scan DIR\n";
        return 2;
    }
    Listing listing(out);
    Catalogue::instance().setScanAbort(false);
    CScanThread scan(&listing, QFileInfo(args.first()).absoluteFilePath());
    Interrupt interrupt;
    QObject::connect(&interrupt, &Interrupt::requested, &scan, &CScanThread::softTerminate);
    QObject::connect(&scan, &QThread::finished, QCoreApplication::instance(), &QCoreApplication::quit);
    scan.start();
    QCoreApplication::exec();
    scan.wait();
    QCoreApplication::sendPostedEvents(&listing);
    if (!scan.errorText().isEmpty())
        err << "tamselctl: " << scan.errorText() << "\n";
    if (!scan.completed()) {
        // The lengths measured so far are worth keeping; the list is not.
        if (scan.cacheWritten())
            err << "tamselctl: scan stopped; the scan results were not saved "
                   "(the lengths measured so far are in the My collection cache)\n";
        else
            err << "tamselctl: scan stopped; nothing was saved\n";
        return 1;
    }
    return scan.succeeded() ? 0 : 1;
}

} // namespace ScanCommand
