// Feeds arbitrary bytes to the icon decoder as a phone's picture file.
// Whatever the input, decoding must end with zero or more pictures of a
// bounded size, never a read outside the data, a crash or a hang.
#include "icodecoder.h"

#include <QLoggingCategory>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Qt's image readers warn about every broken picture.
    QLoggingCategory::setFilterRules(QStringLiteral("*.warning=false"));
    qputenv("QT_LOGGING_RULES", "*.warning=false");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<QImage> images = Orvak_API::IcoDecoder::decode(bytes);
    quint32 sum = 0;
    for (const QImage &image : images) {
        if (image.isNull() || image.width() > Orvak_API::IcoDecoder::MaxIconSide
            || image.height() > Orvak_API::IcoDecoder::MaxIconSide)
            std::abort();
        // Touch every pixel, so that the sanitizers see any uninitialised one.
        for (int y = 0; y < image.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                sum += line[x];
        }
    }
    return sum == 0x12345678u ? 0 : 0;
}
