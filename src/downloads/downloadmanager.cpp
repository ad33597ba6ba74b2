#include "downloadmanager.h"

#include "copyquestion.h"
#include "downloadfolder.h"
#include "downloaditem.h"
#include "downloadstates.h"
#include "settingsstore.h"

using namespace DownloadState;

bool CopyToPhone::decide(CopyQuestion *question, const QString &name)
{
    if (!question || !question->phoneListed())
        return false;
    const int remembered = Settings::downloadToPhone();
    if (remembered != -1)
        return remembered != 0;
    return question->askCopyToPhone(name);
}

CDownloadManager::CDownloadManager(QObject *parent) : QObject(parent)
{
    // Partial files of a program that died while downloading.
    DownloadFolder::removeAbandoned();
}

CDownloadManager::~CDownloadManager()
{
    // Closing with downloads running: they end here, quietly, and take
    // their partial files with them.
    const QList<CDownloadItem *> all = findChildren<CDownloadItem *>(Qt::FindDirectChildrenOnly);
    for (CDownloadItem *download : all) {
        download->blockSignals(true);
        download->cancel();
    }
    qDeleteAll(all);
}

void CDownloadManager::setStateReceiver(QObject *context, std::function<void()> handler)
{
    m_stateContext = context;
    m_stateHandler = std::move(handler);
}

void CDownloadManager::setViewReceiver(QObject *context, std::function<void(FileItem *, bool)> handler)
{
    m_viewContext = context;
    m_viewHandler = std::move(handler);
}

void CDownloadManager::setErrorReceiver(QObject *context, std::function<void(QString, QString, QString)> handler)
{
    m_errorContext = context;
    m_errorHandler = std::move(handler);
}

bool CDownloadManager::addLink(const QString &link)
{
    add(link);
    return true;
}

CDownloadItem *CDownloadManager::add(const QString &link)
{
    auto *download = new CDownloadItem(this, link);
    if (m_viewContext && m_viewHandler)
        connect(download, &CDownloadItem::downloadViewUpdatedSlot, m_viewContext, m_viewHandler);
    if (m_stateContext && m_stateHandler)
        connect(download, &CDownloadItem::downloadStateUpdatedSlot, m_stateContext, m_stateHandler);
    if (m_errorContext && m_errorHandler)
        connect(download, &CDownloadItem::SignalErrorMessage, m_errorContext, m_errorHandler);
    download->announce(false);
    download->setCopyToPhone(CopyToPhone::decide(m_question, download->item()->name()));
    {
        QMutexLocker lock(&m_lock);
        m_downloads.append(download);
    }
    schedule();
    return download;
}

void CDownloadManager::schedule()
{
    QList<CDownloadItem *> toStart;
    {
        QMutexLocker lock(&m_lock);
        int runningNow = 0;
        for (CDownloadItem *download : std::as_const(m_downloads))
            runningNow += download->state() == Downloading;
        const QList<CDownloadItem *> snapshot = m_downloads;
        for (CDownloadItem *download : snapshot) {
            const int state = download->state();
            if (state == Queued && runningNow < MaxRunning) {
                ++runningNow;
                toStart.append(download);
            } else if (isFinal(state)) {
                m_downloads.removeOne(download);
            }
        }
    }
    // Started outside the lock: a start may end at once and schedule again.
    for (CDownloadItem *download : std::as_const(toStart)) {
        if (download->state() == Queued)
            download->start(Downloading);
    }
}

void CDownloadManager::cancelAll()
{
    QList<CDownloadItem *> all;
    {
        QMutexLocker lock(&m_lock);
        all = m_downloads;
        m_downloads.clear();
    }
    for (CDownloadItem *download : std::as_const(all))
        download->cancel();
    schedule();
}

void CDownloadManager::cancel(const QList<FileItem *> &items)
{
    QList<QUuid> ids;
    for (const FileItem *item : items)
        ids.append(item->uuid);
    cancel(ids);
}

void CDownloadManager::cancel(const QList<QUuid> &ids)
{
    QList<CDownloadItem *> chosen;
    {
        QMutexLocker lock(&m_lock);
        for (CDownloadItem *download : std::as_const(m_downloads)) {
            if (ids.contains(download->uuid()) && isActive(download->state()))
                chosen.append(download);
        }
        for (CDownloadItem *download : std::as_const(chosen))
            m_downloads.removeOne(download);
    }
    for (CDownloadItem *download : std::as_const(chosen))
        download->cancel();
    schedule();
}

void CDownloadManager::reorder(const QList<FileItem *> &itemsInViewOrder)
{
    QMutexLocker lock(&m_lock);
    QList<CDownloadItem *> queued;
    for (CDownloadItem *download : std::as_const(m_downloads)) {
        if (download->state() == Queued)
            queued.append(download);
    }
    QList<CDownloadItem *> ordered;
    for (const FileItem *item : itemsInViewOrder) {
        for (CDownloadItem *download : std::as_const(queued)) {
            if (download->uuid() == item->uuid && !ordered.contains(download))
                ordered.append(download);
        }
    }
    for (CDownloadItem *download : std::as_const(queued)) {
        if (!ordered.contains(download))
            ordered.append(download);
    }
    for (CDownloadItem *download : std::as_const(ordered))
        m_downloads.removeOne(download);
    m_downloads.append(ordered);
}

bool CDownloadManager::allFinished() const
{
    QMutexLocker lock(&m_lock);
    return std::all_of(m_downloads.begin(), m_downloads.end(),
                       [](const CDownloadItem *download) { return isFinal(download->state()); });
}

QList<CDownloadItem *> CDownloadManager::downloads() const
{
    QMutexLocker lock(&m_lock);
    return m_downloads;
}

int CDownloadManager::running() const
{
    QMutexLocker lock(&m_lock);
    return int(std::count_if(m_downloads.begin(), m_downloads.end(),
                             [](const CDownloadItem *download) { return download->state() == Downloading; }));
}
