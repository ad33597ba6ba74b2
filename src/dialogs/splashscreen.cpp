#include "splashscreen.h"

#include <QBitmap>
#include <QPainter>

CSplashScreen::CSplashScreen(const QPixmap &pixmap, Qt::WindowFlags flags)
    : QSplashScreen(pixmap, flags)
{
}

void CSplashScreen::resizeEvent(QResizeEvent *event)
{
    QSplashScreen::resizeEvent(event);
    if (size().isEmpty())
        return;
    QBitmap mask(size());
    mask.fill(Qt::color0);
    QPainter painter(&mask);
    painter.setBrush(Qt::color1);
    painter.setPen(Qt::color1);
    painter.drawRoundedRect(rect().adjusted(0, 0, -1, -1), 6, 11, Qt::RelativeSize);
    painter.end();
    setMask(mask);
}
