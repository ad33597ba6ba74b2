#include "fileitemlist.h"

#include <algorithm>

FileItemList::FileItemList(const FileItemList &other)
{
    *this = other;
}

FileItemList &FileItemList::operator=(const FileItemList &other)
{
    if (this == &other)
        return *this;
    std::vector<std::unique_ptr<FileItem>> copies;
    copies.reserve(other.m_items.size());
    for (const auto &item : other.m_items)
        copies.push_back(std::make_unique<FileItem>(*item));
    m_items = std::move(copies);
    return *this;
}

FileItem *FileItemList::append()
{
    m_items.push_back(std::make_unique<FileItem>());
    return m_items.back().get();
}

FileItem *FileItemList::append(const FileItem &source)
{
    m_items.push_back(std::make_unique<FileItem>(source));
    return m_items.back().get();
}

int FileItemList::indexOf(const QUuid &id) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i]->uuid == id)
            return int(i);
    }
    return -1;
}

FileItem *FileItemList::find(const QUuid &id) const
{
    const int index = indexOf(id);
    return index < 0 ? nullptr : at(index);
}

int FileItemList::removeIf(const std::function<bool(const FileItem &)> &matches)
{
    const auto before = m_items.size();
    m_items.erase(std::remove_if(m_items.begin(), m_items.end(),
                                 [&](const std::unique_ptr<FileItem> &item) { return matches(*item); }),
                  m_items.end());
    return int(before - m_items.size());
}

void FileItemList::removeAt(int index)
{
    m_items.erase(m_items.begin() + index);
}

QList<FileItem *> FileItemList::items() const
{
    QList<FileItem *> result;
    result.reserve(size());
    for (const auto &item : m_items)
        result.append(item.get());
    return result;
}
