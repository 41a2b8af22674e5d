#include "icons/IconNormalizer.h"

#include "support/QtPrinters.h"
#include "support/TestImages.h"

#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

using namespace IconNormalizer;

QImage canvas(QSize size, const QColor& colour = Qt::transparent)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

// An opaque picture whose colours change everywhere, as a photo's do.
QImage photo(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0, QColor(30, 60, 90));
    gradient.setColorAt(1, QColor(220, 180, 40));
    painter.fillRect(image.rect(), gradient);
    return image;
}

// Artwork in the middle of a transparent 1024 × 1024 icon: a rounded square or a disc.
QImage appIcon(bool roundedSquare)
{
    QImage image = canvas(QSize(1024, 1024));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 40, 40));
    const QRectF artwork(212, 212, 600, 600);
    if (roundedSquare)
        painter.drawRoundedRect(artwork, 120, 120);
    else
        painter.drawEllipse(artwork);
    return image;
}

QRect boxOf(const QImage& image)
{
    const std::optional<ContentBox> box = contentBox(image);
    return box ? box->rect : QRect();
}

class IconFiles : public ::testing::Test {
protected:
    QTemporaryDir m_dir;

    [[nodiscard]] QString save(const QString& name, const QImage& image,
                               QImageIOHandler::Transformations transformation = {}) const
    {
        const QString path = m_dir.filePath(name);
        QImageWriter writer(path);
        writer.setTransformation(transformation);
        EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
        return path;
    }

    [[nodiscard]] QString write(const QString& name, const QByteArray& bytes) const
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
};

TEST(IconNormalizerShaping, CroppedArtworkStaysFullBleedWhenSquareAndIsPaddedOtherwise)
{
    const std::optional<QImage> plate = normalized(appIcon(true));
    ASSERT_TRUE(plate);
    EXPECT_EQ(plate->size(), QSize(512, 512));
    EXPECT_TRUE(hasOpaqueCorners(*plate));
    // No padding: the artwork reaches the middle of every edge.
    EXPECT_EQ(boxOf(*plate), QRect(0, 0, 512, 512));

    const std::optional<QImage> disc = normalized(appIcon(false));
    ASSERT_TRUE(disc);
    EXPECT_EQ(disc->size(), QSize(512, 512));
    // The 600-pixel disc spans 92 % of the square: 600 × 512 / round(600 / 0.92) = 471 pixels.
    const QRect box = boxOf(*disc);
    EXPECT_NEAR(box.width(), 471, 1);
    EXPECT_NEAR(box.center().x(), 256, 1);
    EXPECT_NEAR(box.center().y(), 256, 1);
}

TEST(IconNormalizerShaping, LogoOnTransparencyIsCroppedAndCentredOnASquare)
{
    QImage image = canvas(QSize(500, 400));
    QPainter(&image).fillRect(QRect(40, 170, 300, 100), Qt::blue);
    const std::optional<QImage> logo = normalized(image);
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo->size(), QSize(326, 326));
    EXPECT_EQ(boxOf(*logo), QRect(13, 113, 300, 100));
}

TEST_F(IconFiles, WidePhotoIsDecodedAtTheBoundThenSquared)
{
    const std::optional<QImage> decoded = decode(save(QStringLiteral("photo.jpg"), photo(QSize(4000, 3000))));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->size(), QSize(2048, 1536));

    const std::optional<QImage> icon = normalized(*decoded);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->size(), QSize(512, 512));
    // Drawn at 512 / 2226 of 2048 × 1536, that is 471 × 353, from (20.5, 79.4) on a transparent square.
    const QRect box = boxOf(*icon);
    EXPECT_NEAR(box.left(), 20, 1);
    EXPECT_NEAR(box.right(), 491, 1);
    EXPECT_NEAR(box.top(), 79, 1);
    EXPECT_NEAR(box.bottom(), 432, 1);
    EXPECT_EQ(qAlpha(icon->pixel(0, 0)), 0);
}

TEST(IconNormalizerShaping, NearlySquarePhotoIsOnlyScaledDown)
{
    const std::optional<QImage> icon = normalized(photo(QSize(2000, 1800)));
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->size(), QSize(512, 461));
    EXPECT_TRUE(hasOpaqueCorners(*icon));
}

TEST_F(IconFiles, OneColourImageHasNoContentAndIsStoredByTheSizeLimitAlone)
{
    const QString path = save(QStringLiteral("grey.png"), canvas(QSize(800, 600), Qt::gray));
    EXPECT_EQ(normalizedPNG(path, Step::normalized), std::nullopt);
    const std::optional<QByteArray> capped = normalizedPNG(path, Step::capped);
    ASSERT_TRUE(capped);
    EXPECT_EQ(QImage::fromData(*capped, "PNG").size(), QSize(512, 384));
}

TEST(IconNormalizerContent, BackgroundAndContentFollowTheirThresholds)
{
    const QRect pixelOnly(5, 3, 1, 1);
    struct Case {
        const char* name;
        QColor corners;
        QColor pixel;
        std::optional<QRect> box;
    };
    const Case cases[] = {
        {"faint pixel on transparency", Qt::transparent, QColor(0, 0, 0, 16), std::nullopt},
        {"visible pixel on transparency", Qt::transparent, QColor(0, 0, 0, 17), pixelOnly},
        {"close colour on grey", QColor(100, 100, 100), QColor(100, 118, 100), std::nullopt},
        {"distinct colour on grey", QColor(100, 100, 100), QColor(100, 119, 100), pixelOnly},
        // Compared premultiplied: half-transparent grey is darker than the opaque grey around it.
        {"half-transparent grey on grey", QColor(100, 100, 100), QColor(100, 100, 100, 128), pixelOnly},
        // Corners adding up to 92 of alpha are a transparent background (and visible themselves), 96 an
        // opaque black one.
        {"black on nearly clear corners", QColor(0, 0, 0, 23), Qt::black, QRect(0, 0, 9, 7)},
        {"black on faint black corners", QColor(0, 0, 0, 24), Qt::black, std::nullopt},
    };
    for (const Case& c : cases) {
        QImage image = canvas(QSize(9, 7));
        for (const QPoint corner : {QPoint(0, 0), QPoint(8, 0), QPoint(0, 6), QPoint(8, 6)})
            image.setPixelColor(corner, c.corners);
        image.setPixelColor(pixelOnly.topLeft(), c.pixel);
        for (const QImage::Format format : {QImage::Format_ARGB32_Premultiplied, QImage::Format_ARGB32}) {
            const std::optional<ContentBox> box = contentBox(image.convertToFormat(format));
            EXPECT_EQ(box ? std::optional(box->rect) : std::nullopt, c.box)
                << c.name << " in format " << format;
        }
    }
}

// An icon file holding the given pictures as PNG entries, in that order.
QByteArray icoOf(const std::vector<QImage>& images)
{
    QByteArray header(6, '\0');
    qToLittleEndian<quint16>(1, header.data() + 2);
    qToLittleEndian<quint16>(static_cast<quint16>(images.size()), header.data() + 4);
    QByteArray directory;
    QByteArray data;
    const qsizetype firstOffset = header.size() + 16 * static_cast<qsizetype>(images.size());
    for (const QImage& image : images) {
        const QByteArray png = TestImages::png(image);
        QByteArray entry(16, '\0');
        entry[0] = static_cast<char>(image.width());
        entry[1] = static_cast<char>(image.height());
        qToLittleEndian<quint16>(1, entry.data() + 4);
        qToLittleEndian<quint16>(32, entry.data() + 6);
        qToLittleEndian<quint32>(static_cast<quint32>(png.size()), entry.data() + 8);
        qToLittleEndian<quint32>(static_cast<quint32>(firstOffset + data.size()), entry.data() + 12);
        directory += entry;
        data += png;
    }
    return header + directory + data;
}

TEST_F(IconFiles, DecodingTakesTheFirstOfTheLargestPicturesTurnedUpright)
{
    const QString icons = write(QStringLiteral("set.ico"),
                                icoOf({canvas(QSize(32, 32), Qt::red), canvas(QSize(64, 64), Qt::green),
                                       canvas(QSize(64, 64), Qt::blue), canvas(QSize(16, 16), Qt::red)}));
    const std::optional<QImage> largest = decode(icons);
    ASSERT_TRUE(largest);
    EXPECT_EQ(largest->size(), QSize(64, 64));
    EXPECT_EQ(largest->pixelColor(8, 8), QColor(Qt::green));

    const std::optional<QImage> upright = decode(
        save(QStringLiteral("turned.jpg"), photo(QSize(40, 20)), QImageIOHandler::TransformationRotate90));
    ASSERT_TRUE(upright);
    EXPECT_EQ(upright->size(), QSize(20, 40));
}

TEST_F(IconFiles, PicturesTooLargeDamagedOrNotPicturesDecodeToNothing)
{
    const QByteArray whole = TestImages::png(photo(QSize(300, 200)));
    const std::pair<const char*, QString> cases[] = {
        // 40 gigabytes of pixels by its header, refused before any is reserved.
        {"huge header", write(QStringLiteral("bomb.png"), TestImages::pngClaimingSize(100000, 100000))},
        {"truncated", write(QStringLiteral("half.png"), whole.left(whole.size() / 2))},
        {"not a picture", write(QStringLiteral("notes.png"), "just some text\n")},
        {"PDF", write(QStringLiteral("doc.png"), "%PDF-1.7\n%âãÏÓ\n")},
        {"vanished", m_dir.filePath(QStringLiteral("gone.png"))},
    };
    for (const auto& [name, path] : cases)
        EXPECT_EQ(decode(path), std::nullopt) << name;
}

TEST_F(IconFiles, SixteenBitPicturesDecode)
{
    QImage deep(64, 48, QImage::Format_RGBA64);
    deep.fill(QColor(10, 200, 30));
    const std::optional<QImage> decoded = decode(save(QStringLiteral("deep.png"), deep));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->size(), QSize(64, 48));
}

TEST_F(IconFiles, HostileVectorPicturesGiveAPictureOrNothing)
{
    if (!QImageReader::supportedImageFormats().contains("svg"))
        GTEST_SKIP() << "no SVG image plugin";
    QByteArray nested = R"(<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64">)";
    for (int level = 0; level < 10000; ++level)
        nested += "<g>";
    nested += R"(<rect width="64" height="64" fill="red"/>)";
    for (int level = 0; level < 10000; ++level)
        nested += "</g>";
    nested += "</svg>";
    const QString bomb = write(QStringLiteral("bomb.png"), TestImages::pngClaimingSize(100000, 100000));
    const QByteArray external =
        R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="9000" )"
        R"(height="9000"><image width="9000" height="9000" xlink:href=")" +
        bomb.toUtf8() + R"("/><text x="10" y="50">Hi</text></svg>)";

    for (const QString& path :
         {write(QStringLiteral("nested.svg"), nested), write(QStringLiteral("external.svg"), external)}) {
        if (const std::optional<QImage> image = decode(path)) {
            EXPECT_LE(image->width(), maxDecodedSide);
            EXPECT_LE(image->height(), maxDecodedSide);
        }
    }
}

} // namespace
