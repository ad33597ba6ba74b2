#include "progressbar.h"

#include "theme.h"

#include <QPainter>

namespace {

QSize logicalSize(const QPixmap &pixmap)
{
    return pixmap.isNull() ? QSize(0, 0) : pixmap.deviceIndependentSize().toSize();
}

void drawPiece(QPainter *painter, const QRect &target, const QPixmap &pixmap)
{
    if (!pixmap.isNull() && target.width() > 0 && target.height() > 0)
        painter->drawPixmap(target, pixmap);
}

// Left, centre and right images at their own heights, centred vertically;
// the centre stretches between the two ends.
void drawThreeSlice(QPainter *painter, int state, const QRect &rect)
{
    const QPixmap left = CTheme::pixmap(CTheme::ProgressBar, state | CTheme::Left);
    const QPixmap center = CTheme::pixmap(CTheme::ProgressBar, state | CTheme::Center);
    const QPixmap right = CTheme::pixmap(CTheme::ProgressBar, state | CTheme::Right);
    const QSize l = logicalSize(left);
    const QSize c = logicalSize(center);
    const QSize r = logicalSize(right);
    const int top = rect.top() + (rect.height() - l.height()) / 2;
    drawPiece(painter, QRect(rect.left(), top, l.width(), l.height()), left);
    drawPiece(painter, QRect(rect.left() + l.width(), top, rect.width() - l.width() - r.width(), c.height()), center);
    drawPiece(painter, QRect(rect.left() + rect.width() - r.width(), top, r.width(), r.height()), right);
}

} // namespace

CProgressBar::CProgressBar(QWidget *parent) : QProgressBar(parent) {}

CProgressBar::~CProgressBar() = default;

int CProgressBar::filledWidth() const
{
    // A maximum of 0 (nothing known yet) or a value below 0 (reset) fills
    // nothing; the fill never runs past the bar.
    if (maximum() <= 0 || value() <= 0)
        return 0;
    const int filled = int(value() * (1.0 / maximum()) * width());
    return qBound(0, filled, width());
}

void CProgressBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawThreeSlice(&painter, CTheme::Background, rect());
    const int filled = filledWidth();
    if (filled <= 0)
        return;
    painter.setClipRect(QRect(0, 0, filled, height()));
    drawThreeSlice(&painter, CTheme::Foreground, rect());
}
