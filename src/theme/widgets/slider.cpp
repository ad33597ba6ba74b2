#include "slider.h"

#include "theme.h"

#include <QPainter>

CSlider::CSlider(QWidget *parent) : QSlider(parent) {}

CSlider::CSlider(Qt::Orientation orientation, QWidget *parent) : QSlider(orientation, parent) {}

CSlider::~CSlider() = default;

void CSlider::setShowIndicator(bool show)
{
    m_showIndicator = show;
    update();
}

void CSlider::setHighlighted(bool highlighted)
{
    m_highlighted = highlighted;
    update();
}

qreal CSlider::fraction() const
{
    // Measured from the minimum, so a range that does not start at 0 still
    // fills from its start; an empty range stays at the start.
    const qint64 span = qint64(maximum()) - minimum();
    if (span <= 0)
        return 0.0;
    return qBound(0.0, qreal(qint64(sliderPosition()) - minimum()) / qreal(span), 1.0);
}

QRect CSlider::indicatorRect() const
{
    const QPixmap knob = CTheme::pixmap(CTheme::SliderIndicator);
    if (knob.isNull())
        return QRect();
    const QSize size = knob.deviceIndependentSize().toSize();
    const QRect r = rect();
    const qreal f = fraction();
    if (orientation() == Qt::Horizontal)
        return QRect(QPoint(int((r.width() - size.width()) * f) + r.left(),
                            r.top() + r.height() / 2 - size.height() / 2),
                     size);
    // Vertical sliders grow from the bottom.
    return QRect(QPoint(r.left() + r.width() / 2 - size.width() / 2,
                        r.top() + int((r.height() - size.height()) * (1.0 - f))),
                 size);
}

void CSlider::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect r = rect();
    const bool horizontal = orientation() == Qt::Horizontal;
    const int direction = horizontal ? CTheme::Horizontal : CTheme::Vertical;
    const int highlight = m_highlighted ? CTheme::Highlighted : 0;

    CTheme::paint(&painter, CTheme::Slider, CTheme::Background | highlight | direction, r);

    const qreal f = fraction();
    painter.save();
    if (horizontal) {
        painter.setClipRect(QRect(r.left(), r.top(), int(f * r.width()), r.height()));
    } else {
        const int filled = int(f * r.height());
        painter.setClipRect(QRect(r.left(), r.top() + r.height() - filled, r.width(), filled));
    }
    if (f > 0)
        CTheme::paint(&painter, CTheme::Slider, CTheme::Foreground | highlight | direction, r);
    painter.restore();

    if (m_showIndicator) {
        const QRect knob = indicatorRect();
        if (knob.isValid())
            painter.drawPixmap(knob.topLeft(), CTheme::pixmap(CTheme::SliderIndicator));
    }
}
