#include "icons/PngEncoder.h"

#include "support/QtPrinters.h"

#include <QBuffer>
#include <QImageReader>
#include <gtest/gtest.h>

namespace {

QImage decoded(const QByteArray& png)
{
    QBuffer buffer;
    buffer.setData(png);
    QImageReader reader(&buffer, "png");
    return reader.read();
}

// Every byte of every pixel, compared as the encoder writes them.
bool samePixels(const QImage& a, const QImage& b)
{
    const QImage left = a.convertToFormat(QImage::Format_RGBA8888);
    const QImage right = b.convertToFormat(QImage::Format_RGBA8888);
    if (left.size() != right.size())
        return false;
    for (int y = 0; y < left.height(); ++y) {
        if (std::memcmp(left.constScanLine(y), right.constScanLine(y), size_t(left.width()) * 4) != 0)
            return false;
    }
    return true;
}

TEST(PngEncoder, PixelsComeBackExactlyWithAlphaOnlyWhereThePictureHasIt)
{
    // Translucent colours of every kind, straight and premultiplied, then an opaque picture and one of few
    // colours; odd sizes, so that no row ends on a word, and tall enough to be converted in several bands.
    QImage straight(37, 71, QImage::Format_ARGB32);
    QImage opaque(41, 45, QImage::Format_RGB32);
    for (int y = 0; y < straight.height(); ++y) {
        for (int x = 0; x < straight.width(); ++x)
            straight.setPixel(x, y, qRgba(x * 7, y * 11, (x * y) & 0xFF, (x * 13 + y * 5) & 0xFF));
    }
    for (int y = 0; y < opaque.height(); ++y) {
        for (int x = 0; x < opaque.width(); ++x)
            opaque.setPixel(x, y, qRgb(x * 6, 255 - y * 9, (x ^ y) * 4));
    }
    const QImage premultiplied = straight.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage indexed = opaque.convertToFormat(QImage::Format_Indexed8);

    for (const QImage& image : {straight, premultiplied, opaque, indexed}) {
        const std::optional<QByteArray> png = PngEncoder::encode(image);
        ASSERT_TRUE(png) << image.format();
        const QImage back = decoded(*png);
        EXPECT_TRUE(samePixels(back, image)) << image.format();
        EXPECT_EQ(back.hasAlphaChannel(), image.hasAlphaChannel()) << image.format();
    }
    EXPECT_FALSE(PngEncoder::encode(QImage()));
}

} // namespace
