#include "icodecoder.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

namespace Orvak_API::IcoDecoder {

namespace {

constexpr qint64 HeaderSize = 6;
constexpr qint64 EntrySize = 16;
constexpr qint64 BitmapHeaderSize = 40;
const char s_pngSignature[8] = {char(137), 'P', 'N', 'G', '\r', '\n', char(26), '\n'};

quint16 u16(const char *p)
{
    return qFromLittleEndian<quint16>(p);
}

quint32 u32(const char *p)
{
    return qFromLittleEndian<quint32>(p);
}

qint32 i32(const char *p)
{
    return qFromLittleEndian<qint32>(p);
}

bool isPng(const char *entry, qint64 size)
{
    return size >= qint64(sizeof s_pngSignature) && memcmp(entry, s_pngSignature, sizeof s_pngSignature) == 0;
}

// The picture size a PNG states in its header (the first chunk), read before
// anything is inflated, so that a small entry cannot claim a huge picture
// unnoticed. Invalid when there is no header.
QSize pngSize(const char *entry, qint64 size)
{
    constexpr qint64 HeaderEnd = 8 + 4 + 4 + 8; // signature, length, type, width and height
    if (size < HeaderEnd || memcmp(entry + 12, "IHDR", 4) != 0)
        return QSize();
    const quint32 width = qFromBigEndian<quint32>(entry + 16);
    const quint32 height = qFromBigEndian<quint32>(entry + 20);
    if (width == 0 || height == 0 || width > quint32(MaxIconSide) || height > quint32(MaxIconSide))
        return QSize();
    return QSize(int(width), int(height));
}

QImage decodePng(const QByteArray &bytes, const QSize &stated)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "PNG");
    if (reader.size() != stated)
        return QImage();
    QImage image;
    if (!reader.read(&image) || image.size() != stated)
        return QImage();
    return image;
}

// A bitmap entry's picture size, invalid unless it is an uncompressed 32-bit
// bitmap whose pixels lie within the entry.
QSize bitmapSize(const char *entry, qint64 size)
{
    if (size < BitmapHeaderSize)
        return QSize();
    const quint32 headerSize = u32(entry);
    const qint32 width = i32(entry + 4);
    const qint32 doubleHeight = i32(entry + 8); // the colours and the mask
    const quint16 bitCount = u16(entry + 14);
    const quint32 compression = u32(entry + 16);
    const quint32 coloursUsed = u32(entry + 32);
    if (bitCount != 32 || compression != 0 || coloursUsed != 0)
        return QSize();
    // The pixels follow the header, whatever its version says its length is.
    if (headerSize < BitmapHeaderSize || headerSize > quint64(size))
        return QSize();
    const qint32 height = doubleHeight / 2;
    if (width <= 0 || height <= 0 || width > MaxIconSide || height > MaxIconSide)
        return QSize();
    if (qint64(headerSize) + qint64(width) * 4 * height > size)
        return QSize();
    return QSize(width, height);
}

QImage decodeBitmap(const char *entry, const QSize &stated)
{
    const quint32 headerSize = u32(entry);
    const qint32 width = stated.width();
    const qint32 height = stated.height();
    const qint64 rowBytes = qint64(width) * 4;

    QImage image(width, height, QImage::Format_ARGB32);
    if (image.isNull())
        return QImage();
    const char *pixels = entry + headerSize;
    bool anyAlpha = false;
    // Bitmaps are stored bottom row first.
    for (qint32 y = 0; y < height; ++y) {
        const char *row = pixels + rowBytes * (height - 1 - y);
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (qint32 x = 0; x < width; ++x) {
            line[x] = u32(row + 4 * x);
            anyAlpha = anyAlpha || qAlpha(line[x]) != 0;
        }
    }
    // Older 32-bit icons leave the alpha bytes empty and mean opaque.
    if (!anyAlpha)
        image.reinterpretAsFormat(QImage::Format_RGB32);
    return image;
}

} // namespace

QList<QImage> decode(const QByteArray &data)
{
    QList<QImage> images;
    const qint64 length = data.size();
    if (length <= HeaderSize)
        return images;
    const char *bytes = data.constData();
    const quint16 reserved = u16(bytes);
    const quint16 type = u16(bytes + 2);
    const qint16 count = qint16(u16(bytes + 4));
    if (reserved != 0 || type != 1 || count <= 0)
        return images;
    // Every entry may point at the same large picture, so the work is
    // bounded by what is kept and decoded, not by the size of the file.
    qint64 decoded = 0;
    bool shownTried = false; // the one entry decoded past the limits
    for (qint64 i = 0; i < count; ++i) {
        const qint64 at = HeaderSize + i * EntrySize;
        if (at + EntrySize > length)
            break;
        const qint64 size = u32(bytes + at + 8);
        const qint64 offset = u32(bytes + at + 12);
        if (size <= 0 || offset > length || size > length - offset)
            continue;
        const char *entry = bytes + offset;
        const bool png = isPng(entry, size);
        const QSize stated = png ? pngSize(entry, size) : bitmapSize(entry, size);
        if (!stated.isValid())
            continue;
        const qint64 cost = qint64(stated.width()) * stated.height() * 4;
        if (images.size() >= MaxPictures || decoded + cost > MaxDecodedBytes) {
            if (shownTried || stated != QSize(ShownWidth, ShownHeight))
                continue;
            shownTried = true;
        }
        decoded += cost;
        const QImage image = png ? decodePng(QByteArray::fromRawData(entry, qsizetype(size)), stated)
                                 : decodeBitmap(entry, stated);
        if (!image.isNull())
            images.append(image);
    }
    return images;
}

} // namespace Orvak_API::IcoDecoder
