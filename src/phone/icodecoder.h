#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace Orvak_API {

// Decodes the pictures of an icon file (ICO) read from a phone, in the order
// of its entries. Only PNG entries and uncompressed 32-bit bitmap entries are
// used; every other entry, and every entry whose offset, size or dimensions
// do not fit the data, is skipped. The bytes are untrusted: nothing outside
// data is read, no picture is larger than MaxIconSide on either side, at most
// MaxPictures are kept and at most MaxDecodedBytes of pixels are decoded in
// all (counted from each entry's stated size before it is decoded); entries
// past these limits are refused, except that one entry of the size the main
// window looks for (75 x 217) is still tried past them. Any thread.
namespace IcoDecoder {

inline constexpr int MaxIconSide = 1024;
inline constexpr int MaxPictures = 16;
inline constexpr qint64 MaxDecodedBytes = 64LL * 1024 * 1024;
inline constexpr int ShownWidth = 75;
inline constexpr int ShownHeight = 217;

QList<QImage> decode(const QByteArray &data);

} // namespace IcoDecoder

} // namespace Orvak_API
