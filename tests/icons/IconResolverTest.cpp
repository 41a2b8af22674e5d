#include "icons/IconResolver.h"

#include "support/FakeClock.h"
#include "support/FakeFileIcons.h"
#include "support/LogCapture.h"
#include "support/TempHome.h"
#include "support/TestImages.h"

#include <QDir>
#include <QPainter>

namespace {

using TestImages::png;
using TestImages::pngClaimingSize;

QImage filled(QSize size, const QColor& colour)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

// An opaque square with its corners cut round, as an icon drawn inside a transparent margin.
QImage roundedSquare()
{
    QImage image = filled(QSize(64, 64), Qt::transparent);
    QPainter painter(&image);
    painter.setBrush(Qt::red);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(0, 0, 64, 64), 24, 24);
    return image;
}

class IconResolverTest : public TempHome {
protected:
    FakeFileIcons m_fileIcons;
    FakeClock m_clock;
    IconResolver m_resolver{m_paths.iconsDir(), m_fileIcons, m_clock};

    void writeIcon(const QString& name, const QByteArray& bytes) const
    {
        writeFile(m_paths.iconsDir() + u'/' + name, bytes);
    }
};

TEST_F(IconResolverTest, AMissingOrCorruptImageIsNothingAndIsLookedForAgain)
{
    LogCapture log;
    EXPECT_EQ(m_resolver.customImage(QStringLiteral("later.png")), std::nullopt);
    writeIcon(QStringLiteral("broken.png"), png(filled(QSize(16, 16), Qt::red)).left(40));
    EXPECT_EQ(m_resolver.customImage(QStringLiteral("broken.png")), std::nullopt);
    EXPECT_EQ(m_resolver.customImage(QStringLiteral("broken.png")), std::nullopt);
    EXPECT_EQ(log.lines().size(), 1) << log.lines().join(u'\n').toStdString();

    writeIcon(QStringLiteral("later.png"), png(filled(QSize(16, 16), Qt::red)));
    writeIcon(QStringLiteral("broken.png"), png(filled(QSize(16, 16), Qt::red)));
    EXPECT_TRUE(m_resolver.customImage(QStringLiteral("later.png")));
    EXPECT_TRUE(m_resolver.customImage(QStringLiteral("broken.png")));
}

TEST_F(IconResolverTest, OnlyBareFileNamesInTheIconsFolderAreRead)
{
    writeFile(m_paths.supportDir() + QStringLiteral("/outside.png"), png(filled(QSize(8, 8), Qt::red)));
    QDir().mkpath(m_paths.iconsDir());
    for (const QString& name : {QStringLiteral("../outside.png"), QStringLiteral(".."), QString()})
        EXPECT_EQ(m_resolver.customImage(name), std::nullopt) << name.toStdString();
}

TEST_F(IconResolverTest, LargeImagesAreDecodedAtABoundedSize)
{
    writeIcon(QStringLiteral("wide.png"), png(filled(QSize(3000, 1000), Qt::red)));
    const std::optional<QImage> wide = m_resolver.customImage(QStringLiteral("wide.png"));
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->size(), QSize(IconResolver::maxDecodedSide, 341));

    // A header promising 30000 × 30000 pixels must not make the resolver reserve gigabytes.
    LogCapture log;
    writeIcon(QStringLiteral("huge.png"), pngClaimingSize(30000, 30000));
    const std::optional<QImage> huge = m_resolver.customImage(QStringLiteral("huge.png"));
    if (huge) {
        EXPECT_LE(huge->width(), IconResolver::maxDecodedSide);
        EXPECT_LE(huge->height(), IconResolver::maxDecodedSide);
    }
}

TEST_F(IconResolverTest, PlatesAreOpaqueSquaresAndTheDecisionIsKept)
{
    writeIcon(QStringLiteral("plate.png"), png(filled(QSize(32, 32), Qt::red)));
    writeIcon(QStringLiteral("rounded.png"), png(roundedSquare()));

    EXPECT_TRUE(m_resolver.isPlate(QStringLiteral("plate.png")));
    EXPECT_FALSE(m_resolver.isPlate(QStringLiteral("rounded.png")));

    writeIcon(QStringLiteral("plate.png"), png(roundedSquare()));
    IconResolver fresh(m_paths.iconsDir(), m_fileIcons, m_clock);
    EXPECT_FALSE(fresh.isPlate(QStringLiteral("plate.png")));
    EXPECT_TRUE(m_resolver.isPlate(QStringLiteral("plate.png")));
}

TEST_F(IconResolverTest, AMissingFileIsNoPlateUntilItAppears)
{
    EXPECT_FALSE(m_resolver.isPlate(QStringLiteral("later.png")));
    writeIcon(QStringLiteral("later.png"), png(filled(QSize(32, 32), Qt::red)));
    EXPECT_TRUE(m_resolver.isPlate(QStringLiteral("later.png")));
}

TEST_F(IconResolverTest, ApplicationAndFileIconsAreAskedForWhatExists)
{
    const QString file = m_dir.path() + QStringLiteral("/notes.txt");
    writeFile(file, "notes");
    const TileAction openFile{TileAction::OpenFile{file}};
    const TileAction launchFolder{TileAction::LaunchApp{m_dir.path()}};
    const TileAction missing{TileAction::LaunchApp{m_dir.path() + QStringLiteral("/gone.desktop")}};

    EXPECT_TRUE(m_resolver.autoImage(openFile));
    EXPECT_TRUE(m_resolver.autoImage(openFile));
    EXPECT_TRUE(m_resolver.autoImage(launchFolder));
    EXPECT_EQ(m_resolver.autoImage(missing), std::nullopt);
    EXPECT_EQ(m_resolver.autoImage(TileAction{TileAction::OpenURL{QStringLiteral("https://example.org")}}),
              std::nullopt);
    EXPECT_EQ(m_resolver.autoImage(std::nullopt), std::nullopt);
    EXPECT_EQ(m_fileIcons.asked, (QStringList{file, m_dir.path()}));
}

// A tile is redrawn on every frame of a page flip; the desktop's entries are searched at most once a minute.
TEST_F(IconResolverTest, AnIconTheDesktopLacksIsAskedForAgainAfterAWhile)
{
    m_fileIcons.hasIcons = false;
    const TileAction openFolder{TileAction::OpenFile{m_dir.path()}};
    EXPECT_EQ(m_resolver.autoImage(openFolder), std::nullopt);
    m_fileIcons.hasIcons = true;
    m_clock.advance(IconResolver::iconlessRetrySeconds - 1);
    EXPECT_EQ(m_resolver.autoImage(openFolder), std::nullopt);
    EXPECT_EQ(m_fileIcons.asked.size(), 1);
    m_clock.advance(1);
    EXPECT_TRUE(m_resolver.autoImage(openFolder));
    EXPECT_EQ(m_fileIcons.asked.size(), 2);
}

TEST_F(IconResolverTest, AClockSetBackDoesNotPutOffTheNextQuestion)
{
    m_fileIcons.hasIcons = false;
    const TileAction openFolder{TileAction::OpenFile{m_dir.path()}};
    EXPECT_EQ(m_resolver.autoImage(openFolder), std::nullopt);
    m_fileIcons.hasIcons = true;
    m_clock.advance(-IconResolver::iconlessRetrySeconds);
    EXPECT_TRUE(m_resolver.autoImage(openFolder));
}

} // namespace
