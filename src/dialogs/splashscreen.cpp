#include "splashscreen.h"

#include <QBitmap>
#include <QPainter>

CSplashScreen::CSplashScreen(const QPixmap &pixmap, Qt::WindowFlags flags) : QSplashScreen(pixmap, flags)
{
    setObjectName(QStringLiteral("splashScreen"));
    setAccessibleName(QStringLiteral("Orvak Tamsel"));
}

CSplashScreen::~CSplashScreen() = default;

QRegion CSplashScreen::roundedShape(const QSize &size)
{
    if (size.isEmpty())
        return QRegion();
    QBitmap mask(size);
    mask.fill(Qt::color0);
    QPainter painter(&mask);
    painter.setBrush(Qt::color1);
    painter.setPen(Qt::color1);
    painter.drawRoundedRect(QRect(QPoint(0, 0), size).adjusted(0, 0, -1, -1), kCornerRoundnessX, kCornerRoundnessY,
                            Qt::RelativeSize);
    painter.end();
    return QRegion(mask);
}

void CSplashScreen::resizeEvent(QResizeEvent *event)
{
    QSplashScreen::resizeEvent(event);
    if (!size().isEmpty())
        setMask(roundedShape(size()));
}
