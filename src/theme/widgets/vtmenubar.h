#pragma once

#include <QList>
#include <QMenuBar>

class QAction;

// The menu bar of the frameless main window. Mouse presses, moves, releases
// and double clicks that do not open or run a menu are handed on to the
// window, which moves itself when dragged there and maximises or restores
// on a double click.
class CVTMenuBar final : public QMenuBar
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CVTMenuBar)

public:
    explicit CVTMenuBar(QWidget *parent = nullptr);
    ~CVTMenuBar() override;

    // The actions that act on the selected item, enabled and disabled
    // together by the views.
    void setItemActions(const QList<QAction *> &actions);
    QList<QAction *> itemActions() const { return m_itemActions; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void handOn(QMouseEvent *event);

    QList<QAction *> m_itemActions;
};
