#include "splashscreen.h"

#include "dialogparts.h"

CSplashScreen::CSplashScreen(const QPixmap &pixmap, Qt::WindowFlags flags) : QSplashScreen(pixmap, flags)
{
    setObjectName(QStringLiteral("splashScreen"));
    setAccessibleName(QStringLiteral("Orvak Tamsel"));
}

CSplashScreen::~CSplashScreen() = default;

QRegion CSplashScreen::roundedShape(const QSize &size)
{
    return ::roundedShape(size, kCornerRoundnessX, kCornerRoundnessY);
}

void CSplashScreen::resizeEvent(QResizeEvent *event)
{
    QSplashScreen::resizeEvent(event);
    if (!size().isEmpty())
        setMask(roundedShape(size()));
}
