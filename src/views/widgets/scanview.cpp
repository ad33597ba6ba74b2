#include "scanview.h"

#include "catalogue.h"
#include "fileitem.h"
#include "itemactions.h"
#include "itemordering.h"
#include "viewhost.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace {

constexpr int ScanSortKeys[] = {ItemOrdering::ByName,  ItemOrdering::ByLength,  ItemOrdering::BySize,
                                ItemOrdering::ByType,  ItemOrdering::ByCreated, ItemOrdering::ByLocation};

} // namespace

ScanView::ScanView(CViewHost *host, QWidget *parent)
    : LumoTreeView(parent, {tr("Name"), tr("Length"), tr("Size"), tr("Type"), tr("Created"), tr("Location")}, false),
      m_host(host)
{
    setObjectName(QStringLiteral("scanView"));
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    const int widths[] = {200, 75, 85, 55, 110};
    for (int column = 0; column < int(std::size(widths)); ++column)
        header()->resizeSection(column, widths[column]);
    connect(header(), &QHeaderView::sectionClicked, this, &ScanView::SectionClicked);
    connect(this, &QTreeWidget::itemSelectionChanged, this, &ScanView::itemSelectionChanged);
    connect(this, &QTreeWidget::itemDoubleClicked, this, &ScanView::itemDoubleClicked);
}

ScanView::~ScanView() = default;

void ScanView::refill()
{
    ItemOrdering::setSortKey(sortKey());
    fill(Catalogue::instance().scanResults.items(), 1);
}

TreeItem *ScanView::addItem(FileItem *item)
{
    return addRow(item, item->rowText(1));
}

bool ScanView::isScanning() const
{
    const QWidget *stop = m_host->windowButton(QStringLiteral("toolButton_StopScan"));
    return stop && stop->isEnabled();
}

void ScanView::SectionClicked(int column)
{
    if (column < 0 || column >= int(std::size(ScanSortKeys)))
        return;
    setSortKey(ScanSortKeys[column]);
    takeReverseFromHeader();
    // The running scan adds its rows as it finds them; the list is sorted
    // again when it has ended.
    if (!isScanning())
        refill();
}

void ScanView::menu_sortbyName() { SectionClicked(0); }
void ScanView::menu_sortbyLenght() { SectionClicked(1); }
void ScanView::menu_sortbySize() { SectionClicked(2); }
void ScanView::menu_sortbyType() { SectionClicked(3); }
void ScanView::menu_sortbyCreated() { SectionClicked(4); }
void ScanView::menu_sortbyLocation() { SectionClicked(5); }

void ScanView::itemDoubleClicked(QTreeWidgetItem *, int)
{
    if (FileItem *item = currentFileItem())
        m_host->playFile(item->path());
}

void ScanView::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        itemDoubleClicked(currentItem(), 0);
        return;
    }
    LumoTreeView::keyPressEvent(event);
}

void ScanView::itemSelectionChanged()
{
    if (m_host->currentContext() != 1)
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

void ScanView::menu_remove()
{
    if (m_host->currentContext() != 1)
        return;
    const QList<FileItem *> chosen = selectedFileItems();
    if (chosen.isEmpty())
        return;
    QList<QUuid> ids;
    for (const FileItem *item : chosen)
        ids.append(item->uuid);
    // The rows point into the list: they go before their items do.
    clear();
    Catalogue &catalogue = Catalogue::instance();
    for (const QUuid &id : std::as_const(ids))
        catalogue.removeScanResult(id);
    QStringList paths;
    QList<int> lengths;
    for (const FileItem &item : catalogue.scanResults) {
        paths.append(item.pc.path);
        lengths.append(item.pc.playbackLength);
    }
    QString error;
    if (!catalogue.saveScanResults(paths, lengths, true, &error))
        Catalogue::writeLog(QStringLiteral("The scan results could not be written: ") + error);
    refill();
}
