#include "mycollectionview.h"

#include "catalogue.h"
#include "fileitem.h"
#include "itemactions.h"
#include "itemordering.h"
#include "messagedialog.h"
#include "storagebtns.h"
#include "taskitem.h"
#include "taskmanager.h"
#include "taskstates.h"
#include "taskview.h"
#include "viewhost.h"

#include <QActionGroup>
#include <QHeaderView>
#include <QMenu>
#include <QKeyEvent>
#include <QMouseEvent>

using namespace TaskState;

MyCollectionView::MyCollectionView(CViewHost *host, QWidget *parent)
    : LumoTreeView(parent,
                   {tr("Name"), tr("Length"), tr("Size"), tr("Type"), tr("Created"), tr("Storage")},
                   true),
      m_host(host), m_storageMenu(new QMenu(this)), m_storageGroup(new QActionGroup(this))
{
    setObjectName(QStringLiteral("myCollectionView"));
    setStorageColumn(StorageColumn);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    header()->setSectionsMovable(false);
    const int widths[] = {220, 75, 85, 55, 110, 60};
    for (int column = 0; column < int(std::size(widths)); ++column)
        header()->resizeSection(column, widths[column]);

    m_storageMenu->setObjectName(QStringLiteral("storageMenu"));
    m_byPc = m_storageMenu->addAction(tr("Sort by Stored on PC only"));
    m_byPhone = m_storageMenu->addAction(tr("Sort by Stored on Phone only"));
    m_byBoth = m_storageMenu->addAction(tr("Sort by Stored on Both"));
    const int keys[] = {ItemOrdering::PcOnlyFirst, ItemOrdering::PhoneOnlyFirst, ItemOrdering::BothFirst};
    int i = 0;
    for (QAction *action : {m_byPc, m_byPhone, m_byBoth}) {
        action->setCheckable(true);
        action->setData(keys[i++]);
        m_storageGroup->addAction(action);
    }
    m_storageGroup->setExclusive(true);

    connect(header(), &QHeaderView::sectionClicked, this, &MyCollectionView::SectionClicked);
    connect(this, &QTreeWidget::itemClicked, this, &MyCollectionView::itemClicked);
    connect(this, &QTreeWidget::itemSelectionChanged, this, &MyCollectionView::itemSelectionChanged);
    connect(m_storageMenu, &QMenu::triggered, this, &MyCollectionView::SortByStorage);
}

MyCollectionView::~MyCollectionView() = default;

QList<QAction *> MyCollectionView::storageActions() const
{
    return {m_byPc, m_byPhone, m_byBoth};
}

void MyCollectionView::refill()
{
    ItemOrdering::setSortKey(sortKey());
    fill(Catalogue::instance().myCollection.items(), 0);
}

TreeItem *MyCollectionView::addItem(FileItem *item)
{
    ItemOrdering::setSortKey(sortKey());
    TreeItem *row = addGroupedRow(item, item->rowText(0));
    showLastRow();
    return row;
}

// --- sorting

void MyCollectionView::SectionClicked(int column)
{
    if (column >= NameColumn && column <= CreatedColumn) {
        setSortKey(column);
        if (QAction *checked = m_storageGroup->checkedAction())
            checked->setChecked(false);
        takeReverseFromHeader();
        refill();
        return;
    }
    if (column == StorageColumn && Catalogue::instance().myCollection.size() > 1) {
        const QPoint below(header()->sectionViewportPosition(column), header()->height());
        m_storageMenu->popup(header()->viewport()->mapToGlobal(below));
    }
}

void MyCollectionView::SortByStorage(QAction *action)
{
    if (!action)
        return;
    action->setChecked(true);
    setSortKey(action->data().toInt());
    refill();
}

void MyCollectionView::menu_sortbyName() { SectionClicked(NameColumn); }
void MyCollectionView::menu_sortbyLenght() { SectionClicked(LengthColumn); }
void MyCollectionView::menu_sortbySize() { SectionClicked(SizeColumn); }
void MyCollectionView::menu_sortbyType() { SectionClicked(TypeColumn); }
void MyCollectionView::menu_sortbyCreated() { SectionClicked(CreatedColumn); }
void MyCollectionView::menu_sortbyStorageByPC() { SortByStorage(m_byPc); }
void MyCollectionView::menu_sortbyStorageByPhone() { SortByStorage(m_byPhone); }
void MyCollectionView::menu_sortbyStorageByBoth() { SortByStorage(m_byBoth); }

// --- the storage buttons

void MyCollectionView::clickCurrentButton(bool phoneSide)
{
    auto *row = static_cast<TreeItem *>(currentItem());
    if (row && !row->isGroupHeader())
        storageClicked(row, phoneSide);
}

void MyCollectionView::menu_copy2PC() { clickCurrentButton(false); }
void MyCollectionView::menu_DelFromPC() { clickCurrentButton(false); }
void MyCollectionView::menu_copy2Phone() { clickCurrentButton(true); }
void MyCollectionView::menu_DelFromPhone() { clickCurrentButton(true); }

void MyCollectionView::queueTask(FileItem *item, int kind)
{
    CTaskManager *tasks = m_host->taskManager();
    if (!tasks)
        return;
    // The queue's own tasks count too: a row may not have been shown yet.
    QList<FileItem *> current = m_tasks ? m_tasks->items() : QList<FileItem *>();
    for (CTaskItem *task : tasks->tasks())
        current.append(task->item());
    tasks->addTasks({item}, current, kind);
    m_host->refreshTaskStatus();
}

void MyCollectionView::storageClicked(TreeItem *row, bool phoneSide)
{
    if (!row || !row->fileItem())
        return;
    setCurrentItem(row);
    if (phoneSide)
        phoneClicked(row);
    else
        pcClicked(row);
}

void MyCollectionView::pcClicked(TreeItem *row)
{
    FileItem *item = row->fileItem();
    const QString question = tr("Are you sure you want to delete '%1'?").arg(item->pc.name);
    switch (item->pc.syncState) {
    case 0:
    case 1: {
        const QString name = item->name(item->phone.path);
        TreeItem *existing = nullptr;
        // The file in My collection the copy would replace.
        for (TreeItem *other : fileRows()) {
            const FileItem *shown = other->fileItem();
            if (other != row && shown->location() != FileItem::PhoneOnly
                && shown->name(shown->pc.path) == name) {
                existing = other;
                break;
            }
        }
        if (existing) {
            const int answer = CMessageDialog::ask(CMessageDialog::OkCancelButtons, tr("Warning"),
                                                   tr("Are you sure you want to overwrite the existing file"));
            if (!CMessageDialog::isConfirmed(answer))
                return;
            m_host->stopPlayer();
            queueTask(existing->fileItem(), DeletePcKind);
        }
        queueTask(item, CopyToPcKind);
        break;
    }
    case 2:
    case 3:
        if (!CMessageDialog::isConfirmed(
                CMessageDialog::ask(CMessageDialog::OkCancelButtons, tr("Warning"), question)))
            return;
        m_host->stopPlayer();
        queueTask(item, DeletePcKind);
        break;
    default:
        break;
    }
}

void MyCollectionView::phoneClicked(TreeItem *row)
{
    FileItem *item = row->fileItem();
    // Also from the menu: nothing goes to or leaves a phone that is not there.
    if (!m_host->hasPhoneEntries())
        return;
    const QString question = tr("Are you sure you want to delete '%1'?").arg(item->phone.name);
    switch (item->phone.syncState) {
    case 0:
    case 1:
        queueTask(item, CopyToPhoneKind);
        break;
    case 2:
    case 3:
        if (!CMessageDialog::isConfirmed(
                CMessageDialog::ask(CMessageDialog::OkCancelButtons, tr("Warning"), question)))
            return;
        queueTask(item, DeletePhoneKind);
        break;
    default:
        break;
    }
}

// --- clicks and the selection

void MyCollectionView::itemClicked(QTreeWidgetItem *row, int)
{
    if (m_doubleClicked) {
        m_doubleClicked = false;
        return;
    }
    if (row && row->childCount() > 0)
        row->setExpanded(!row->isExpanded());
}

void MyCollectionView::mouseDoubleClickEvent(QMouseEvent *event)
{
    m_doubleClicked = true;
    if (event->button() == Qt::LeftButton)
        playSelected();
}

void MyCollectionView::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        playSelected();
        return;
    }
    LumoTreeView::keyPressEvent(event);
}

void MyCollectionView::playSelected()
{
    const QList<TreeItem *> selected = selectedRows();
    if (selected.size() != 1)
        return;
    FileItem *item = selected.constFirst()->fileItem();
    if (!item || !item->exists())
        return;
    if (item->location() == FileItem::PhoneOnly) {
        const int answer = CMessageDialog::ask(CMessageDialog::OkCancelButtons, tr("Warning"),
                                               tr("Copy '%1' to My Collection Folder and Play?").arg(item->name()));
        if (!CMessageDialog::isConfirmed(answer))
            return;
        m_host->playWhenCopied(item->uuid);
        queueTask(item, CopyToPcKind);
        return;
    }
    m_host->playFile(item->pc.path);
}

void MyCollectionView::itemSelectionChanged()
{
    if (m_host->currentContext() != 0)
        return;
    m_host->resetSelectionDetails();
    const QList<TreeItem *> selected = selectedRows();
    if (selected.size() == 1) {
        FileItem *item = selected.constFirst()->fileItem();
        m_host->showSelectionDetails(item, totalSize());
        ItemActions::enableFor(m_host, item);
    } else {
        ItemActions::disableAll(m_host);
    }
}

// --- after a task

void MyCollectionView::updateAfterTask(const FileItem *taskItem, int kind)
{
    TreeItem *row = rowOf(taskItem->uuid);
    FileItem *item = row ? row->fileItem() : nullptr;
    if (!item)
        return;
    switch (kind) {
    case DeletePcKind:
        item->pc.clear();
        break;
    case DeletePhoneKind:
        item->phone.clear();
        break;
    case CopyToPcKind:
        item->pc = taskItem->pc;
        break;
    case CopyToPhoneKind:
        item->phone = taskItem->phone;
        break;
    default:
        break;
    }
    item->syncStates();
    if (item->isEmpty()) {
        removeRow(row);
    } else {
        updateRow(row, item->rowText(0));
        if (StorageBtns *buttons = row->storageButtons())
            buttons->refreshButtons();
    }
    itemSelectionChanged();
}
