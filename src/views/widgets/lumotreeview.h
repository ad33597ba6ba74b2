#pragma once

#include "treeitem.h"

#include <QList>
#include <QPoint>
#include <QSet>
#include <QTreeWidget>
#include <QUuid>

class FileItem;
class StorageBtns;

// The base of the program's four lists: a tree of video rows, optionally
// under group header rows, sorted by the shared sort key, painted from the
// theme, and (in the Tasks and Downloads lists) reordered by dragging.
//
// Storage buttons, where a list has them, exist only for the rows in view
// (and the current row): ten thousand rows of buttons would make filling and
// scrolling slow. Every row that can be seen or clicked has its buttons.
class LumoTreeView : public QTreeWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LumoTreeView)

public:
    enum DropPosition { NoDrop = 0, DropAbove = 1, DropBelow = 2, DropOnViewport = 3 };

    LumoTreeView(QWidget *parent, const QStringList &headerLabels, bool grouping);
    ~LumoTreeView() override;

    bool isGrouping() const { return m_grouping; }
    int sortKey() const { return m_sortKey; }
    // Sets this list's key and the shared one.
    void setSortKey(int key);
    // The reverse flag as the header shows it: an ascending header lists
    // from the largest down.
    void takeReverseFromHeader();

    // Empties the list (rows, groups and storage buttons).
    void clear();
    // Rebuilds the list from items, sorted, with rows of rowKind.
    void fill(const QList<FileItem *> &items, int rowKind);
    // A row for item under parent (or at the top), its columns the parts of
    // text split at "|".
    TreeItem *addRow(FileItem *item, const QString &text, TreeItem *parent = nullptr);
    // The row under the item's group, made when missing.
    TreeItem *addGroupedRow(FileItem *item, const QString &text);
    QString groupName(const FileItem *item) const;
    // Removes row; a group's only row takes its group header with it.
    void removeRow(TreeItem *row);
    // After a single row was added: its group open, the row current.
    void showLastRow();

    // The current row's item: null for none, a group header or an item
    // whose copy is gone.
    FileItem *currentFileItem() const;
    // The current row's item, also when its copy is gone; null for none or
    // a group header.
    FileItem *currentRowItem() const;
    QList<FileItem *> selectedFileItems() const;
    QList<TreeItem *> selectedRows() const;
    TreeItem *rowOf(const QUuid &id) const;
    QModelIndex indexOfItem(const QUuid &id) const;
    // The row whose item has this name or file name ("clip" or "clip.mp4").
    TreeItem *rowNamed(const QString &name) const;
    qint64 totalSize() const;
    // Sets row's columns from text split at "|".
    void updateRow(TreeItem *row, const QString &text);
    const QList<TreeItem *> &rows() const { return m_rows; }
    const QList<TreeItem *> &groups() const { return m_groups; }
    TreeItem *lastRow() const { return m_lastRow; }
    // The file rows in the list's order (group headers skipped).
    QList<TreeItem *> fileRows() const;

    void setStorageColumn(int column) { m_storageColumn = column; }
    int storageColumn() const { return m_storageColumn; }
    // The row's storage buttons, made now when the row has none yet.
    StorageBtns *storageButtons(TreeItem *row);
    void setPhoneConnected(bool connected);
    bool isPhoneConnected() const { return m_phoneConnected; }
    void setReorderAllowed(bool allowed) { m_reorderAllowed = allowed; }
    bool isReorderAllowed() const { return m_reorderAllowed; }

    // Base and alternate row colours from the theme; storage buttons look again.
    void applyThemeColors();

    // The picture a reorder drag shows for label.
    static QPixmap dragPixmap(const QString &label, const QFont &font);
    // "%1 Files selected" for several rows, else the first row's name.
    QString dragLabel() const;
    int dropLineY() const { return m_dropLineY; }
    int dropPosition() const { return m_dropPosition; }

Q_SIGNALS:
    // Rows were moved by a drop onto a row; firstRow is the top-level index
    // the first of them now has.
    void rowsDropped(int firstRow);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void drawBranches(QPainter *painter, const QRect &rect, const QModelIndex &index) const override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    TreeItem *makeRow(FileItem *item, const QString &text);
    TreeItem *makeGroup(const QString &name);
    void forgetRow(TreeItem *row);
    void scheduleStorageButtons();
    void makeVisibleStorageButtons();
    void startReorderDrag();
    bool isReorderDrag(const QDropEvent *event) const;

    bool m_grouping;
    int m_sortKey = 0;
    QList<TreeItem *> m_groups;
    QList<TreeItem *> m_rows;
    QList<TreeItem *> m_draggedRows;
    QSet<TreeItem *> m_buttonRows; // the rows with storage buttons now
    int m_storageColumn = -1;
    TreeItem *m_lastRow = nullptr;
    int m_dropLineY = -1;
    int m_dropPosition = NoDrop;
    QPoint m_pressPosition;
    bool m_reorderAllowed = false;
    bool m_phoneConnected = false;
    bool m_storageButtonsPending = false;
};
