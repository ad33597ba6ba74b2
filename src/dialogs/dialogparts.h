#pragma once

#include "theme.h"

#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <QRegion>

// Small pieces the dialogs share. Theme pictures carry the screen's pixel
// ratio, so every geometry here is in logical pixels.

class CPanelButton;
class QWidget;

inline QSize logicalSize(const QPixmap &pixmap)
{
    return pixmap.isNull() ? QSize(0, 0) : pixmap.deviceIndependentSize().toSize();
}

// The whole picture scaled into target; nothing for an empty target or a
// missing picture.
inline void drawStretched(QPainter *painter, const QRect &target, const QPixmap &pixmap)
{
    if (!pixmap.isNull() && target.width() > 0 && target.height() > 0)
        painter->drawPixmap(target, pixmap);
}

// The theme state of the dialog's bottom panel for a dialog variant.
inline int bottomPanelState(int variant)
{
    return CTheme::Left | (variant == 1 ? CTheme::Small : 0);
}

// A close button ("closeButton", tooltip and accessible name "Close") with
// no panel behind its icon; the caller connects it and sets the icon.
CPanelButton *makeCloseButton(QWidget *parent);

// A rounded rectangle over the whole of size, as a window shape; the corner
// roundness is in percent of half the width and of half the height (as
// QPainter::drawRoundedRect with Qt::RelativeSize). Empty for an empty size.
QRegion roundedShape(const QSize &size, qreal roundnessX, qreal roundnessY);
