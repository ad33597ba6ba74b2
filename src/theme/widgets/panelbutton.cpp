#include "panelbutton.h"

#include "theme.h"

#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>

CPanelButton::CPanelButton(QWidget *parent) : QToolButton(parent) {}

CPanelButton::~CPanelButton() = default;

void CPanelButton::setHighlighted(bool highlighted)
{
    m_highlighted = highlighted;
    update();
}

void CPanelButton::setSize(int size)
{
    m_size = size;
    const QPixmap image = CTheme::pixmap(CTheme::PanelButton, sizeFlags() | CTheme::Highlighted | CTheme::Enabled);
    setMinimumSize(image.isNull() ? QSize(0, 0) : image.deviceIndependentSize().toSize());
    update();
}

void CPanelButton::setDrawBackground(bool draw)
{
    m_drawBackground = draw;
    update();
}

int CPanelButton::sizeFlags() const
{
    int flags = m_size == Small ? CTheme::Small : m_size == Large ? CTheme::Large : CTheme::Medium;
    if (isCheckable()) {
        flags |= CTheme::Toggle;
        if (isChecked())
            flags |= CTheme::Checked;
    }
    return flags;
}

int CPanelButton::themeState() const
{
    int state;
    if (!isEnabled())
        state = CTheme::Disabled;
    else if (m_highlighted)
        state = CTheme::Highlighted | CTheme::Enabled;
    else if (isDown())
        state = CTheme::Down | CTheme::Enabled;
    else if (testAttribute(Qt::WA_UnderMouse))
        state = CTheme::RollOver | CTheme::Enabled;
    else
        state = CTheme::Up | CTheme::Enabled;
    return state | sizeFlags();
}

void CPanelButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    if (m_drawBackground)
        CTheme::drawCentered(&painter, CTheme::pixmap(CTheme::PanelButton, themeState()), rect());
    QStyleOptionToolButton option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ToolButton, option);
}
