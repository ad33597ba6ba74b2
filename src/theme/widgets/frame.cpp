#include "frame.h"

#include <QPainter>

namespace {

QSize logicalSize(const QPixmap &pixmap)
{
    return pixmap.isNull() ? QSize(0, 0) : pixmap.deviceIndependentSize().toSize();
}

void drawPiece(QPainter &painter, const QRect &target, const QPixmap &pixmap)
{
    if (!pixmap.isNull() && target.width() > 0 && target.height() > 0)
        painter.drawPixmap(target, pixmap);
}

} // namespace

CFrame::CFrame(QWidget *parent) : QFrame(parent) {}

CFrame::~CFrame() = default;

void CFrame::setPixmaps(const QPixmap &first, const QPixmap &middle, const QPixmap &last)
{
    m_first = first;
    m_middle = middle;
    m_last = last;
    update();
}

void CFrame::setMode(int mode)
{
    m_mode = mode;
    update();
}

void CFrame::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    if (m_mode == NoPictures)
        return;
    QPainter painter(this);
    const QRect r = rect();
    const QSize f = logicalSize(m_first);
    const QSize m = logicalSize(m_middle);
    const QSize l = logicalSize(m_last);
    switch (m_mode) {
    case Single:
        drawPiece(painter, r, m_middle);
        break;
    case Vertical: {
        const int x = r.left() + (r.width() - f.width()) / 2;
        drawPiece(painter, QRect(x, r.top(), f.width(), f.height()), m_first);
        drawPiece(painter, QRect(x, r.top() + f.height(), m.width(), r.height() - f.height() - l.height()), m_middle);
        drawPiece(painter, QRect(x, r.top() + r.height() - l.height(), l.width(), l.height()), m_last);
        break;
    }
    case Horizontal: {
        const int y = r.top() + (r.height() - f.height()) / 2;
        drawPiece(painter, QRect(r.left(), y, f.width(), f.height()), m_first);
        drawPiece(painter, QRect(r.left() + f.width(), y, r.width() - f.width() - l.width(), m.height()), m_middle);
        drawPiece(painter, QRect(r.left() + r.width() - l.width(), y, l.width(), l.height()), m_last);
        break;
    }
    default:
        break;
    }
}
