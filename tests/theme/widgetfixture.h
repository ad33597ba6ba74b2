#pragma once

#include "themefixture.h"

#include <QWidget>

// Extra plain-colour images for widget tests, and rendering of a widget
// onto a transparent image so that only what it paints shows.
inline void saveSolid(const ThemeFixture &fixture, const QString &name, QSize size, const QColor &color)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    image.save(fixture.path(name));
}

inline QImage renderWidget(QWidget *widget)
{
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

inline QColor pixel(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y);
}
