#include "theme.h"

#include "themexmlhandler.h"

#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace {

CTheme *s_current = nullptr;

qreal screensPixelRatio()
{
    // The largest ratio keeps images sharp on every screen; Qt scales them
    // down where a screen needs less.
    qreal ratio = 1.0;
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        const auto screens = QGuiApplication::screens();
        for (const QScreen *screen : screens)
            ratio = qMax(ratio, screen->devicePixelRatio());
    }
    return ratio;
}

template <typename T>
T lookup(const QHash<int, QHash<int, T>> &table, int element, int state)
{
    const auto byElement = table.constFind(element);
    if (byElement == table.constEnd())
        return T();
    return byElement->value(state);
}

template <typename T>
QVector<CTheme::Key> keysOf(const QHash<int, QHash<int, T>> &table)
{
    QVector<CTheme::Key> keys;
    for (auto element = table.cbegin(); element != table.cend(); ++element)
        for (auto state = element->cbegin(); state != element->cend(); ++state)
            keys.append({element.key(), state.key()});
    std::sort(keys.begin(), keys.end(), [](const CTheme::Key &a, const CTheme::Key &b) {
        return a.element != b.element ? a.element < b.element : unsigned(a.state) < unsigned(b.state);
    });
    return keys;
}

QSize logicalSize(const QPixmap &pixmap)
{
    return pixmap.isNull() ? QSize(0, 0) : pixmap.deviceIndependentSize().toSize();
}

void drawScaled(QPainter *painter, const QRect &target, const QPixmap &pixmap)
{
    // A non-positive extent would make the painter mirror the image instead
    // of leaving the piece out.
    if (pixmap.isNull() || target.width() <= 0 || target.height() <= 0)
        return;
    painter->drawPixmap(target, pixmap);
}

void drawHorizontalSlices(QPainter *painter, CTheme::Element element, int state, const QRect &rect,
                          bool fullHeight)
{
    const QPixmap left = CTheme::pixmap(element, state | CTheme::Left);
    const QPixmap center = CTheme::pixmap(element, state | CTheme::Center);
    const QPixmap right = CTheme::pixmap(element, state | CTheme::Right);
    const QSize l = logicalSize(left);
    const QSize c = logicalSize(center);
    const QSize r = logicalSize(right);

    const int top = fullHeight ? rect.top() : rect.top() + (rect.height() - l.height()) / 2;
    const int lh = fullHeight ? rect.height() : l.height();
    const int ch = fullHeight ? rect.height() : c.height();
    const int rh = fullHeight ? rect.height() : r.height();

    drawScaled(painter, QRect(rect.left(), top, l.width(), lh), left);
    drawScaled(painter, QRect(rect.left() + l.width(), top, rect.width() - l.width() - r.width(), ch), center);
    drawScaled(painter, QRect(rect.left() + rect.width() - r.width(), top, r.width(), rh), right);
}

void drawVerticalSlices(QPainter *painter, CTheme::Element element, int state, const QRect &rect,
                        bool fullWidth)
{
    const QPixmap top = CTheme::pixmap(element, state | CTheme::Top);
    const QPixmap middle = CTheme::pixmap(element, state | CTheme::Middle);
    const QPixmap bottom = CTheme::pixmap(element, state | CTheme::Bottom);
    const QSize t = logicalSize(top);
    const QSize m = logicalSize(middle);
    const QSize b = logicalSize(bottom);

    const int left = fullWidth ? rect.left() : rect.left() + (rect.width() - t.width()) / 2;
    const int tw = fullWidth ? rect.width() : t.width();
    const int mw = fullWidth ? rect.width() : m.width();
    const int bw = fullWidth ? rect.width() : b.width();

    drawScaled(painter, QRect(left, rect.top(), tw, t.height()), top);
    drawScaled(painter, QRect(left, rect.top() + t.height(), mw, rect.height() - t.height() - b.height()), middle);
    drawScaled(painter, QRect(left, rect.top() + rect.height() - b.height(), bw, b.height()), bottom);
}

} // namespace

CTheme::CTheme(const QString &themeFile, const QString &imageRoot, QObject *parent)
    : CTheme(themeFile, imageRoot, screensPixelRatio(), parent)
{
}

CTheme::CTheme(const QString &themeFile, const QString &imageRoot, qreal devicePixelRatio, QObject *parent)
    : QObject(parent)
    , m_devicePixelRatio(devicePixelRatio > 0 ? devicePixelRatio : 1.0)
{
    load(themeFile, imageRoot);
}

CTheme::~CTheme()
{
    // Lookups after the current theme is gone find nothing instead of
    // reading freed memory.
    if (s_current == this)
        s_current = nullptr;
}

void CTheme::load(const QString &themeFile, const QString &imageRoot)
{
    // No name is a file that cannot be opened; asking QFile would only warn.
    if (themeFile.isEmpty())
        return;
    QFile file(themeFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    ThemeXmlHandler handler(this, imageRoot);
    handler.parse(&file);
}

void CTheme::setCurrent(CTheme *theme)
{
    if (theme == s_current)
        return;
    CTheme *previous = s_current;
    s_current = theme;
    delete previous;
}

CTheme *CTheme::current()
{
    return s_current;
}

QPixmap CTheme::pixmap(Element element, int state)
{
    return s_current ? lookup(s_current->m_images, element, state) : QPixmap();
}

QIcon CTheme::icon(Element element, int state)
{
    static const struct {
        int flags;
        QIcon::Mode mode;
        QIcon::State iconState;
    } parts[] = {
        {Up, QIcon::Normal, QIcon::Off},
        {RollOver, QIcon::Active, QIcon::Off},
        {Down, QIcon::Selected, QIcon::Off},
        {Disabled, QIcon::Disabled, QIcon::Off},
        {Checked | Up, QIcon::Normal, QIcon::On},
        {Checked | RollOver, QIcon::Active, QIcon::On},
        {Checked | Down, QIcon::Selected, QIcon::On},
        {Checked | Disabled, QIcon::Disabled, QIcon::On},
    };
    QIcon result;
    for (const auto &part : parts) {
        const QPixmap image = pixmap(element, state | part.flags);
        if (!image.isNull())
            result.addPixmap(image, part.mode, part.iconState);
    }
    return result;
}

QSize CTheme::iconSize(Element element, int state)
{
    for (int flag : {Up, RollOver, Down, Disabled}) {
        const QPixmap image = pixmap(element, state | flag);
        if (!image.isNull())
            return logicalSize(image);
    }
    return QSize(0, 0);
}

QColor CTheme::color(Element element, int state)
{
    return s_current ? lookup(s_current->m_colors, element, state) : QColor();
}

CTheme::PaintModes CTheme::paintModes(Element element, int state)
{
    return s_current ? lookup(s_current->m_paintModes, element, state) : PaintModes();
}

QPixmap CTheme::animationFrame(Element element, int state, int index)
{
    if (!s_current)
        return QPixmap();
    return lookup(s_current->m_animations, element, state).value(index);
}

int CTheme::animationFrameCount(Element element, int state)
{
    return s_current ? int(lookup(s_current->m_animations, element, state).size()) : 0;
}

void CTheme::paint(QPainter *painter, Element element, int state, const QRect &rect)
{
    PaintModes modes = paintModes(element, state);
    if (modes.x == NoPaintMode && modes.y == NoPaintMode)
        modes = {Scaled, Scaled};

    if (modes.x == Fixed && modes.y == Fixed)
        drawCentered(painter, pixmap(element, state), rect);
    else if (modes.x == Scaled && modes.y == Scaled)
        drawScaled(painter, rect, pixmap(element, state));
    else if (modes.x == Fixed && modes.y == Flexible)
        drawVerticalSlices(painter, element, state, rect, false);
    else if (modes.x == Scaled && modes.y == Flexible)
        drawVerticalSlices(painter, element, state, rect, true);
    else if (modes.x == Flexible && modes.y == Fixed)
        drawHorizontalSlices(painter, element, state, rect, false);
    else if (modes.x == Flexible && modes.y == Scaled)
        drawHorizontalSlices(painter, element, state, rect, true);
}

void CTheme::drawCentered(QPainter *painter, const QPixmap &pixmap, const QRect &rect)
{
    if (pixmap.isNull())
        return;
    const QSize size = logicalSize(pixmap);
    painter->drawPixmap(QPoint(rect.left() + (rect.width() - size.width()) / 2,
                               rect.top() + (rect.height() - size.height()) / 2),
                        pixmap);
}

QVector<CTheme::Key> CTheme::imageKeys() const
{
    return keysOf(m_images);
}

QVector<CTheme::Key> CTheme::animationKeys() const
{
    return keysOf(m_animations);
}

QVector<CTheme::Key> CTheme::colorKeys() const
{
    return keysOf(m_colors);
}

QVector<CTheme::Key> CTheme::paintModeKeys() const
{
    return keysOf(m_paintModes);
}

void CTheme::setImage(int element, int state, const QPixmap &image)
{
    m_images[element][state] = image;
}

void CTheme::appendAnimationFrame(int element, int state, const QPixmap &frame)
{
    m_animations[element][state].append(frame);
}

void CTheme::setColor(int element, int state, const QColor &color)
{
    m_colors[element][state] = color;
}

void CTheme::setPaintModes(int element, int state, PaintModes modes)
{
    m_paintModes[element][state] = modes;
}
