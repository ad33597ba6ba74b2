#include "downloadview.h"

#include "catalogue.h"
#include "downloadfinish.h"
#include "downloadmanager.h"
#include "downloadstates.h"
#include "fileitem.h"
#include "itemactions.h"
#include "itemordering.h"
#include "mycollectionview.h"
#include "viewhost.h"

#include <QDropEvent>
#include <QHeaderView>

using namespace DownloadState;

namespace {

constexpr int DownloadSortKeys[] = {ItemOrdering::ByName, ItemOrdering::ByDownloadDate, ItemOrdering::ByStatus};

bool isRunning(int state)
{
    return state == Downloading || state == Queued;
}

// Queued, running or cancelled: what cancelling all downloads clears.
bool isUnfinished(int state)
{
    return isRunning(state) || state == Cancelled;
}

} // namespace

DownloadView::DownloadView(CViewHost *host, QWidget *parent)
    : LumoTreeView(parent, {tr("Name"), tr("Date"), tr("Status")}, false), m_host(host)
{
    setObjectName(QStringLiteral("downloadView"));
    setReorderAllowed(true);
    header()->resizeSection(0, 300);
    connect(header(), &QHeaderView::sectionClicked, this, &DownloadView::SectionClicked);
    connect(this, &QTreeWidget::itemSelectionChanged, this, &DownloadView::itemSelectionChanged);
}

DownloadView::~DownloadView() = default;

void DownloadView::refill()
{
    ItemOrdering::setSortKey(sortKey());
    fill(Catalogue::instance().downloads.items(), 3);
    UpdateListStatus();
}

void DownloadView::SectionClicked(int column)
{
    if (column < 0 || column >= int(std::size(DownloadSortKeys)))
        return;
    setSortKey(DownloadSortKeys[column]);
    takeReverseFromHeader();
    refill();
}

void DownloadView::downloadViewUpdatedSlot(FileItem *item, bool finished)
{
    if (!item)
        return;
    TreeItem *row = rowOf(item->uuid);
    if (row) {
        updateRow(row, item->rowText(3));
    } else {
        row = addRow(item, item->rowText(3));
        showLastRow();
    }
    if (finished && item->downloadState() == Completed && !m_collected.contains(item->uuid)) {
        m_collected.insert(item->uuid);
        const FinishedDownload result = Downloads::finishDownload(item, m_host->taskManager());
        // During a rebuild the new item would be lost with the old list.
        if (result.collectionItem && m_host->isCollectionBuilding())
            m_host->FillMyCollection();
        else if (result.collectionItem && m_collection)
            m_collection->addItem(result.collectionItem);
        if (result.copyQueued)
            m_host->refreshTaskStatus();
        // A file that could not be moved turned the download failed.
        updateRow(row, item->rowText(3));
    }
    UpdateListStatus();
}

void DownloadView::setButtonEnabled(const char *objectName, bool enabled)
{
    if (QWidget *button = m_host->windowButton(QLatin1String(objectName)))
        button->setEnabled(enabled);
}

bool DownloadView::UpdateListStatus()
{
    const QList<TreeItem *> rows = fileRows();
    m_running = false;
    m_finished = false;
    if (rows.isEmpty()) {
        for (const char *name : {"actionCancelAll", "actionCancelAllD", "actionCancel", "actionCancelD",
                                 "actionClearCompleted"})
            ItemActions::setEnabled(m_host, name, false);
        setButtonEnabled("toolButton_ClearCompletedDownloads", false);
        setButtonEnabled("toolButton_DeleteDownloads", false);
        return false;
    }
    bool selectedRunning = false;
    for (TreeItem *row : rows) {
        const int state = row->fileItem()->downloadState();
        if (isRunning(state)) {
            m_running = true;
            selectedRunning = selectedRunning || row->isSelected();
        } else if (state == Completed || state == Failed) {
            m_finished = true;
        }
    }
    setActions(selectedRunning);
    return true;
}

void DownloadView::setActions(bool selectedRunning)
{
    ItemActions::setEnabled(m_host, "actionCancelAll", m_running);
    ItemActions::setEnabled(m_host, "actionCancelAllD", m_running);
    ItemActions::setEnabled(m_host, "actionCancel", selectedRunning);
    ItemActions::setEnabled(m_host, "actionCancelD", selectedRunning);
    ItemActions::setEnabled(m_host, "actionClearCompleted", m_finished);
    setButtonEnabled("toolButton_ClearCompletedDownloads", m_finished);
    setButtonEnabled("toolButton_DeleteDownloads", m_running);
}

void DownloadView::itemSelectionChanged()
{
    if (m_host->currentContext() != 3)
        return;
    m_host->resetSelectionDetails();
    UpdateListStatus();
    if (QWidget *button = m_host->windowButton(QStringLiteral("toolButton_DeleteDownloads"))) {
        const QString tip =
            selectedRows().isEmpty() ? tr("Cancel all downloads") : tr("Cancel selected download(s)");
        button->setToolTip(tip);
        button->setAccessibleName(tip);
    }
}

void DownloadView::dropEvent(QDropEvent *event)
{
    bool moved = false;
    auto connection = connect(this, &LumoTreeView::rowsDropped, this, [&moved](int) { moved = true; });
    LumoTreeView::dropEvent(event);
    disconnect(connection);
    if (!moved)
        return;
    QList<FileItem *> order;
    for (TreeItem *row : fileRows())
        order.append(row->fileItem());
    if (CDownloadManager *downloads = m_host->downloadManager())
        downloads->reorder(order);
}

void DownloadView::removeRows(const QList<TreeItem *> &rows)
{
    QList<QUuid> ids;
    for (TreeItem *row : rows) {
        ids.append(row->fileItem()->uuid);
        removeRow(row);
    }
    Catalogue::instance().removeDownloads(ids);
}

void DownloadView::ClearFinished()
{
    QList<TreeItem *> done;
    for (TreeItem *row : fileRows()) {
        if (row->fileItem()->downloadState() & (DoneBit | FailedBit))
            done.append(row);
    }
    removeRows(done);
    UpdateListStatus();
    setButtonEnabled("toolButton_ClearCompletedDownloads", false);
}

void DownloadView::ClearAllDownloading()
{
    QList<TreeItem *> unfinished;
    for (TreeItem *row : fileRows()) {
        if (isUnfinished(row->fileItem()->downloadState()))
            unfinished.append(row);
    }
    removeRows(unfinished);
}

QList<QUuid> DownloadView::ClearSelectedDownloading()
{
    QList<TreeItem *> unfinished;
    QList<QUuid> ids;
    for (TreeItem *row : selectedRows()) {
        if (isUnfinished(row->fileItem()->downloadState())) {
            unfinished.append(row);
            ids.append(row->fileItem()->uuid);
        }
    }
    // The downloads are cancelled by the caller: their entries stay until then.
    for (TreeItem *row : std::as_const(unfinished))
        removeRow(row);
    return ids;
}
