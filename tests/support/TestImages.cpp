#include "support/TestImages.h"

#include <QBuffer>
#include <QImageWriter>
#include <QtEndian>
#include <zlib.h>

namespace TestImages {

namespace {

quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : bytes) {
        crc ^= static_cast<quint8>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void appendChunk(QByteArray& file, const char* type, const QByteArray& data)
{
    char length[4];
    qToBigEndian<quint32>(static_cast<quint32>(data.size()), length);
    file.append(length, 4);
    const QByteArray typed = QByteArray(type, 4) + data;
    file.append(typed);
    char crc[4];
    qToBigEndian<quint32>(crc32(typed), crc);
    file.append(crc, 4);
}

} // namespace

QByteArray plainPng(int width, int height)
{
    QByteArray file("\x89PNG\r\n\x1a\n", 8);
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(width), header.data());
    qToBigEndian<quint32>(static_cast<quint32>(height), header.data() + 4);
    header[8] = 8; // bits per sample
    header[9] = 2; // RGB; compression, filter and interlacing 0
    appendChunk(file, "IHDR", header);

    z_stream stream{};
    deflateInit(&stream, Z_BEST_SPEED);
    // Each row: filter type 0, then its samples.
    QByteArray row(3 * qsizetype(width) + 1, char(0x80));
    row[0] = 0;
    QByteArray compressed;
    char out[1 << 16];
    for (int y = 0; y <= height; ++y) {
        const bool last = y == height;
        stream.next_in = reinterpret_cast<Bytef*>(last ? nullptr : row.data());
        stream.avail_in = last ? 0 : static_cast<uInt>(row.size());
        do {
            stream.next_out = reinterpret_cast<Bytef*>(out);
            stream.avail_out = sizeof out;
            deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
            compressed.append(out, static_cast<qsizetype>(sizeof out - stream.avail_out));
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    appendChunk(file, "IDAT", compressed);
    appendChunk(file, "IEND", {});
    return file;
}

QByteArray png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray jpeg(const QImage& image, bool progressive)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

QByteArray pngClaimingSize(int width, int height)
{
    QImage small(8, 8, QImage::Format_ARGB32_Premultiplied);
    small.fill(Qt::green);
    QByteArray bytes = png(small);
    // The header chunk follows the 8-byte signature: length, "IHDR", width, height, …, then its CRC.
    constexpr int chunkType = 12;
    constexpr int headerData = 13;
    qToBigEndian<quint32>(static_cast<quint32>(width), bytes.data() + chunkType + 4);
    qToBigEndian<quint32>(static_cast<quint32>(height), bytes.data() + chunkType + 8);
    const quint32 crc = crc32(bytes.mid(chunkType, 4 + headerData));
    qToBigEndian<quint32>(crc, bytes.data() + chunkType + 4 + headerData);
    return bytes;
}

} // namespace TestImages
