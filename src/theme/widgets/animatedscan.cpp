#include "animatedscan.h"

#include "theme.h"

#include <QPainter>
#include <QTimer>

CAnimatedScan::CAnimatedScan(QWidget *parent) : QProgressBar(parent), m_timer(new QTimer(this))
{
    connect(m_timer, &QTimer::timeout, this, &CAnimatedScan::advanceAnimation);
}

CAnimatedScan::~CAnimatedScan() = default;

void CAnimatedScan::startAnimation(int intervalMs)
{
    m_timer->start(intervalMs);
}

bool CAnimatedScan::isAnimating() const
{
    return m_timer->isActive();
}

void CAnimatedScan::stopAnimation()
{
    m_timer->stop();
    m_frame = 0;
    update();
}

void CAnimatedScan::advanceAnimation()
{
    ++m_frame;
    if (m_frame >= CTheme::animationFrameCount(CTheme::BusyBar, CTheme::Foreground))
        m_frame = 0;
    update();
}

void CAnimatedScan::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    CTheme::drawCentered(&painter, CTheme::pixmap(CTheme::BusyBar, CTheme::Background), rect());
    CTheme::drawCentered(&painter, CTheme::animationFrame(CTheme::BusyBar, CTheme::Foreground, m_frame), rect());
}
