#include "itemordering.h"

#include "fileitem.h"

#include <QDateTime>
#include <QStringList>

#include <algorithm>

namespace ItemOrdering {

namespace {

int g_sortKey = ByName;
int g_reverse = 0;

// The storage sorts split the list in two: the items stored as chosen and
// all others. Asking "is a chosen and b not" (rather than "is a chosen")
// keeps equal items equal both ways, which a sort relies on.
bool storageMatches(const FileItem *item, int key)
{
    const FileItem::Location location = item->location();
    return (key == PcOnlyFirst && location == FileItem::PcOnly)
        || (key == PhoneOnlyFirst && location == FileItem::PhoneOnly)
        || (key == BothFirst && location == FileItem::Both);
}

// The status column: a task's state, or a download's for a download row.
int statusOf(const FileItem *item)
{
    return item->task ? item->taskState() : item->downloadState();
}

bool comesBefore(const FileItem *a, const FileItem *b, int key)
{
    switch (key) {
    case ByName:
        return a->name().toUpper() < b->name().toUpper();
    case ByLength:
        return unsigned(a->playbackLength()) < unsigned(b->playbackLength());
    case BySize:
        return a->size() < b->size();
    case ByType:
        return a->type() < b->type();
    case ByCreated:
        return a->date() < b->date();
    case ByLocation:
        return a->path() < b->path();
    case ByStatus:
        return statusOf(a) < statusOf(b);
    default:
        return false;
    }
}

QString sizeGroup(qint64 bytes)
{
    const QStringList words = Texts::tr("Small|Medium|Big").split(QLatin1Char('|'));
    const qint64 mib = bytes / 1048576;
    const int index = mib < 5 ? 0 : mib < 100 ? 1 : 2;
    return words.value(index);
}

QString lengthGroup(int seconds)
{
    const int minutes = seconds / 60;
    if (seconds <= 0 || minutes < 5)
        return Texts::tr("Small");
    if (minutes <= 30)
        return Texts::tr("Medium");
    return Texts::tr("Large");
}

QString dateGroup(const QDateTime &created)
{
    const QStringList words =
        Texts::tr("Monday|Tuesday|Wednesday|Thursday|Friday|Saturday|Sunday|Today|Yesterday|Older Than|One Week|"
                  "Two Weeks|One Month|Older|Newer")
            .split(QLatin1Char('|'));
    const QString olderThan = words.value(9) + QLatin1Char(' ');
    if (created > QDateTime::currentDateTime())
        return words.value(14);
    const qint64 days = created.date().daysTo(QDate::currentDate());
    if (days >= 60)
        return words.value(13);
    if (days >= 30)
        return olderThan + words.value(12);
    if (days >= 14)
        return olderThan + words.value(11);
    if (days >= 7)
        return olderThan + words.value(10);
    if (days == 0)
        return words.value(7);
    if (days == 1)
        return words.value(8);
    return words.value(created.date().dayOfWeek() - 1);
}

} // namespace

int sortKey()
{
    return g_sortKey;
}

void setSortKey(int key)
{
    g_sortKey = key;
}

int reverse()
{
    return g_reverse;
}

void setReverse(int reverse)
{
    g_reverse = reverse ? 1 : 0;
}

bool lessThan(const FileItem *a, const FileItem *b)
{
    const int key = g_sortKey;
    if (key == PcOnlyFirst || key == PhoneOnlyFirst || key == BothFirst)
        return storageMatches(a, key) && !storageMatches(b, key);
    return g_reverse ? comesBefore(b, a, key) : comesBefore(a, b, key);
}

void sortList(QList<FileItem *> &list)
{
    if (list.size() > 1)
        std::sort(list.begin(), list.end(), lessThan);
}

QString groupName(const FileItem *item, int key)
{
    switch (key) {
    case ByName: {
        const QString name = item->name();
        if (!name.isEmpty() && name.at(0).isLetter())
            return name.left(1).toUpper();
        return Texts::tr("Other");
    }
    case ByLength:
        return lengthGroup(item->playbackLength());
    case BySize:
        return sizeGroup(item->size());
    case ByType:
        return item->type();
    case ByCreated:
        return dateGroup(item->date());
    case PcOnlyFirst:
    case PhoneOnlyFirst:
    case BothFirst:
        if (storageMatches(item, key)) {
            return key == PcOnlyFirst ? Texts::tr("PC only")
                : key == PhoneOnlyFirst ? Texts::tr("Phone only")
                                        : Texts::tr("Both");
        }
        return Texts::tr("Other");
    default:
        return QString();
    }
}

} // namespace ItemOrdering
