#pragma once

#include <QTreeWidgetItem>

class FileItem;
class StorageBtns;

// One row of a list: a video's row, or a group header (a row of fewer than
// two columns, without an item).
class TreeItem final : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    ~TreeItem() override;

    bool isGroupHeader() const { return columnCount() < 2; }
    // The row's item; null for a group header.
    FileItem *fileItem() const { return isGroupHeader() ? nullptr : m_fileItem; }
    void setFileItem(FileItem *item) { m_fileItem = item; }
    // The storage buttons placed in the row, once made.
    StorageBtns *storageButtons() const { return m_storageButtons; }
    void setStorageButtons(StorageBtns *buttons) { m_storageButtons = buttons; }

private:
    FileItem *m_fileItem = nullptr;         // not owned
    StorageBtns *m_storageButtons = nullptr; // owned by the view
};
