#include "lumotreeview.h"

#include "fileitem.h"
#include "itemdelegate.h"
#include "itemordering.h"
#include "storagebtns.h"
#include "theme.h"

#include <QApplication>
#include <QDrag>
#include <QFontDatabase>
#include <QHash>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSet>
#include <QTimer>

TreeItem::~TreeItem() = default;

namespace {

QFont listFont()
{
    QFont font = QFontDatabase::font(QStringLiteral("Orvak Standard Light"), QStringLiteral("Normal"), 8);
    font.setFamily(QStringLiteral("Orvak Standard Light"));
    font.setPointSize(8);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace

LumoTreeView::LumoTreeView(QWidget *parent, const QStringList &headerLabels, bool grouping)
    : QTreeWidget(parent), m_grouping(grouping)
{
    const QFont font = listFont();
    setFont(font);
    header()->setFont(font);

    setIndentation(0);
    setHeaderLabels(headerLabels);
    setFrameStyle(QFrame::NoFrame | QFrame::Plain);
    setLineWidth(0);

    // The theme paints the selection; the standard highlight must not show.
    QPalette colours = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Highlight, QColor(0, 0, 0, 0));
        colours.setColor(group, QPalette::HighlightedText, QColor(255, 255, 255));
    }
    setPalette(colours);

    setItemDelegate(new ItemDelegate(grouping, this));

    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(true);
    setFocusPolicy(Qt::StrongFocus);
    setAllColumnsShowFocus(true);
    setRootIsDecorated(false);

    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAlternatingRowColors(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDragDropOverwriteMode(false);
    setMouseTracking(true);
    setUniformRowHeights(!grouping);

    applyThemeColors();

    connect(this, &QTreeWidget::itemExpanded, this, &LumoTreeView::scheduleStorageButtons);
}

LumoTreeView::~LumoTreeView() = default;

void LumoTreeView::setSortKey(int key)
{
    m_sortKey = key;
    ItemOrdering::setSortKey(key);
}

void LumoTreeView::takeReverseFromHeader()
{
    ItemOrdering::setReverse(header()->sortIndicatorOrder() == Qt::AscendingOrder ? 1 : 0);
}

void LumoTreeView::applyThemeColors()
{
    QPalette colours = palette();
    colours.setColor(QPalette::Base, CTheme::color(CTheme::TreeViewItem, CTheme::Background));
    colours.setColor(QPalette::AlternateBase,
                     CTheme::color(CTheme::TreeViewItem, CTheme::Background | CTheme::Alternate));
    setPalette(colours);
    for (TreeItem *row : std::as_const(m_rows)) {
        if (StorageBtns *buttons = row->storageButtons())
            buttons->refresh();
    }
}

// --- rows

void LumoTreeView::clear()
{
    m_buttonRows.clear();
    m_rows.clear();
    m_groups.clear();
    m_draggedRows.clear();
    m_lastRow = nullptr;
    QTreeWidget::clear();
}

TreeItem *LumoTreeView::makeRow(FileItem *item, const QString &text)
{
    auto *row = new TreeItem(text.split(QLatin1Char('|')));
    row->setFileItem(item);
    if (row->columnCount() > 1 && item)
        row->setData(0, Qt::DecorationRole, item->thumbnail());
    m_rows.append(row);
    return row;
}

TreeItem *LumoTreeView::makeGroup(const QString &name)
{
    auto *group = new TreeItem(QStringList(name));
    m_groups.append(group);
    m_rows.append(group);
    return group;
}

void LumoTreeView::fill(const QList<FileItem *> &items, int rowKind)
{
    setUpdatesEnabled(false);
    clear();
    QList<FileItem *> sorted = items;
    ItemOrdering::sortList(sorted);

    // The rows are made apart from the tree and inserted at once, which is
    // far quicker than inserting them one by one.
    QList<QTreeWidgetItem *> topLevel;
    QHash<QString, TreeItem *> groupsByName;
    for (FileItem *item : std::as_const(sorted)) {
        TreeItem *row = makeRow(item, item->rowText(rowKind));
        if (m_grouping) {
            const QString name = groupName(item);
            TreeItem *&group = groupsByName[name];
            if (!group) {
                group = makeGroup(name);
                topLevel.append(group);
            }
            group->addChild(row);
        } else {
            topLevel.append(row);
        }
        m_lastRow = row;
    }
    addTopLevelItems(topLevel);
    for (TreeItem *group : std::as_const(m_groups))
        group->setFirstColumnSpanned(true);
    expandAll();
    setUpdatesEnabled(true);
    scheduleStorageButtons();
}

TreeItem *LumoTreeView::addRow(FileItem *item, const QString &text, TreeItem *parent)
{
    TreeItem *row = makeRow(item, text);
    if (parent)
        parent->addChild(row);
    else
        addTopLevelItem(row);
    m_lastRow = row;
    scheduleStorageButtons();
    return row;
}

TreeItem *LumoTreeView::addGroupedRow(FileItem *item, const QString &text)
{
    const QString name = groupName(item);
    TreeItem *group = nullptr;
    for (TreeItem *candidate : std::as_const(m_groups)) {
        if (candidate->text(0) == name) {
            group = candidate;
            break;
        }
    }
    if (!group) {
        group = makeGroup(name);
        addTopLevelItem(group);
        group->setFirstColumnSpanned(true);
    }
    return addRow(item, text, group);
}

QString LumoTreeView::groupName(const FileItem *item) const
{
    return ItemOrdering::groupName(item, m_sortKey);
}

void LumoTreeView::showLastRow()
{
    if (!m_lastRow)
        return;
    if (QTreeWidgetItem *group = m_lastRow->parent())
        group->setExpanded(true);
    setCurrentItem(m_lastRow);
}

void LumoTreeView::forgetRow(TreeItem *row)
{
    m_buttonRows.remove(row);
    m_rows.removeOne(row);
    m_groups.removeOne(row);
    m_draggedRows.removeOne(row);
    if (m_lastRow == row)
        m_lastRow = nullptr;
}

void LumoTreeView::removeRow(TreeItem *row)
{
    if (!row)
        return;
    auto *group = static_cast<TreeItem *>(row->parent());
    if (group && group->childCount() == 1)
        row = group;
    for (int i = 0; i < row->childCount(); ++i)
        forgetRow(static_cast<TreeItem *>(row->child(i)));
    forgetRow(row);
    delete row;
}

void LumoTreeView::updateRow(TreeItem *row, const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('|'));
    for (int i = 0; i < parts.size(); ++i)
        row->setText(i, parts.at(i));
}

// --- lookups

FileItem *LumoTreeView::currentFileItem() const
{
    auto *row = static_cast<TreeItem *>(currentItem());
    FileItem *item = row ? row->fileItem() : nullptr;
    return item && item->exists() ? item : nullptr;
}

FileItem *LumoTreeView::currentRowItem() const
{
    auto *row = static_cast<TreeItem *>(currentItem());
    return row ? row->fileItem() : nullptr;
}

QList<TreeItem *> LumoTreeView::selectedRows() const
{
    QList<TreeItem *> rows;
    for (QTreeWidgetItemIterator it(const_cast<LumoTreeView *>(this), QTreeWidgetItemIterator::Selected); *it;
         ++it) {
        auto *row = static_cast<TreeItem *>(*it);
        if (!row->isGroupHeader())
            rows.append(row);
    }
    return rows;
}

QList<FileItem *> LumoTreeView::selectedFileItems() const
{
    QList<FileItem *> items;
    for (TreeItem *row : selectedRows())
        items.append(row->fileItem());
    return items;
}

QList<TreeItem *> LumoTreeView::fileRows() const
{
    QList<TreeItem *> rows;
    for (QTreeWidgetItemIterator it(const_cast<LumoTreeView *>(this)); *it; ++it) {
        auto *row = static_cast<TreeItem *>(*it);
        if (!row->isGroupHeader())
            rows.append(row);
    }
    return rows;
}

TreeItem *LumoTreeView::rowOf(const QUuid &id) const
{
    for (TreeItem *row : m_rows) {
        if (const FileItem *item = row->fileItem(); item && item->uuid == id)
            return row;
    }
    return nullptr;
}

QModelIndex LumoTreeView::indexOfItem(const QUuid &id) const
{
    TreeItem *row = rowOf(id);
    return row ? indexFromItem(row) : QModelIndex();
}

TreeItem *LumoTreeView::rowNamed(const QString &name) const
{
    // A PC copy's name leaves out the extension; its file name has it.
    for (TreeItem *row : m_rows) {
        const FileItem *item = row->fileItem();
        if (item && (item->name() == name || item->name(item->path()) == name))
            return row;
    }
    return nullptr;
}

qint64 LumoTreeView::totalSize() const
{
    qint64 total = 0;
    for (const TreeItem *row : m_rows) {
        if (const FileItem *item = row->fileItem())
            total += item->size();
    }
    return total;
}

// --- storage buttons

StorageBtns *LumoTreeView::storageButtons(TreeItem *row)
{
    if (!row || m_storageColumn < 0 || row->isGroupHeader())
        return nullptr;
    if (!row->storageButtons()) {
        auto *buttons = new StorageBtns(this, row);
        buttons->setPhoneConnected(m_phoneConnected);
        row->setStorageButtons(buttons);
        setItemWidget(row, m_storageColumn, buttons);
        m_buttonRows.insert(row);
    }
    return row->storageButtons();
}

void LumoTreeView::setPhoneConnected(bool connected)
{
    m_phoneConnected = connected;
    for (TreeItem *row : std::as_const(m_rows)) {
        if (StorageBtns *buttons = row->storageButtons())
            buttons->setPhoneConnected(connected);
    }
}

void LumoTreeView::scheduleStorageButtons()
{
    if (m_storageColumn < 0 || m_storageButtonsPending)
        return;
    m_storageButtonsPending = true;
    QTimer::singleShot(0, this, &LumoTreeView::makeVisibleStorageButtons);
}

void LumoTreeView::makeVisibleStorageButtons()
{
    m_storageButtonsPending = false;
    if (m_storageColumn < 0)
        return;
    // The rows in view first: placing a widget makes the next step through
    // the rows lay the whole list out again.
    const int bottom = viewport()->height();
    QList<TreeItem *> inView;
    for (QTreeWidgetItem *item = itemAt(0, 0); item; item = itemBelow(item)) {
        if (visualItemRect(item).top() > bottom)
            break;
        inView.append(static_cast<TreeItem *>(item));
    }
    QSet<TreeItem *> shown;
    for (TreeItem *row : std::as_const(inView)) {
        if (storageButtons(row))
            shown.insert(row);
    }
    // Buttons of rows out of view go: every widget in the list is moved on
    // each scroll, so their number must not grow with the list.
    for (auto it = m_buttonRows.begin(); it != m_buttonRows.end();) {
        TreeItem *row = *it;
        if (shown.contains(row) || row == currentItem()) {
            ++it;
            continue;
        }
        removeItemWidget(row, m_storageColumn);
        row->setStorageButtons(nullptr);
        it = m_buttonRows.erase(it);
    }
}

void LumoTreeView::resizeEvent(QResizeEvent *event)
{
    QTreeWidget::resizeEvent(event);
    scheduleStorageButtons();
}

void LumoTreeView::scrollContentsBy(int dx, int dy)
{
    QTreeWidget::scrollContentsBy(dx, dy);
    if (dy != 0)
        scheduleStorageButtons();
}

void LumoTreeView::drawBranches(QPainter *, const QRect &, const QModelIndex &) const
{
    // Group headers show the theme's arrow instead of tree lines.
}
