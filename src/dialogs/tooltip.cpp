#include "tooltip.h"

#include "dialogparts.h"
#include "panelbutton.h"
#include "theme.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>

namespace {

using T = CTheme;

constexpr int kStartHeight = 2;
constexpr int kIconSide = 18;
constexpr int kPadding = 8;
constexpr int kTextLeft = kPadding + kIconSide + 8;
const QColor kOutline(200, 206, 214);

} // namespace

CToolTip::CToolTip(QWidget *anchor, int width)
    : QWidget(anchor->window(), Qt::Tool | Qt::FramelessWindowHint), m_anchor(anchor)
{
    setObjectName(QStringLiteral("helpBalloon"));
    setWindowTitle(tr("Tooltip"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    resize(width, kStartHeight);

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("balloonIcon"));
    icon->setGeometry(kPadding, kPadding, kIconSide, kIconSide);
    const qreal ratio = devicePixelRatioF();
    QPixmap help = T::pixmap(T::HelpIcon, T::Up);
    if (!help.isNull()) {
        help = help.scaled(QSize(kIconSide, kIconSide) * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        help.setDevicePixelRatio(ratio);
    }
    icon->setPixmap(help);

    m_closeButton = makeCloseButton(this);
    // The dark-on-light close cross for light surfaces.
    m_closeButton->setIcon(T::icon(T::CloseIcon, T::Alternate));
    m_closeButton->setIconSize(T::iconSize(T::CloseIcon, T::Alternate));
    connect(m_closeButton, &QToolButton::clicked, this, &QWidget::hide);

    m_text = new QTextEdit(this);
    m_text->setObjectName(QStringLiteral("balloonText"));
    m_text->setReadOnly(true);
    m_text->setAcceptRichText(false);
    m_text->setFrameShape(QFrame::NoFrame);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette white = m_text->palette();
    white.setColor(QPalette::Base, Qt::white);
    m_text->setPalette(white);

    m_timer = new QTimer(this);
    m_timer->setInterval(kTickMilliseconds);
    connect(m_timer, &QTimer::timeout, this, &CToolTip::slideStep);

    anchor->window()->installEventFilter(this);
}

CToolTip::~CToolTip() = default;

CToolTip *CToolTip::showBalloon(QWidget *anchor, QSize size, const QString &text)
{
    auto *balloon = new CToolTip(anchor, size.width());
    balloon->showText(text);
    return balloon;
}

void CToolTip::showText(const QString &text)
{
    m_text->setText(text);
    // Showing again starts the slide from the beginning.
    hide();
    show();
}

QString CToolTip::text() const
{
    return m_text->toPlainText();
}

int CToolTip::targetLine() const
{
    return m_anchor ? m_anchor->mapToGlobal(QPoint(0, 0)).y() + kTargetDistance : 0;
}

void CToolTip::placeAt(int top)
{
    const int left = m_anchor ? m_anchor->mapToGlobal(QPoint(0, 0)).x() + kAnchorOffsetX : x();
    move(left, top);
}

void CToolTip::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    resize(width(), kStartHeight);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_distance = kStartBelowTarget;
    placeAt(targetLine() + m_distance);
    m_timer->start();
}

void CToolTip::hideEvent(QHideEvent *event)
{
    m_timer->stop();
    QWidget::hideEvent(event);
}

void CToolTip::slideStep()
{
    if (height() != kFullHeight) {
        resize(width(), qMin(height() + kGrowStep, kFullHeight));
        if (height() == kFullHeight)
            m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    }
    m_distance -= kGrowStep;
    placeAt(targetLine() + qMax(m_distance, 0));
    if (m_distance <= 0)
        m_timer->stop();
}

void CToolTip::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (!m_closeButton || !m_text)
        return;
    const QSize close = m_closeButton->iconSize().expandedTo(QSize(kIconSide, kIconSide));
    m_closeButton->setGeometry(width() - kPadding - close.width(), kPadding - 2, close.width(), close.height());
    // The text keeps the size it has in the grown balloon, so the balloon
    // uncovers it as it grows instead of reflowing it on every step.
    m_text->setGeometry(kTextLeft, kPadding - 2, width() - kTextLeft - close.width() - 2 * kPadding,
                        kFullHeight - 2 * (kPadding - 2));
}

void CToolTip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(kOutline);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

bool CToolTip::eventFilter(QObject *watched, QEvent *event)
{
    if (m_anchor && watched == m_anchor->window()) {
        if (event->type() == QEvent::Move && isVisible())
            placeAt(targetLine() + qMax(m_distance, 0));
        else if (event->type() == QEvent::Hide)
            hide();
    }
    return QWidget::eventFilter(watched, event);
}
