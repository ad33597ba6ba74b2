// Feeds arbitrary bytes to the theme reader as a theme file, then looks up
// and paints everything it stored. Whatever the input, reading must end with
// a partial or empty theme, never a crash, a hang or unbounded memory.
#include "theme.h"
#include "themexmlhandler.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdint>
#include <memory>

namespace {

QString s_root;

// A few real pictures for the input to name: a raster, a scalable one and a
// file that is not a picture at all.
void makeImages(const QString &folder)
{
    QImage raster(6, 4, QImage::Format_ARGB32);
    raster.fill(Qt::red);
    raster.save(folder + QStringLiteral("/a.png"));
    QFile svg(folder + QStringLiteral("/b.svg"));
    if (svg.open(QIODevice::WriteOnly))
        svg.write("<svg xmlns='http://www.w3.org/2000/svg' width='5' height='3'><rect width='5' height='3'/></svg>");
    QFile junk(folder + QStringLiteral("/c.png"));
    if (junk.open(QIODevice::WriteOnly))
        junk.write("not a picture");
}

bool usableElement(int element)
{
    return element >= CTheme::NoElement && element <= CTheme::PhoneRemoveNewIcon;
}

void exercise(const CTheme &theme)
{
    QImage canvas(48, 24, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    const QRect rects[] = {canvas.rect(), QRect(3, 3, 2, 2), QRect(5, 5, 0, 0), QRect(-10, -10, 200, 5)};
    for (const auto &keys : {theme.imageKeys(), theme.paintModeKeys(), theme.animationKeys(), theme.colorKeys()}) {
        for (const CTheme::Key &key : keys) {
            if (!usableElement(key.element))
                continue;
            const auto element = CTheme::Element(key.element);
            for (const QRect &rect : rects)
                CTheme::paint(&painter, element, key.state, rect);
            CTheme::drawCentered(&painter, CTheme::pixmap(element, key.state), canvas.rect());
            const QIcon icon = CTheme::icon(element, key.state);
            (void)icon.isNull();
            (void)CTheme::iconSize(element, key.state);
            (void)CTheme::color(element, key.state);
            const int frames = CTheme::animationFrameCount(element, key.state);
            for (int i = -1; i <= frames; ++i)
                (void)CTheme::animationFrame(element, key.state, i);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Warnings about broken pictures and XML are expected by the thousand.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    static QGuiApplication app(*argc, *argv);
    static QTemporaryDir folder;
    makeImages(folder.path());
    s_root = folder.path() + QLatin1Char('/');
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);

    auto *theme = new CTheme(QString(), s_root, 1.0);
    ThemeXmlHandler handler(theme, s_root);
    handler.parse(&buffer);
    CTheme::setCurrent(theme);
    exercise(*theme);
    CTheme::setCurrent(nullptr);
    return 0;
}
