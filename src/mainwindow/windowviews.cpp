// The window's side of its four list views: making them, filling them from
// the catalogue, what the commands read of their selections, and what the
// views ask of the window.

#include "videotransferwindow.h"

#include "catalogue.h"
#include "contextswitcher.h"
#include "downloadmanager.h"
#include "downloadview.h"
#include "fileitem.h"
#include "mycollectionview.h"
#include "scanview.h"
#include "taskmanager.h"
#include "taskview.h"
#include "ui_videotransferwindow.h"

#include <QVBoxLayout>

void CVideoTransferWindow::setUpViews()
{
    m_myCollectionView = new MyCollectionView(this, m_ui->pageMyCollection);
    m_scanView = new ScanView(this, m_ui->pageScanResults);
    m_taskView = new TaskView(this, m_ui->pageTasks);
    m_downloadView = new DownloadView(this, m_ui->pageDownloads);
    m_ui->pageMyCollectionLayout->addWidget(m_myCollectionView);
    m_ui->pageScanResultsLayout->addWidget(m_scanView);
    m_ui->pageTasksLayout->addWidget(m_taskView);
    m_ui->pageDownloadsLayout->addWidget(m_downloadView);
    m_myCollectionView->setTaskView(m_taskView);
    m_taskView->setMyCollectionView(m_myCollectionView);
    m_downloadView->setMyCollectionView(m_myCollectionView);
    m_myCollectionView->setPhoneConnected(false);
}

void CVideoTransferWindow::connectViewEntries()
{
    m_taskManager->setViewReceiver(m_taskView,
                                   [this](FileItem *item, bool finished) { m_taskView->taskViewUpdatedSlot(item, finished); });
    m_downloadManager->setViewReceiver(m_downloadView, [this](FileItem *item, bool finished) {
        m_downloadView->downloadViewUpdatedSlot(item, finished);
    });

    MyCollectionView *collection = m_myCollectionView;
    ScanView *scan = m_scanView;
    const struct
    {
        QAction *action;
        QObject *view;
        const char *slot;
    } entries[] = {
        {m_ui->actionCopy_to_phone, collection, "menu_copy2Phone"},
        {m_ui->actionCopy_to_PC, collection, "menu_copy2PC"},
        {m_ui->actionRemove_from_phone, collection, "menu_DelFromPhone"},
        {m_ui->actionRemove_from_PC, collection, "menu_DelFromPC"},
        {m_ui->actionMyCollectionSortByName, collection, "menu_sortbyName"},
        {m_ui->actionMyCollectionSortByLenght, collection, "menu_sortbyLenght"},
        {m_ui->actionMyCollectionSortBySize, collection, "menu_sortbySize"},
        {m_ui->actionMyCollectionSortByType, collection, "menu_sortbyType"},
        {m_ui->actionMyCollectionSortByCreated, collection, "menu_sortbyCreated"},
        {m_ui->actionMyCollectionSortByStorageByPC, collection, "menu_sortbyStorageByPC"},
        {m_ui->actionMyCollectionSortByStorageByPhone, collection, "menu_sortbyStorageByPhone"},
        {m_ui->actionMyCollectionSortByStorageByBoth, collection, "menu_sortbyStorageByBoth"},
        {m_ui->actionScanSortByName, scan, "menu_sortbyName"},
        {m_ui->actionScanSortByLenght, scan, "menu_sortbyLenght"},
        {m_ui->actionScanSortBySize, scan, "menu_sortbySize"},
        {m_ui->actionScanSortByType, scan, "menu_sortbyType"},
        {m_ui->actionScanSortByCreated, scan, "menu_sortbyCreated"},
        {m_ui->actionScanSortByLocation, scan, "menu_sortbyLocation"},
        {m_ui->actionDelete_DEL, scan, "menu_remove"},
    };
    for (const auto &entry : entries) {
        QObject *view = entry.view;
        const QByteArray slot = entry.slot;
        connect(entry.action, &QAction::triggered, view, [view, slot] { QMetaObject::invokeMethod(view, slot.constData()); });
    }
    // The Tasks list's own header sorts it; its menu entries do the same.
    const QAction *taskEntries[] = {m_ui->actionTasksSortByName, m_ui->actionTasksSortByLenght,
                                    m_ui->actionTasksSortBySize, m_ui->actionTasksSortByStatus};
    for (int column = 0; column < 4; ++column)
        connect(taskEntries[column], &QAction::triggered, m_taskView, [this, column] { m_taskView->SectionClicked(column); });
}

// --- what the commands do with the lists

void CVideoTransferWindow::clearScanView()
{
    m_scanView->clear();
}

void CVideoTransferWindow::addScanRow(FileItem *item)
{
    m_scanView->addItem(item);
}

void CVideoTransferWindow::refillScanView()
{
    m_scanView->refill();
}

void CVideoTransferWindow::clearMyCollectionView()
{
    m_myCollectionView->clear();
}

void CVideoTransferWindow::refillMyCollectionView()
{
    m_myCollectionView->setPhoneConnected(hasPhoneEntries());
    m_myCollectionView->refill();
}

void CVideoTransferWindow::phoneRoomChanged(bool)
{
    // The phone buttons follow whether a phone is listed; a full memory is
    // told by the selection size in red.
    m_myCollectionView->setPhoneConnected(hasPhoneEntries());
}

QList<FileItem *> CVideoTransferWindow::selectedScanItems() const
{
    return m_scanView->selectedFileItems();
}

QList<FileItem *> CVideoTransferWindow::selectedMyCollectionItems() const
{
    return m_myCollectionView->selectedFileItems();
}

// A row whose file has gone still gives its path: opening it tells the
// user so, instead of doing nothing.
QString CVideoTransferWindow::currentScanPath() const
{
    const FileItem *item = m_scanView->currentRowItem();
    return item ? item->path() : QString();
}

QString CVideoTransferWindow::currentMyCollectionPath() const
{
    const FileItem *item = m_myCollectionView->currentRowItem();
    return item ? item->path() : QString();
}

QList<FileItem *> CVideoTransferWindow::selectedTaskItems() const
{
    return m_taskView->selectedFileItems();
}

QList<FileItem *> CVideoTransferWindow::selectedDownloadItems() const
{
    return m_downloadView->selectedFileItems();
}

void CVideoTransferWindow::removeTaskRows(const QList<FileItem *> &items)
{
    if (items.isEmpty()) {
        m_taskView->clear();
        return;
    }
    for (FileItem *item : items)
        m_taskView->removeRow(m_taskView->rowOf(item->uuid));
}

void CVideoTransferWindow::removeUnfinishedDownloadRows()
{
    m_downloadView->ClearAllDownloading();
}

void CVideoTransferWindow::removeFinishedDownloadRows()
{
    m_downloadView->ClearFinished();
}

// --- CViewHost

void CVideoTransferWindow::resetSelectionDetails()
{
    m_ui->label_MemorySelectionSize->setText(QString());
}

void CVideoTransferWindow::showSelectionDetails(FileItem *item, qint64)
{
    if (item)
        showSelectionSize(item->size(), true);
}

QAction *CVideoTransferWindow::menuAction(const QString &objectName) const
{
    return findChild<QAction *>(objectName);
}

QWidget *CVideoTransferWindow::windowButton(const QString &objectName) const
{
    return findChild<QWidget *>(objectName);
}

void CVideoTransferWindow::stopPlayer()
{
    Orvak_API::VideoPlayer &player = m_switcher->videoPlayer();
    if (player.isFileOpen())
        player.closeFile();
    m_switcher->setPlaying(false);
}

void CVideoTransferWindow::playFile(const QString &path)
{
    m_switcher->openFile(path);
}

void CVideoTransferWindow::playWhenCopied(const QUuid &item)
{
    m_playWhenCopied = item;
}

bool CVideoTransferWindow::takePlayWhenCopied(const QUuid &item)
{
    if (m_playWhenCopied.isNull() || m_playWhenCopied != item)
        return false;
    m_playWhenCopied = QUuid();
    return true;
}

void CVideoTransferWindow::refreshTaskStatus()
{
    taskStateUpdatedSlot();
    updateTaskButtons();
}
