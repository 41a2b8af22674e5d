#include "icons/PngEncoder.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <libdeflate.h>
#include <memory>

namespace PngEncoder {

namespace {

// libdeflate's level 2 compresses icons a little better than zlib's fastest, at about twice its speed; its
// level 1 is slower on the long clear runs of an icon's margins.
constexpr int compressionLevel = 2;
constexpr quint8 subFilter = 1;
constexpr quint8 colourTypeRgb = 2;
constexpr quint8 colourTypeRgba = 6;
// A chunk's length is a 31-bit number.
constexpr std::size_t maxChunkLength = 0x7fffffff;

struct FreeCompressor {
    void operator()(libdeflate_compressor* compressor) const { libdeflate_free_compressor(compressor); }
};

void appendNumber(QByteArray& out, quint32 value)
{
    const quint32 bigEndian = qToBigEndian(value);
    out.append(reinterpret_cast<const char*>(&bigEndian), sizeof bigEndian);
}

// Length, type, data, and the CRC of type and data.
void appendChunk(QByteArray& out, const char (&type)[5], const char* data, qsizetype length)
{
    appendNumber(out, static_cast<quint32>(length));
    const qsizetype typeAt = out.size();
    out.append(type, 4);
    out.append(data, length);
    appendNumber(out, libdeflate_crc32(0, out.constData() + typeAt, static_cast<std::size_t>(length) + 4));
}

// Rows are converted a band at a time, so that no whole copy of the picture is made beside the filtered one.
constexpr int bandRows = 32;

// Every row as the PNG stores it, 8 bits a channel: its filter's byte, then each byte less the one a pixel
// to its left. Empty when the rows cannot be converted.
QByteArray subFilteredRows(const QImage& image, bool alpha)
{
    const QImage::Format format = alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888;
    const int pixelBytes = alpha ? 4 : 3;
    const qsizetype rowBytes = qsizetype(image.width()) * pixelBytes;
    QByteArray filtered(image.height() * (rowBytes + 1), Qt::Uninitialized);
    auto* out = reinterpret_cast<quint8*>(filtered.data());
    for (int top = 0; top < image.height(); top += bandRows) {
        QImage band(image.constScanLine(top), image.width(), std::min(bandRows, image.height() - top),
                    image.bytesPerLine(), image.format());
        band.setColorTable(image.colorTable());
        const QImage rows = band.convertToFormat(format);
        if (rows.isNull())
            return {};
        for (int y = 0; y < rows.height(); ++y) {
            const quint8* line = rows.constScanLine(y);
            *out++ = subFilter;
            for (qsizetype at = 0; at < pixelBytes; ++at)
                *out++ = line[at];
            for (qsizetype at = pixelBytes; at < rowBytes; ++at)
                *out++ = static_cast<quint8>(line[at] - line[at - pixelBytes]);
        }
    }
    return filtered;
}

} // namespace

std::optional<QByteArray> encode(const QImage& image)
{
    if (image.isNull())
        return std::nullopt;
    const bool alpha = image.hasAlphaChannel();
    const QByteArray filtered = subFilteredRows(image, alpha);
    if (filtered.isEmpty())
        return std::nullopt;
    // A compressor holds about a megabyte of tables: made once a thread, not once an icon.
    thread_local const std::unique_ptr<libdeflate_compressor, FreeCompressor> compressor(
        libdeflate_alloc_compressor(compressionLevel));
    if (!compressor)
        return std::nullopt;
    const std::size_t bound =
        libdeflate_zlib_compress_bound(compressor.get(), static_cast<std::size_t>(filtered.size()));
    if (bound > maxChunkLength)
        return std::nullopt;

    QByteArray header;
    appendNumber(header, static_cast<quint32>(image.width()));
    appendNumber(header, static_cast<quint32>(image.height()));
    // 8 bits a channel; deflate, the only compression; adaptive filtering, the only method; not interlaced.
    header.append(static_cast<char>(8));
    header.append(static_cast<char>(alpha ? colourTypeRgba : colourTypeRgb));
    header.append(3, '\0');

    QByteArray out;
    out.reserve(static_cast<qsizetype>(bound) + 64);
    out.append("\x89PNG\r\n\x1a\n", 8);
    appendChunk(out, "IHDR", header.constData(), header.size());
    // The data chunk is compressed in place, behind room for its length and type, then given its CRC.
    const qsizetype lengthAt = out.size();
    out.resize(lengthAt + 8 + static_cast<qsizetype>(bound));
    const std::size_t length =
        libdeflate_zlib_compress(compressor.get(), filtered.constData(),
                                 static_cast<std::size_t>(filtered.size()), out.data() + lengthAt + 8, bound);
    if (length == 0)
        return std::nullopt;
    out.resize(lengthAt + 8 + static_cast<qsizetype>(length));
    qToBigEndian(static_cast<quint32>(length), out.data() + lengthAt);
    std::memcpy(out.data() + lengthAt + 4, "IDAT", 4);
    appendNumber(out, libdeflate_crc32(0, out.constData() + lengthAt + 4, length + 4));
    appendChunk(out, "IEND", nullptr, 0);
    out.squeeze();
    return out;
}

} // namespace PngEncoder
