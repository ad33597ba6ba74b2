// Build helper: renders one picture (SVG) to a PNG file at its own size, at
// that size times a whole scale for high-density screens, or at a given
// size in pixels ("48x48", for the icon theme's fixed sizes).
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QList>
#include <QSize>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s input.svg output.png [scale | WIDTHxHEIGHT]\n", argv[0]);
        return 2;
    }
    int scale = 1;
    QSize size;
    if (argc == 4) {
        const QByteArray option(argv[3]);
        const QList<QByteArray> parts = option.split('x');
        if (parts.size() == 2)
            size = QSize(parts.at(0).toInt(), parts.at(1).toInt());
        else
            scale = option.toInt();
        if (scale < 1 || (parts.size() == 2 && size.isEmpty())) {
            std::fprintf(stderr, "give a whole scale from 1 or a size such as 48x48\n");
            return 2;
        }
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QImageReader reader(QString::fromLocal8Bit(argv[1]));
    // Vector pictures are rendered at the larger size, not scaled up after.
    if (size.isValid())
        reader.setScaledSize(size);
    else if (reader.size().isValid())
        reader.setScaledSize(reader.size() * scale);
    const QImage image = reader.read();
    if (image.isNull()) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(reader.errorString()));
        return 1;
    }
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
