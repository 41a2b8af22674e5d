#include "support/TestImages.h"

#include <QBuffer>
#include <QtEndian>

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

} // namespace

QByteArray png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
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
