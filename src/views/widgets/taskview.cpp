#include "taskview.h"

#include "catalogue.h"
#include "fileitem.h"
#include "itemactions.h"
#include "itemordering.h"
#include "mycollectionview.h"
#include "settingsstore.h"
#include "taskitem.h"
#include "taskmanager.h"
#include "taskstates.h"
#include "viewhost.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>

using namespace TaskState;

namespace {

// A state the scheduler reports for its own bookkeeping; no row shows it.
constexpr int IgnoredState = 0x1000013;

constexpr int TaskSortKeys[] = {ItemOrdering::ByName, ItemOrdering::ByLength, ItemOrdering::BySize,
                                ItemOrdering::ByStatus};

// The phone copy a finished copy to the phone made: the PC copy's file in
// the phone folder the task was queued for.
void placeOnPhone(FileItem &result, const FileItem *taskItem)
{
    const auto *task = dynamic_cast<const CTaskItem *>(taskItem->task);
    if (task && !result.pc.path.isEmpty()) {
        result.phone.assignFrom(result.pc, task->context().phoneVideoFolder);
        result.phone.found = true;
    }
}

} // namespace

TaskView::TaskView(CViewHost *host, QWidget *parent)
    : LumoTreeView(parent, {tr("Name"), tr("Length"), tr("Size"), tr("Status")}, false), m_host(host)
{
    setObjectName(QStringLiteral("taskView"));
    setReorderAllowed(true);
    const int widths[] = {260, 75, 85};
    for (int column = 0; column < int(std::size(widths)); ++column)
        header()->resizeSection(column, widths[column]);
    connect(header(), &QHeaderView::sectionClicked, this, &TaskView::SectionClicked);
    connect(this, &QTreeWidget::itemSelectionChanged, this, &TaskView::itemSelectionChanged);
}

TaskView::~TaskView() = default;

QList<FileItem *> TaskView::items() const
{
    QList<FileItem *> list;
    for (TreeItem *row : fileRows())
        list.append(row->fileItem());
    return list;
}

void TaskView::refill()
{
    QList<FileItem *> list;
    if (CTaskManager *tasks = m_host->taskManager()) {
        for (CTaskItem *task : tasks->tasks())
            list.append(task->item());
    }
    // The finished tasks the queue has dropped keep their rows.
    for (FileItem *shown : items()) {
        if (!list.contains(shown))
            list.append(shown);
    }
    ItemOrdering::setSortKey(sortKey());
    fill(list, 2);
}

void TaskView::SectionClicked(int column)
{
    if (column < 0 || column >= int(std::size(TaskSortKeys)))
        return;
    setSortKey(TaskSortKeys[column]);
    takeReverseFromHeader();
    refill();
}

void TaskView::itemSelectionChanged()
{
    if (m_host->currentContext() != 2)
        return;
    setTaskActions();
}

void TaskView::setTaskActions()
{
    m_host->resetSelectionDetails();
    const bool rows = !fileRows().isEmpty();
    const bool selected = !selectedRows().isEmpty();
    ItemActions::setEnabled(m_host, "actionCancelAll", rows);
    ItemActions::setEnabled(m_host, "actionCancelAllD", rows);
    ItemActions::setEnabled(m_host, "actionCancel", selected);
    ItemActions::setEnabled(m_host, "actionCancelD", selected);
    ItemActions::setEnabled(m_host, "actionClearCompleted", false);
    if (QWidget *button = m_host->windowButton(QStringLiteral("toolButton_DeleteTasks"))) {
        const QString tip = selected ? tr("Cancel selected task(s)") : tr("Cancel all tasks");
        button->setToolTip(tip);
        button->setAccessibleName(tip);
    }
}

void TaskView::dropEvent(QDropEvent *event)
{
    int target = -1;
    auto connection = connect(this, &LumoTreeView::rowsDropped, this, [&target](int row) { target = row; });
    LumoTreeView::dropEvent(event);
    disconnect(connection);
    if (target >= 0) {
        if (CTaskManager *tasks = m_host->taskManager())
            tasks->moveTasks(selectedFileItems(), target);
    }
}

void TaskView::taskViewUpdatedSlot(FileItem *item, bool finished)
{
    if (!item)
        return;
    const int state = item->taskState();
    if (state == IgnoredState)
        return;
    if (finished && state == Cancelled) {
        // The queue has dropped the task.
        for (FileItem &listed : Catalogue::instance().tasks) {
            if (listed.uuid == item->uuid)
                listed.task = nullptr;
        }
        return;
    }
    if (TreeItem *row = rowOf(item->uuid)) {
        updateRow(row, item->rowText(2));
    } else {
        addRow(item, item->rowText(2));
        showLastRow();
    }
    if (!finished)
        return;
    if (!item->hasFailed())
        takeResult(item, item->taskKind());
    // Seen by the user: the queue drops the task at its next pass, and the
    // row keeps its last status.
    if (auto *task = dynamic_cast<CTaskItem *>(item->task)) {
        task->setState(Cancelled);
        task->manager()->notify(task);
    }
}

void TaskView::takeResult(FileItem *item, int kind)
{
    if (m_host->isCollectionBuilding()) {
        // The rebuild may have looked before this task changed the files.
        m_host->FillMyCollection();
        if (kind == CopyToPcKind && m_host->takePlayWhenCopied(item->uuid)) {
            const QString copied = Settings::myCollectionFolder() + QLatin1Char('/') + item->name(item->phone.path);
            if (QFileInfo::exists(copied))
                m_host->playFile(copied);
        }
        kind = NoTaskKind;
    }
    switch (kind) {
    case ConvertKind:
    case ConvertAndCopyKind:
        takeConversion(item);
        break;
    case DeletePcKind:
    case DeletePhoneKind:
        takeDeletion(item, kind);
        break;
    case CopyToPcKind:
        takeCopyToPc(item);
        break;
    case CopyToPhoneKind:
        takeCopyToPhone(item);
        break;
    default:
        break;
    }
    m_host->refreshTaskStatus();
    setTaskActions();
}

void TaskView::takeConversion(FileItem *item)
{
    if (!m_collection)
        return;
    FileItem *converted = Catalogue::instance().appendMyCollectionItem();
    converted->pc.setFromFile(item->pc.path);
    converted->pc.playbackLength = item->pc.playbackLength;
    if (item->taskKind() == ConvertAndCopyKind)
        placeOnPhone(*converted, item);
    converted->syncStates();
    m_collection->addItem(converted);
}

void TaskView::takeDeletion(FileItem *item, int kind)
{
    if (!m_collection)
        return;
    m_collection->updateAfterTask(item, kind);
    if (!m_collection->rowOf(item->uuid)) {
        Catalogue::instance().removeMyCollectionItem(item->uuid);
        if (m_collection->selectedRows().isEmpty())
            m_host->resetSelectionDetails();
    }
}

void TaskView::takeCopyToPc(FileItem *item)
{
    if (!m_collection)
        return;
    Catalogue &catalogue = Catalogue::instance();
    FileItem result = *item;
    result.task = nullptr;
    result.pc.setFromFile(Settings::myCollectionFolder() + QLatin1Char('/') + item->name(item->phone.path));
    result.pc.playbackLength = item->playbackLength();
    if (!m_collection->rowOf(item->uuid)) {
        FileItem *added = catalogue.myCollection.append(result);
        added->syncStates();
        m_collection->addItem(added);
    } else {
        m_collection->updateAfterTask(&result, CopyToPcKind);
    }
    if (m_host->takePlayWhenCopied(item->uuid) && result.pc.exists())
        m_host->playFile(result.pc.path);
}

void TaskView::takeCopyToPhone(FileItem *item)
{
    if (!m_collection)
        return;
    FileItem result = *item;
    result.task = nullptr;
    placeOnPhone(result, item);
    if (!m_collection->rowOf(item->uuid)) {
        FileItem *added = Catalogue::instance().myCollection.append(result);
        added->syncStates();
        m_collection->addItem(added);
    } else {
        m_collection->updateAfterTask(&result, CopyToPhoneKind);
    }
}
