#include "themexmlhandler.h"

#include "theme.h"
#include "themehelper.h"

#include <QImageReader>
#include <QTransform>
#include <QXmlStreamReader>

namespace {

// No theme picture comes near this; a larger one is treated as unreadable
// rather than allowed to exhaust memory.
constexpr int kMaxImageSide = 4096;

bool tooLarge(const QSize &size)
{
    return size.width() > kMaxImageSide || size.height() > kMaxImageSide;
}

// Decodes an image once, at load time. Scalable images are rendered at the
// theme's pixel ratio so they stay sharp on high-density screens.
QImage decode(const QString &path, qreal pixelRatio)
{
    QImageReader reader(path);
    const QByteArray format = reader.format();
    const bool scalable = format == "svg" || format == "svgz";
    const QSize size = reader.size();
    if (size.isValid() && tooLarge(size))
        return QImage();
    if (scalable && size.isValid() && !qFuzzyCompare(pixelRatio, 1.0))
        reader.setScaledSize((QSizeF(size) * pixelRatio).toSize());
    QImage image = reader.read();
    if (image.isNull() || tooLarge(image.size() / (scalable ? pixelRatio : 1.0)))
        return QImage();
    if (scalable)
        image.setDevicePixelRatio(pixelRatio);
    return image;
}

int toInt(QStringView text)
{
    return text.toInt();
}

// A component outside 0..255 makes the colour invalid, the same as no colour.
QColor makeColor(int r, int g, int b, int a)
{
    const auto inRange = [](int v) { return v >= 0 && v <= 255; };
    if (!inRange(r) || !inRange(g) || !inRange(b) || !inRange(a))
        return QColor();
    return QColor(r, g, b, a);
}

int keyOrMinusOne(const QXmlStreamAttributes &attributes, QLatin1String name, int (*convert)(QStringView))
{
    if (!attributes.hasAttribute(name))
        return -1;
    return convert(attributes.value(name));
}

} // namespace

ThemeXmlHandler::ThemeXmlHandler(CTheme *theme, const QString &imageRoot)
    : m_theme(theme)
    , m_imageRoot(imageRoot)
{
}

bool ThemeXmlHandler::parse(QIODevice *device)
{
    QXmlStreamReader xml(device);
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (!startElement(xml.qualifiedName(), xml.attributes()))
                return false;
            break;
        case QXmlStreamReader::EndElement:
            if (!endElement(xml.qualifiedName()))
                return false;
            break;
        default:
            break;
        }
    }
    return !xml.hasError();
}

bool ThemeXmlHandler::startElement(QStringView name, const QXmlStreamAttributes &attributes)
{
    const QString tag = name.toString().toLower();
    if (tag == QLatin1String("element")) {
        m_inElement = true;
        m_element = keyOrMinusOne(attributes, QLatin1String("name"), &CThemeHelper::element);
    } else if (tag == QLatin1String("config")) {
        m_inConfig = true;
        m_modeX = keyOrMinusOne(attributes, QLatin1String("mode_x"), &CThemeHelper::paintMode);
        m_modeY = keyOrMinusOne(attributes, QLatin1String("mode_y"), &CThemeHelper::paintMode);
    } else if (tag == QLatin1String("color")) {
        m_inColor = true;
        const QStringView alpha = attributes.value(QLatin1String("a"));
        m_color = makeColor(toInt(attributes.value(QLatin1String("r"))),
                            toInt(attributes.value(QLatin1String("g"))),
                            toInt(attributes.value(QLatin1String("b"))),
                            alpha.isEmpty() ? 255 : toInt(alpha));
    } else if (tag == QLatin1String("animation")) {
        m_inAnimation = true;
    } else if (tag == QLatin1String("image")) {
        m_inImage = true;
        m_imagePath = m_imageRoot + attributes.value(QLatin1String("location"));
        m_rotation = toInt(attributes.value(QLatin1String("rotation")));
        m_mirrorHorizontal = attributes.value(QLatin1String("mirror_horizontal")) == QLatin1String("true");
        m_mirrorVertical = attributes.value(QLatin1String("mirror_vertical")) == QLatin1String("true");
        const QStringView position = attributes.value(QLatin1String("position"));
        if (!position.isEmpty())
            m_imagePosition = CThemeHelper::state(position);
    } else if (tag == QLatin1String("state")) {
        m_inState = true;
        const int value = keyOrMinusOne(attributes, QLatin1String("type"), &CThemeHelper::state);
        if (m_inImage)
            m_imagePosition |= value;
        else if (m_inConfig || m_inColor || m_inAnimation)
            m_stateMask |= value;
    }
    return true;
}

bool ThemeXmlHandler::endElement(QStringView name)
{
    const QString tag = name.toString().toLower();
    if (tag == QLatin1String("element")) {
        m_inElement = false;
        m_element = 0;
        m_stateMask = 0;
    } else if (tag == QLatin1String("config")) {
        m_inConfig = false;
        m_theme->setPaintModes(m_element, m_stateMask, {m_modeX, m_modeY});
        m_modeX = 0;
        m_modeY = 0;
        m_stateMask = 0;
    } else if (tag == QLatin1String("color")) {
        m_inColor = false;
        m_theme->setColor(m_element, m_stateMask, m_color);
        m_color = QColor(0, 0, 0, 0);
        m_stateMask = 0;
    } else if (tag == QLatin1String("animation")) {
        m_inAnimation = false;
        m_stateMask = 0;
    } else if (tag == QLatin1String("image")) {
        m_inImage = false;
        const bool stored = storeImage();
        m_rotation = 0;
        m_mirrorHorizontal = false;
        m_mirrorVertical = false;
        m_imagePosition = 0;
        return stored;
    } else if (tag == QLatin1String("state")) {
        m_inState = false;
    }
    return true;
}

bool ThemeXmlHandler::storeImage()
{
    const int state = m_stateMask | m_imagePosition;
    const qreal ratio = m_theme->devicePixelRatio();

    // Animation frames are shown as drawn.
    if (m_inAnimation) {
        m_theme->appendAnimationFrame(m_element, state, QPixmap::fromImage(decode(m_imagePath, ratio)));
        return true;
    }
    const bool mirror = m_mirrorHorizontal || m_mirrorVertical;
    if (mirror && m_rotation != 0)
        return false;

    QImage image = decode(m_imagePath, ratio);
    if (!image.isNull() && mirror) {
        image = image.mirrored(m_mirrorHorizontal, m_mirrorVertical);
    } else if (!image.isNull() && m_rotation != 0) {
        const qreal imageRatio = image.devicePixelRatio();
        image = image.transformed(QTransform().rotate(m_rotation), Qt::FastTransformation);
        image.setDevicePixelRatio(imageRatio);
    }
    m_theme->setImage(m_element, state, QPixmap::fromImage(image));
    return true;
}
