#include "icons/IconVetting.h"

#include "support/TestImages.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

TEST(IconVetting, LargePicturesBecomeAReducedPngEvenBeyondWhatADecoderMayHoldWhole)
{
    const struct {
        QSize size;
        QSize stored;
    } cases[] = {
        {{3000, 2000}, {1024, 682}},
        // More pixels than a whole decode may reserve: decoded scaled, row by row.
        {{9000, 6000}, {1024, 682}},
        {{9000, 12000}, {768, 1024}},
    };
    for (const auto& c : cases) {
        const auto vetted = IconVetting::vet(TestImages::plainPng(c.size.width(), c.size.height()));
        ASSERT_TRUE(vetted) << c.size.width() << "x" << c.size.height();
        EXPECT_EQ(vetted->extension, QStringLiteral("png"));
        EXPECT_EQ(QImage::fromData(vetted->bytes, "PNG").size(), c.stored) << c.size.width();
    }

    // 70 megapixels: a baseline JPEG decodes at an eighth of its size, a progressive one would hold every
    // coefficient.
    QImage photo(10000, 7000, QImage::Format_Grayscale8);
    photo.fill(0x60);
    const auto baseline = IconVetting::vet(TestImages::jpeg(photo, false));
    ASSERT_TRUE(baseline);
    EXPECT_EQ(QImage::fromData(baseline->bytes, "PNG").size(), QSize(1024, 716));
    EXPECT_EQ(IconVetting::vet(TestImages::jpeg(photo, true)), std::nullopt);
}

TEST(IconVetting, SmallPicturesAreKeptAsTheyCameAndBrokenOrOversizedOnesAreRefused)
{
    const QByteArray small = TestImages::plainPng(512, 512);
    EXPECT_EQ(IconVetting::vet(small), (DeckTransfer::VettedIcon{small, QStringLiteral("png")}));

    EXPECT_EQ(IconVetting::vet(TestImages::pngClaimingSize(11000, 11000)), std::nullopt);
    EXPECT_EQ(IconVetting::vet(TestImages::pngClaimingSize(9000, 6000)), std::nullopt);
    EXPECT_EQ(IconVetting::vet("not an image"), std::nullopt);
}

} // namespace
