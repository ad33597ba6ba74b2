#include "vtmenubar.h"

#include <QAction>
#include <QCoreApplication>
#include <QMouseEvent>

CVTMenuBar::CVTMenuBar(QWidget *parent) : QMenuBar(parent) {}

CVTMenuBar::~CVTMenuBar() = default;

void CVTMenuBar::setItemActions(const QList<QAction *> &actions)
{
    m_itemActions = actions;
}

void CVTMenuBar::mousePressEvent(QMouseEvent *event)
{
    QMenuBar::mousePressEvent(event);
    handOn(event);
}

void CVTMenuBar::mouseMoveEvent(QMouseEvent *event)
{
    QMenuBar::mouseMoveEvent(event);
    handOn(event);
}

void CVTMenuBar::mouseReleaseEvent(QMouseEvent *event)
{
    QMenuBar::mouseReleaseEvent(event);
    handOn(event);
}

void CVTMenuBar::mouseDoubleClickEvent(QMouseEvent *event)
{
    QMenuBar::mouseDoubleClickEvent(event);
    handOn(event);
}

void CVTMenuBar::handOn(QMouseEvent *event)
{
    if (activeAction())
        return;
    QWidget *target = window();
    if (!target || target == this)
        return;
    const QPointF position = mapTo(target, event->position().toPoint()) + (event->position() - event->position().toPoint());
    QMouseEvent moved(event->type(), position, position, event->globalPosition(), event->button(), event->buttons(),
                      event->modifiers(), event->pointingDevice());
    QCoreApplication::sendEvent(target, &moved);
}
