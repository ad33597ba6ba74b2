#include "itemdelegate.h"

#include "theme.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QPainter>
#include <QTreeView>

ItemDelegate::ItemDelegate(bool grouping, QObject *parent) : QItemDelegate(parent), m_grouping(grouping) {}

ItemDelegate::~ItemDelegate() = default;

bool ItemDelegate::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip)
        return true;
    return QItemDelegate::event(event);
}

bool ItemDelegate::isGroupHeader(const QModelIndex &index) const
{
    return m_grouping && !index.parent().isValid();
}

void ItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (isGroupHeader(index)) {
        paintGroupHeader(painter, option, index);
        return;
    }
    if (option.state & QStyle::State_Selected)
        CTheme::paint(painter, CTheme::TreeViewItem, CTheme::Selected, option.rect);
    QStyleOptionViewItem narrower = option;
    narrower.rect.setRight(option.rect.right() - 6);
    QItemDelegate::paint(painter, narrower, index);
}

void ItemDelegate::paintGroupHeader(QPainter *painter, const QStyleOptionViewItem &option,
                                    const QModelIndex &index) const
{
    const auto *view = qobject_cast<const QTreeView *>(option.widget);
    // The header's first column spans the row.
    const QRect rect = option.rect;
    const int left = view ? view->header()->sectionViewportPosition(0) : rect.left();
    painter->save();
    painter->drawPixmap(rect, CTheme::pixmap(CTheme::TreeViewItemGroup, CTheme::None));

    const bool expanded = view && view->isExpanded(index);
    const QPixmap arrow =
        CTheme::pixmap(CTheme::TreeViewItemGroupArrow, expanded ? CTheme::ToDown : CTheme::ToRight);
    const QSize arrowSize = arrow.deviceIndependentSize().toSize();
    painter->drawPixmap(left + 6, rect.top() + (rect.height() - arrowSize.height()) / 2, arrow);

    QFont font = option.font;
    if (view)
        font = view->font();
    font.setPointSize(8);
    painter->setFont(font);
    painter->setPen(option.palette.color(QPalette::Text));
    painter->setClipRect(rect);
    const QString text = index.data(Qt::DisplayRole).toString();
    const int width = QFontMetrics(font).horizontalAdvance(text);
    painter->drawText(QRect(left + 18, rect.top(), width, rect.height()), Qt::AlignLeft | Qt::AlignVCenter, text);
    painter->restore();
}

QSize ItemDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (isGroupHeader(index))
        return QSize(GroupRowHeight, GroupRowHeight);
    QSize size = QItemDelegate::sizeHint(option, index);
    size.setHeight(RowHeight);
    return size;
}
