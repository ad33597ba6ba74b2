#pragma once

#include "fileitem.h"

#include <QList>
#include <QUuid>

#include <functional>
#include <memory>
#include <vector>

// An owning list of items in which every item keeps its address for as long
// as it is in the list, so that views, tasks and downloads may hold pointers
// to it. Removing an item destroys it. Copying a list copies the items (the
// copies keep their identities).
class FileItemList
{
public:
    FileItemList() = default;
    FileItemList(const FileItemList &other);
    FileItemList &operator=(const FileItemList &other);
    FileItemList(FileItemList &&) = default;
    FileItemList &operator=(FileItemList &&) = default;

    // A new, empty item at the end.
    FileItem *append();
    // A new item at the end that copies source (identity included).
    FileItem *append(const FileItem &source);

    int size() const { return int(m_items.size()); }
    bool isEmpty() const { return m_items.empty(); }
    FileItem *at(int index) const { return m_items.at(size_t(index)).get(); }
    int indexOf(const QUuid &id) const;
    FileItem *find(const QUuid &id) const;

    // Removes (and destroys) every item that matches; returns how many.
    int removeIf(const std::function<bool(const FileItem &)> &matches);
    void removeAt(int index);
    void clear() { m_items.clear(); }

    QList<FileItem *> items() const;

    class const_iterator
    {
    public:
        using Inner = std::vector<std::unique_ptr<FileItem>>::const_iterator;
        explicit const_iterator(Inner it) : m_it(it) {}
        FileItem &operator*() const { return **m_it; }
        FileItem *operator->() const { return m_it->get(); }
        const_iterator &operator++()
        {
            ++m_it;
            return *this;
        }
        bool operator!=(const const_iterator &other) const { return m_it != other.m_it; }

    private:
        Inner m_it;
    };
    const_iterator begin() const { return const_iterator(m_items.begin()); }
    const_iterator end() const { return const_iterator(m_items.end()); }

private:
    std::vector<std::unique_ptr<FileItem>> m_items;
};
