#pragma once

#include "theme.h"

#include <QVector>

// Every (element, state) the program asks the theme for, with what it needs
// there. The shipped theme is checked against this list; whoever adds a
// painter adds its requests here.
struct ThemeRequest
{
    enum Kind {
        Image,     // pixmap(element, state) is not null
        Color,     // color(element, state) is valid
        Paint,     // paint(element, state, rect) puts pixels down
        Icon,      // icon(element, state) has a normal image, iconSize is not empty
        Animation, // at least one frame, none of them null
    };

    CTheme::Element element;
    int state;
    Kind kind;
    const char *painter;
};

QVector<ThemeRequest> themeRequests();

// Pictures the program opens by their own resource path, outside the theme.
QStringList fixedImages();
