// Build helper: renders one picture (SVG) to a PNG file at its own size, or
// at that size times a whole scale for high-density screens.
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s input.svg output.png [scale]\n", argv[0]);
        return 2;
    }
    const int scale = argc == 4 ? std::atoi(argv[3]) : 1;
    if (scale < 1) {
        std::fprintf(stderr, "scale must be a whole number from 1\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QImageReader reader(QString::fromLocal8Bit(argv[1]));
    // Vector pictures are rendered at the larger size, not scaled up after.
    if (reader.size().isValid())
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
