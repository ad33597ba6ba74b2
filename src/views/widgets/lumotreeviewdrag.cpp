// Reordering a list by dragging its rows: the drag, the drop line and the drop.

#include "lumotreeview.h"

#include <QApplication>
#include <QDrag>
#include <QDragMoveEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

QString LumoTreeView::dragLabel() const
{
    const QList<QTreeWidgetItem *> selected = selectedItems();
    if (selected.isEmpty())
        return QString();
    if (selected.size() > 1)
        return tr("%1 Files selected").arg(selected.size());
    return selected.constFirst()->text(0);
}

QPixmap LumoTreeView::dragPixmap(const QString &label, const QFont &font)
{
    const int labelWidth = QFontMetrics(font).horizontalAdvance(label);
    QPixmap picture(labelWidth + 65, 24);
    picture.fill(QColor(0, 250, 255, 80));
    QPainter painter(&picture);
    painter.drawPixmap(QRect(QPoint(2, 2), QPoint(31, 21)), QPixmap(QStringLiteral(":/Images/VideoThumbNail.png")));
    painter.setFont(font);
    painter.drawText(QRect(37, 5, labelWidth + 45, 20), Qt::AlignLeft | Qt::AlignTop, label);
    return picture;
}

void LumoTreeView::mousePressEvent(QMouseEvent *event)
{
    QTreeWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        m_pressPosition = event->position().toPoint();
}

void LumoTreeView::mouseReleaseEvent(QMouseEvent *event)
{
    QTreeWidget::mouseReleaseEvent(event);
}

void LumoTreeView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_reorderAllowed) {
        QTreeWidget::mouseMoveEvent(event);
        return;
    }
    if (!(event->buttons() & Qt::LeftButton))
        return;
    if ((event->position().toPoint() - m_pressPosition).manhattanLength() < QApplication::startDragDistance())
        return;
    startReorderDrag();
}

void LumoTreeView::startReorderDrag()
{
    m_draggedRows = selectedRows();
    if (m_draggedRows.isEmpty())
        return;
    auto *drag = new QDrag(this);
    // The drag carries nothing: only this list takes it, as a move of its rows.
    drag->setMimeData(new QMimeData);
    drag->setPixmap(dragPixmap(dragLabel(), font()));
    drag->setDragCursor(QPixmap(QStringLiteral(":/Images/cursor-arrow.png")), Qt::MoveAction);
    drag->exec(Qt::MoveAction);
    m_draggedRows.clear();
    m_dropLineY = -1;
    viewport()->update();
}

bool LumoTreeView::isReorderDrag(const QDropEvent *event) const
{
    // Files or text dragged in from elsewhere carry data; a reorder does not.
    return m_reorderAllowed && event->mimeData() && event->mimeData()->formats().isEmpty();
}

void LumoTreeView::dragEnterEvent(QDragEnterEvent *event)
{
    if (!m_reorderAllowed) {
        QTreeWidget::dragEnterEvent(event);
        return;
    }
    if (isReorderDrag(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void LumoTreeView::dragMoveEvent(QDragMoveEvent *event)
{
    if (!m_reorderAllowed) {
        QTreeWidget::dragMoveEvent(event);
        return;
    }
    if (!isReorderDrag(event)) {
        event->ignore();
        return;
    }
    const QPoint position = event->position().toPoint();
    QTreeWidgetItem *row = itemAt(position);
    if (row && row->isSelected()) {
        event->ignore();
        m_dropPosition = NoDrop;
        m_dropLineY = -1;
    } else if (row) {
        const QRect rect = visualItemRect(row);
        const int half = rect.height() / 2;
        if (position.y() >= rect.top() + half) {
            m_dropPosition = DropBelow;
            m_dropLineY = rect.top() + 2 * half;
        } else {
            m_dropPosition = DropAbove;
            m_dropLineY = rect.top();
        }
        event->acceptProposedAction();
    } else {
        m_dropPosition = DropOnViewport;
        m_dropLineY = -1;
        event->acceptProposedAction();
    }
    viewport()->update();
}

void LumoTreeView::dragLeaveEvent(QDragLeaveEvent *event)
{
    m_dropLineY = -1;
    viewport()->update();
    QTreeWidget::dragLeaveEvent(event);
}

void LumoTreeView::dropEvent(QDropEvent *event)
{
    if (!m_reorderAllowed) {
        QTreeWidget::dropEvent(event);
        return;
    }
    if (!isReorderDrag(event)) {
        event->ignore();
        return;
    }
    // A drop without a drag of ours (the platform's) moves the selection,
    // which is what a drag of ours takes too.
    const QList<TreeItem *> dragged = m_draggedRows.isEmpty() ? selectedRows() : m_draggedRows;
    m_draggedRows.clear();
    const QPoint position = event->position().toPoint();
    auto *target = static_cast<TreeItem *>(itemAt(position));
    m_dropLineY = -1;
    if (!target || target->isSelected() || dragged.isEmpty()) {
        viewport()->update();
        event->setDropAction(Qt::MoveAction);
        event->accept();
        return;
    }
    const QRect rect = visualItemRect(target);
    const bool below = position.y() >= rect.top() + rect.height() / 2;

    clearSelection();
    TreeItem *first = nullptr;
    for (TreeItem *row : dragged) {
        QTreeWidgetItem *taken = takeTopLevelItem(indexOfTopLevelItem(row));
        if (!taken)
            continue;
        const int at = indexOfTopLevelItem(target) + (below ? 1 : 0);
        insertTopLevelItem(at, taken);
        taken->setSelected(true);
        if (!first)
            first = row;
        if (below)
            target = row;
    }
    viewport()->update();
    event->setDropAction(Qt::MoveAction);
    event->accept();
    if (first)
        Q_EMIT rowsDropped(indexOfTopLevelItem(first));
}

void LumoTreeView::paintEvent(QPaintEvent *event)
{
    QTreeWidget::paintEvent(event);
    if (!m_reorderAllowed || m_dropLineY < 0)
        return;
    QPainter painter(viewport());
    painter.setPen(QColor(0, 0, 0));
    painter.drawLine(0, m_dropLineY, viewport()->width(), m_dropLineY);
}
