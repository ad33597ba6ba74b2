#include "scanthread.h"

#include "catalogue.h"
#include "settingsstore.h"

#include <QCoreApplication>

CScanThread::CScanThread(QObject *parent, const QString &folder) : QThread(parent), m_folder(folder) {}

QString CScanThread::nameFilters()
{
    return QStringLiteral("*.avi,*.mpg,*.mov,*.mp4,*.wmv,*.3gp,*.mpeg");
}

void CScanThread::softTerminate()
{
    Catalogue::instance().setScanAbort(true);
}

void CScanThread::run()
{
    Catalogue &catalogue = Catalogue::instance();
    QObject *receiver = parent();
    QStringList paths;
    QList<int> lengths;
    catalogue.scanFolder(paths, lengths, Settings::myCollectionFolder(), nameFilters(), false, receiver);
    if (catalogue.scanAbort())
        return;
    catalogue.saveMyCollectionResults(paths, lengths, true);

    paths.clear();
    lengths.clear();
    catalogue.scanFolder(paths, lengths, m_folder, nameFilters(), true, receiver);
    if (catalogue.scanAbort())
        return;
    catalogue.saveScanResults(paths, lengths, true);
    if (receiver)
        QCoreApplication::postEvent(receiver, new QEvent(ScanFinished));
}

namespace {

// Carries a finished rebuild to the main thread.
const QEvent::Type s_collected = QEvent::Type(QEvent::registerEventType());

} // namespace

MyCollectionThread::MyCollectionThread(QObject *parent)
    : QThread(parent), m_source(Catalogue::instance().myCollectionSource())
{
}

MyCollectionThread::~MyCollectionThread()
{
    wait();
}

void MyCollectionThread::run()
{
    Catalogue::instance().collectMyCollection(m_source, m_items, m_pictures);
    // This object lives on the main thread: the event is handled there.
    QCoreApplication::postEvent(this, new QEvent(s_collected));
}

bool MyCollectionThread::event(QEvent *event)
{
    if (event->type() != s_collected)
        return QThread::event(event);
    Catalogue::instance().installMyCollection(std::move(m_items), std::move(m_pictures));
    m_items.clear();
    m_pictures.clear();
    // Sent, not posted: nothing may run between the new list and the
    // window's reaction to it, since views hold pointers into the old list.
    if (QObject *receiver = parent()) {
        QEvent rebuilt(Rebuilt);
        QCoreApplication::sendEvent(receiver, &rebuilt);
    }
    return true;
}
