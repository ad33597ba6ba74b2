// Feeds arbitrary bytes to the icon decoder as a phone's picture file.
// Whatever the input, decoding must end with zero or more pictures of a
// bounded size, number and total, never a read outside the data, a crash or
// a hang; run it with a memory limit (see CMakeLists.txt) so that a decoder
// that keeps too much fails the run.
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
    using namespace Orvak_API::IcoDecoder;
    const QList<QImage> images = decode(bytes);
    // The limits, plus the one picture of the shown size tried past them.
    if (images.size() > MaxPictures + 1)
        std::abort();
    qint64 total = 0;
    quint32 sum = 0;
    for (const QImage &image : images) {
        if (image.isNull() || image.width() > MaxIconSide || image.height() > MaxIconSide)
            std::abort();
        total += qint64(image.width()) * image.height() * 4;
        if (total > MaxDecodedBytes + qint64(ShownWidth) * ShownHeight * 4)
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
