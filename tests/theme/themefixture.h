#pragma once

#include "theme.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

// A temporary folder holding small images of plain colours and the theme
// files written by a test, so that every lookup can be traced to a known
// picture by its size and colour.
class ThemeFixture
{
public:
    ThemeFixture()
    {
        solid(QStringLiteral("red.png"), QSize(4, 10), Qt::red);
        solid(QStringLiteral("green.png"), QSize(2, 10), Qt::green);
        solid(QStringLiteral("blue.png"), QSize(6, 10), Qt::blue);
        solid(QStringLiteral("yellow.png"), QSize(8, 6), Qt::yellow);
        solid(QStringLiteral("cyan.png"), QSize(10, 3), Qt::cyan);
        solid(QStringLiteral("magenta.png"), QSize(10, 2), Qt::magenta);
        solid(QStringLiteral("gray.png"), QSize(10, 5), Qt::gray);
        // Left half red, right half blue, top row white: shows mirroring and rotation.
        QImage marked(4, 2, QImage::Format_ARGB32);
        marked.fill(Qt::blue);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                marked.setPixelColor(x, y, Qt::red);
        marked.setPixelColor(0, 0, Qt::white);
        marked.save(path(QStringLiteral("marked.png")));
        QFile svg(path(QStringLiteral("square.svg")));
        if (svg.open(QIODevice::WriteOnly))
            svg.write("<svg xmlns='http://www.w3.org/2000/svg' width='10' height='6' viewBox='0 0 10 6'>"
                      "<rect width='10' height='6' fill='#00ff00'/></svg>");
    }

    QString root() const { return m_dir.path() + QLatin1Char('/'); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    // Writes body inside a document element and loads it as the current theme.
    CTheme *load(const QByteArray &body, qreal pixelRatio = 1.0)
    {
        const QString file = path(QStringLiteral("theme.xml"));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return nullptr;
        out.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<theme>\n" + body + "\n</theme>\n");
        out.close();
        auto *theme = new CTheme(file, root(), pixelRatio);
        CTheme::setCurrent(theme);
        return theme;
    }

private:
    void solid(const QString &name, QSize size, Qt::GlobalColor color)
    {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(color);
        image.save(path(name));
    }

    QTemporaryDir m_dir;
};
