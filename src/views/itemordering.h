#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

class FileItem;

// How the lists order their items and name their groups. One sort key and
// one reverse flag are shared by every list of the process, since the
// ordering reads them while a list is sorted. Main thread only.
namespace ItemOrdering {

enum SortKey {
    ByName = 0,
    ByLength = 1,
    BySize = 2,
    ByType = 3,
    ByCreated = 4,
    ByLocation = 6,
    ByStatus = 7,
    PcOnlyFirst = 9,
    PhoneOnlyFirst = 10,
    BothFirst = 11,
    ByDownloadDate = 14, // the Downloads "Date" column: no ordering of its own
};

int sortKey();
void setSortKey(int key);
// 1 lists from the largest down (Z to A, newest first), 0 from the smallest up.
int reverse();
void setReverse(int reverse);

// Whether a comes before b under the shared key and reverse flag. Every key
// gives a strict weak ordering, so any standard sort may be handed it.
// The storage keys put the items stored as chosen first and ignore the
// reverse flag; keys without an ordering treat all items as equal.
bool lessThan(const FileItem *a, const FileItem *b);
// Sorts list with lessThan (when it has more than one item).
void sortList(QList<FileItem *> &list);

// The group an item is shown under when a list is sorted by key.
QString groupName(const FileItem *item, int key);

// The group names a translator sees, in the context "LumoTreeView".
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(LumoTreeView)
};

} // namespace ItemOrdering
