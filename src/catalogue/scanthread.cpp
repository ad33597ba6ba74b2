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

MyCollectionThread::MyCollectionThread(QObject *parent)
    : QThread(parent), m_scanLengths(Catalogue::instance().scanLengths())
{
}

void MyCollectionThread::run()
{
    Catalogue::instance().refreshMyCollection(&m_scanLengths);
    if (parent())
        QCoreApplication::postEvent(parent(), new QEvent(Rebuilt));
}
