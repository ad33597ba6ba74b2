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
        if (e->type() == CScanThread::ScanFinished) {
            finished = true;
            return true;
        }
        return QObject::event(e);
    }

    bool finished = false;

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
    if (!QFileInfo(args.first()).isDir()) {
        err << "tamselctl: no such folder: " << args.first() << "\n";
        return 1;
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
    if (!listing.finished) {
        err << "tamselctl: scan stopped; nothing was saved\n";
        return 1;
    }
    return 0;
}

} // namespace ScanCommand
