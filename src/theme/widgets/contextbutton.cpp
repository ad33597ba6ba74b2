#include "contextbutton.h"

#include "theme.h"

CContextButton::CContextButton(QWidget *parent) : CContextButton(QString(), parent) {}

CContextButton::CContextButton(const QString &text, QWidget *parent) : QPushButton(text, parent)
{
    // The image is the whole button: no bevel around it.
    setFlat(true);
    setAutoFillBackground(true);
    applyTheme();
}

CContextButton::~CContextButton() = default;

void CContextButton::setActive(bool active)
{
    m_active = active;
    applyTheme();
}

void CContextButton::applyTheme()
{
    QPalette themed = palette();
    const QColor text = CTheme::color(CTheme::ViewSelectorButton, CTheme::Foreground);
    if (text.isValid())
        themed.setColor(QPalette::ButtonText, text);
    const QPixmap image = CTheme::pixmap(CTheme::ViewSelectorButton, m_active ? CTheme::Highlighted : CTheme::Background);
    const QBrush background = image.isNull() ? QBrush(Qt::transparent) : QBrush(image);
    themed.setBrush(QPalette::Button, background);
    themed.setBrush(QPalette::Window, background);
    setBackgroundRole(QPalette::Button);
    setPalette(themed);
    update();
}
