// The window's side of its four list views: filling them from the
// catalogue, and what the commands read of their selections.

#include "videotransferwindow.h"

#include "catalogue.h"
#include "fileitem.h"

void CVideoTransferWindow::clearScanView() {}

void CVideoTransferWindow::addScanRow(FileItem *) {}

void CVideoTransferWindow::refillScanView() {}

void CVideoTransferWindow::clearMyCollectionView() {}

void CVideoTransferWindow::refillMyCollectionView() {}

void CVideoTransferWindow::phoneRoomChanged(bool) {}

QList<FileItem *> CVideoTransferWindow::selectedScanItems() const
{
    return {};
}

QList<FileItem *> CVideoTransferWindow::selectedMyCollectionItems() const
{
    return {};
}

QString CVideoTransferWindow::currentScanPath() const
{
    return {};
}

QString CVideoTransferWindow::currentMyCollectionPath() const
{
    return {};
}

QList<FileItem *> CVideoTransferWindow::selectedTaskItems() const
{
    return {};
}

QList<FileItem *> CVideoTransferWindow::selectedDownloadItems() const
{
    return {};
}

void CVideoTransferWindow::removeTaskRows(const QList<FileItem *> &) {}

void CVideoTransferWindow::removeUnfinishedDownloadRows() {}

void CVideoTransferWindow::removeFinishedDownloadRows() {}
