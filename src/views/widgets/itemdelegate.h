#pragma once

#include <QItemDelegate>

// Paints the rows of a list from the theme: group headers with their image,
// arrow and title, selected rows with the theme's selection. Cells show no
// tool tips.
class ItemDelegate final : public QItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ItemDelegate)

public:
    ItemDelegate(bool grouping, QObject *parent = nullptr);
    ~ItemDelegate() override;

    bool event(QEvent *event) override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    static constexpr int GroupRowHeight = 20;
    static constexpr int RowHeight = 24;

private:
    bool isGroupHeader(const QModelIndex &index) const;
    void paintGroupHeader(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const;

    bool m_grouping;
};
