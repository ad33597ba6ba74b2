#pragma once

#include <QColor>
#include <QString>

class CTheme;
class QIODevice;
class QXmlStreamAttributes;

// Reads a theme file into a CTheme. It reacts to the start and end of six
// elements (element, config, color, animation, image, state; names compared
// in lower case, attributes and values case-sensitive) and ignores every
// other element while still reading its children. State children add only
// to what is stored after them. Exists only while a theme loads.
class ThemeXmlHandler final
{
public:
    // theme is filled, not owned. imageRoot is put in front of every image
    // location as a plain string.
    ThemeXmlHandler(CTheme *theme, const QString &imageRoot = QStringLiteral(":/"));

    // Reads the whole document. Stops at the first XML error or at an image
    // that asks for both mirroring and rotation; whatever was stored before
    // the stop stays in the theme. Returns whether the document was read to
    // its end.
    bool parse(QIODevice *device);

    // Return false to stop reading.
    bool startElement(QStringView name, const QXmlStreamAttributes &attributes);
    bool endElement(QStringView name);

private:
    bool storeImage();

    CTheme *m_theme;
    int m_element = 0;
    int m_stateMask = 0;
    QColor m_color = QColor(0, 0, 0, 0);
    QString m_imagePath;
    int m_rotation = 0;
    bool m_mirrorHorizontal = false;
    bool m_mirrorVertical = false;
    int m_imagePosition = 0;
    int m_modeX = 0;
    int m_modeY = 0;
    bool m_inElement = false;
    bool m_inAnimation = false;
    bool m_inImage = false;
    bool m_inColor = false;
    bool m_inState = false;
    bool m_inConfig = false;
    QString m_imageRoot;
};
