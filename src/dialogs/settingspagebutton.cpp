#include "settingspagebutton.h"

#include "theme.h"

#include <QPainter>

namespace {

using T = CTheme;

const QColor kFocusLine(0x6a, 0xb6, 0xff);
const QColor kDisabledText(0x6b, 0x76, 0x88);

} // namespace

CSettingsPageButton::CSettingsPageButton(QWidget *parent) : QToolButton(parent)
{
    setCheckable(true);
    setAutoRaise(true);
    setFocusPolicy(Qt::StrongFocus);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    QPalette themed = palette();
    const QColor text = T::color(T::ViewSelectorButton, T::Foreground);
    for (QPalette::ColorRole role : {QPalette::ButtonText, QPalette::WindowText}) {
        themed.setColor(QPalette::All, role, text.isValid() ? text : QColor(Qt::white));
        themed.setColor(QPalette::Disabled, role, kDisabledText);
    }
    setPalette(themed);
}

CSettingsPageButton::~CSettingsPageButton() = default;

void CSettingsPageButton::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        const QPixmap background = T::pixmap(T::ViewSelectorButton, isChecked() ? T::Highlighted : T::Background);
        if (!background.isNull())
            painter.drawPixmap(rect(), background);
        if (hasFocus())
            painter.fillRect(QRect(8, height() - 3, width() - 16, 2), kFocusLine);
    }
    QToolButton::paintEvent(event);
}
