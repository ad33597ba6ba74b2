#include "theme.h"

#include <QAbstractButton>
#include <QIcon>

void CTheme::setButtonIcon(QAbstractButton *button, Element element, int state)
{
    button->setIcon(icon(element, state));
    // Every state of a button shows at the size of its plain image.
    button->setIconSize(iconSize(element, None));
}
