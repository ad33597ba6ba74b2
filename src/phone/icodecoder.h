#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace Orvak_API {

// Decodes the pictures of an icon file (ICO) read from a phone, in the order
// of its entries. Only PNG entries and uncompressed 32-bit bitmap entries are
// used; every other entry, and every entry whose offset, size or dimensions
// do not fit the data, is skipped. The bytes are untrusted: nothing outside
// data is read and no picture is larger than MaxIconSide on either side.
// Any thread.
namespace IcoDecoder {

inline constexpr int MaxIconSide = 1024;

QList<QImage> decode(const QByteArray &data);

} // namespace IcoDecoder

} // namespace Orvak_API
