// themesheet [--scale N] [--package file.rcc] [--theme file.xml --root dir/] [--pages h] [--preview mock.png] output.png
//
// Draws the whole theme onto one sheet: per element, every stored image with
// its state and size, every animation frame, every colour, and a painted
// sample of every element with paint modes, so a person can review the theme
// at a glance and at the chosen screen scale.
#include "preview.h"
#include "theme.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMetaEnum>
#include <QPainter>
#include <QResource>

#include <cstdio>

namespace {

constexpr int kSheetWidth = 1480;
constexpr int kMargin = 16;
constexpr int kLabelHeight = 28;
constexpr int kMaxPicture = 240;

QString stateName(int state)
{
    if (state == 0)
        return QStringLiteral("None");
    if (state == -1)
        return QStringLiteral("(unknown)");
    const QMetaEnum meta = QMetaEnum::fromType<CTheme::State>();
    QStringList names;
    for (int i = 0; i < meta.keyCount(); ++i)
        if (meta.value(i) != 0 && (state & meta.value(i)) == meta.value(i))
            names << QLatin1String(meta.key(i));
    return names.join(QLatin1Char('|'));
}

QString modeName(int mode)
{
    const char *key = QMetaEnum::fromType<CTheme::PaintMode>().valueToKey(mode);
    return key ? QLatin1String(key) : QStringLiteral("?");
}

class Sheet
{
public:
    explicit Sheet(qreal scale)
        : m_image(QSize(kSheetWidth, 20000) * scale, QImage::Format_ARGB32_Premultiplied)
    {
        m_image.setDevicePixelRatio(scale);
        m_image.fill(QColor(0xe9, 0xec, 0xf0));
        m_painter.begin(&m_image);
        m_painter.setRenderHint(QPainter::Antialiasing);
        m_small = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        m_small.setPixelSize(10);
        m_title = m_small;
        m_title.setPixelSize(15);
        m_title.setBold(true);
    }

    void section(const QString &title)
    {
        newLine();
        m_y += 6;
        m_painter.fillRect(QRect(0, m_y, kSheetWidth, 26), QColor(0x2a, 0x33, 0x42));
        m_painter.setPen(Qt::white);
        m_painter.setFont(m_title);
        m_painter.drawText(QRect(kMargin, m_y, kSheetWidth, 26), Qt::AlignVCenter, title);
        m_y += 26 + 8;
        m_x = kMargin;
    }

    // A tile of the given content size with a label below; returns where to draw.
    QRect tile(QSize content, const QString &label, const QString &detail)
    {
        const int width = qMax(content.width(), 96) + 12;
        const int height = content.height() + 12;
        if (m_x + width > kSheetWidth - kMargin)
            newLine();
        const QRect box(m_x, m_y, width, height);
        drawChecker(box);
        m_painter.setPen(QColor(0x3c, 0x46, 0x56));
        m_painter.setFont(m_small);
        const QRect text(m_x, m_y + height + 1, qMax(width, 96), kLabelHeight);
        m_painter.drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                           label + QLatin1Char('\n') + detail);
        m_x += qMax(width, 96) + 10;
        m_lineHeight = qMax(m_lineHeight, height + kLabelHeight + 8);
        return QRect(box.left() + 6 + (width - 12 - content.width()) / 2, box.top() + 6, content.width(),
                     content.height());
    }

    QPainter &painter() { return m_painter; }

    QImage finish()
    {
        newLine();
        m_painter.end();
        return m_image.copy(0, 0, m_image.width(), int((m_y + kMargin) * m_image.devicePixelRatio()));
    }

private:
    void newLine()
    {
        if (m_lineHeight > 0)
            m_y += m_lineHeight;
        m_lineHeight = 0;
        m_x = kMargin;
    }

    void drawChecker(const QRect &box)
    {
        // Mid-grey squares: white and dark pictures both stand out, and
        // transparency shows.
        m_painter.save();
        m_painter.setClipRect(box);
        for (int y = box.top(); y < box.bottom(); y += 8)
            for (int x = box.left(); x < box.right(); x += 8)
                m_painter.fillRect(QRect(x, y, 8, 8),
                                   ((x - box.left()) / 8 + (y - box.top()) / 8) % 2 ? QColor(0x78, 0x80, 0x8b)
                                                                                    : QColor(0x8b, 0x92, 0x9c));
        m_painter.restore();
    }

    QImage m_image;
    QPainter m_painter;
    QFont m_small;
    QFont m_title;
    int m_x = kMargin;
    int m_y = kMargin;
    int m_lineHeight = 0;
};

QSize fitted(QSize size)
{
    if (size.width() <= kMaxPicture && size.height() <= kMaxPicture)
        return size;
    return size.scaled(kMaxPicture, kMaxPicture, Qt::KeepAspectRatio);
}

QSize sampleSize(CTheme::PaintModes modes, CTheme::Element element, int state)
{
    const auto extent = [&](int piece, bool height) {
        const QPixmap p = CTheme::pixmap(element, state | piece);
        const QSizeF s = p.deviceIndependentSize();
        return int(height ? s.height() : s.width());
    };
    if (modes.x == CTheme::Flexible)
        return QSize(220, modes.y == CTheme::Fixed ? qMax(extent(CTheme::Left, true) + 8, 20)
                                                   : qMax(extent(CTheme::Left, true), 24));
    if (modes.y == CTheme::Flexible)
        return QSize(modes.x == CTheme::Fixed ? qMax(extent(CTheme::Top, false) + 8, 20)
                                              : qMax(extent(CTheme::Top, false), 24),
                     140);
    // Stretched: twice the picture's own size shows what stretching does to it.
    const QSize own = CTheme::pixmap(element, state).deviceIndependentSize().toSize();
    return fitted(own.width() <= 80 ? own * 2 : own).expandedTo(QSize(24, 24));
}

void drawElement(Sheet &sheet, const CTheme &theme, int element)
{
    const auto e = CTheme::Element(element);
    const char *name = QMetaEnum::fromType<CTheme::Element>().valueToKey(element);
    sheet.section(QStringLiteral("%1  %2").arg(element).arg(name ? QLatin1String(name) : QStringLiteral("?")));

    for (const CTheme::Key &key : theme.imageKeys()) {
        if (key.element != element)
            continue;
        const QPixmap image = CTheme::pixmap(e, key.state);
        const QSize size = image.isNull() ? QSize(40, 20) : image.deviceIndependentSize().toSize();
        // Small pieces are shown twice as large so their detail can be judged.
        const int zoom = size.width() <= 32 && size.height() <= 32 ? 2 : 1;
        const QString detail = image.isNull() ? QStringLiteral("MISSING")
                                              : QStringLiteral("%1 x %2%3").arg(size.width()).arg(size.height())
                                                    .arg(zoom > 1 ? QStringLiteral(", shown 2x") : QString());
        const QRect target = sheet.tile(fitted(size * zoom), stateName(key.state), detail);
        if (image.isNull())
            sheet.painter().fillRect(target, Qt::red);
        else
            sheet.painter().drawPixmap(target, image);
    }
    for (const CTheme::Key &key : theme.animationKeys()) {
        if (key.element != element)
            continue;
        const int count = CTheme::animationFrameCount(e, key.state);
        for (int i = 0; i < count; ++i) {
            const QPixmap frame = CTheme::animationFrame(e, key.state, i);
            const QSize size = frame.deviceIndependentSize().toSize();
            const QRect target = sheet.tile(fitted(size), stateName(key.state), QStringLiteral("frame %1 of %2").arg(i + 1).arg(count));
            sheet.painter().drawPixmap(target, frame);
        }
    }
    for (const CTheme::Key &key : theme.colorKeys()) {
        if (key.element != element)
            continue;
        const QColor color = CTheme::color(e, key.state);
        const QRect target = sheet.tile(QSize(84, 30), stateName(key.state),
                                        color.isValid() ? color.name(QColor::HexArgb) : QStringLiteral("invalid"));
        sheet.painter().fillRect(target, color.isValid() ? color : QColor(Qt::red));
    }
    for (const CTheme::Key &key : theme.paintModeKeys()) {
        if (key.element != element)
            continue;
        const CTheme::PaintModes modes = CTheme::paintModes(e, key.state);
        if (modes.x == modes.y && modes.x == CTheme::Fixed)
            continue; // drawn above at its own size
        const QRect target = sheet.tile(sampleSize(modes, e, key.state), QStringLiteral("painted ") + stateName(key.state),
                                        modeName(modes.x) + QLatin1Char('/') + modeName(modes.y));
        CTheme::paint(&sheet.painter(), e, key.state, target);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("output"), QStringLiteral("PNG file to write"));
    const QCommandLineOption scale(QStringLiteral("scale"), QStringLiteral("Screen scale to render at."),
                                   QStringLiteral("factor"), QStringLiteral("1"));
    const QCommandLineOption package(QStringLiteral("package"), QStringLiteral("Resource package holding the theme."),
                                     QStringLiteral("file"),
                                     QCoreApplication::applicationDirPath() + QStringLiteral("/Resource/videotransfer.rcc"));
    const QCommandLineOption themeFile(QStringLiteral("theme"), QStringLiteral("Theme file."), QStringLiteral("file"),
                                       QStringLiteral(":/Theme/Resources/DefaultTheme15.xml"));
    const QCommandLineOption root(QStringLiteral("root"), QStringLiteral("Image root of the theme."), QStringLiteral("path"),
                                  QStringLiteral(":/Theme/"));
    const QCommandLineOption pages(QStringLiteral("pages"),
                                   QStringLiteral("Also write the sheet cut into pages of this many logical pixels "
                                                  "(output-1.png, output-2.png, ...)."),
                                   QStringLiteral("height"));
    const QCommandLineOption preview(QStringLiteral("preview"),
                                     QStringLiteral("Also write a mock window, menu and dialog painted from the theme."),
                                     QStringLiteral("file"));
    parser.addOptions({scale, package, themeFile, root, pages, preview});
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    if (!QResource::registerResource(parser.value(package), QStringLiteral("/Theme/")))
        std::fprintf(stderr, "cannot open the resource package %s\n", qPrintable(parser.value(package)));
    const qreal factor = qMax(0.5, parser.value(scale).toDouble());
    auto *theme = new CTheme(parser.value(themeFile), parser.value(root), factor);
    CTheme::setCurrent(theme);

    QVector<int> elements;
    for (const auto &keys : {theme->imageKeys(), theme->animationKeys(), theme->colorKeys(), theme->paintModeKeys()})
        for (const CTheme::Key &key : keys)
            if (!elements.contains(key.element))
                elements.append(key.element);
    std::sort(elements.begin(), elements.end());

    Sheet sheet(factor);
    for (int element : elements)
        drawElement(sheet, *theme, element);
    const QImage result = sheet.finish();
    if (parser.isSet(preview) && !renderPreview(factor).save(parser.value(preview)))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(parser.value(preview)));
    CTheme::setCurrent(nullptr);
    if (!result.save(parser.positionalArguments().constFirst())) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(parser.positionalArguments().constFirst()));
        return 1;
    }
    if (parser.isSet(pages)) {
        const int step = int(qMax(200, parser.value(pages).toInt()) * factor);
        QString base = parser.positionalArguments().constFirst();
        if (base.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
            base.chop(4);
        for (int top = 0, page = 1; top < result.height(); top += step, ++page)
            result.copy(0, top, result.width(), qMin(step, result.height() - top))
                .save(base + QStringLiteral("-%1.png").arg(page));
    }
    std::printf("%d elements\n", int(elements.size()));
    return 0;
}
