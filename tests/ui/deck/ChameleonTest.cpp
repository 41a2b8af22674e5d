#include "ui/deck/Chameleon.h"

#include "support/FakeWallpaper.h"
#include "support/TestImages.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>

namespace {

QImage filled(const QColor& colour, QSize size = QSize(64, 64))
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// `colourful` covers the left `share` of the picture, grey the rest.
QImage partly(const QColor& colourful, double share)
{
    QImage image = filled(QColor(128, 128, 128), QSize(100, 100));
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < static_cast<int>(100 * share); ++x)
            image.setPixelColor(x, y, colourful);
    }
    return image;
}

// Hue, saturation and brightness, a grey's hue read as 0.
std::array<double, 3> hsb(const QColor& colour)
{
    return {std::max(colour.hsvHueF(), 0.0f), colour.hsvSaturationF(), colour.valueF()};
}

constexpr double within = 0.002;

// A GIF of two 1 × 1 frames, red then blue.
QByteArray twoFrameGif()
{
    return QByteArray::fromHex("47494638396101000100800000" // header, 1 × 1, a global table of two colours
                               "ff00000000ff"               // red, blue
                               "21f904040a000000"           // frame 1: shown for 0.1 s
                               "2c000000000100010000"       // its image, 1 × 1
                               "0202440100"                 // index 0
                               "21f904040a000000"           // frame 2
                               "2c000000000100010000"
                               "02024c0100" // index 1
                               "3b");
}

TEST(ChameleonTint, SaturatedColoursDecideTheHueAndTheClampsHoldSaturationAndBrightness)
{
    const struct {
        const char* name;
        QImage image;
        double hue;
        double saturation;
        double brightness;
    } cases[] = {
        {"pure red", filled(Qt::red), 0, 0.8, 0.72},
        {"pastel just above grey", filled(QColor(255, 238, 238)), 0, 0.45, 0.72},
        {"dark red", filled(QColor(60, 0, 0)), 0, 0.8, 0.5},
        {"a quarter blue on grey", partly(Qt::blue, 0.25), 240.0 / 360, 0.8, 0.72},
        {"mid green", filled(QColor(60, 160, 60)), 1.0 / 3, 0.625, 0.627},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto tint = ChameleonEngine::extractTint(c.image);
        ASSERT_TRUE(tint.has_value());
        const auto [hue, saturation, brightness] = hsb(*tint);
        EXPECT_NEAR(hue, c.hue, within);
        EXPECT_NEAR(saturation, c.saturation, within);
        EXPECT_NEAR(brightness, c.brightness, within);
        EXPECT_EQ(tint->alpha(), 255);
    }
}

TEST(ChameleonTint, GreyAndNearGreyPicturesGiveNone)
{
    QImage checker = filled(Qt::white);
    for (int y = 0; y < checker.height(); ++y) {
        for (int x = (y / 8) % 2 * 8; x < checker.width(); x += 16) {
            for (int i = 0; i < 8; ++i)
                checker.setPixelColor(x + i, y, Qt::black);
        }
    }
    const struct {
        const char* name;
        QImage image;
    } cases[] = {
        {"grey", filled(QColor(128, 128, 128))},
        {"black and white", checker},
        {"pastel at the threshold", filled(QColor(255, 240, 240))},
        {"transparent", filled(Qt::transparent)},
        {"a sliver of red on grey", partly(Qt::red, 0.04)},
        {"null", QImage()},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(ChameleonEngine::extractTint(c.image).has_value()) << c.name;
}

class ChameleonFiles : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes) const
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QString picture(const QString& name, const QColor& colour) const
    {
        return write(name, TestImages::png(filled(colour)));
    }

    QTemporaryDir m_dir;
};

TEST_F(ChameleonFiles, FilesThatAreNoReadablePictureGiveNoTint)
{
    QDir(m_dir.path()).mkdir(QStringLiteral("folder.png"));
    const QByteArray red = TestImages::png(filled(Qt::red));
    const struct {
        const char* name;
        QString path;
    } cases[] = {
        {"missing", m_dir.filePath(QStringLiteral("missing.png"))},
        {"folder", m_dir.filePath(QStringLiteral("folder.png"))},
        {"text", write(QStringLiteral("notes.png"), "not a picture")},
        {"empty", write(QStringLiteral("empty.png"), {})},
        {"cut short", write(QStringLiteral("cut.png"), red.left(red.size() / 2))},
        {"claims 20000 × 20000",
         write(QStringLiteral("huge.png"), TestImages::pngClaimingSize(20000, 20000))},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(ChameleonEngine::tintOfFile(c.path).has_value()) << c.name;
}

TEST_F(ChameleonFiles, LargePicturesAreReadReducedAndAnimationsByTheirFirstFrame)
{
    QImage wide = filled(Qt::red, QSize(3000, 1000));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(wide.save(&buffer, "JPEG"));
    const struct {
        const char* name;
        QString path;
    } cases[] = {
        {"3000 × 1000 JPEG", write(QStringLiteral("wide.jpg"), jpeg)},
        {"red then blue GIF", write(QStringLiteral("frames.gif"), twoFrameGif())},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto tint = ChameleonEngine::tintOfFile(c.path);
        ASSERT_TRUE(tint.has_value());
        EXPECT_NEAR(hsb(*tint)[0], 0, within);
    }
}

// The engine with its background work held until the test runs it.
class ChameleonEngineTest : public ChameleonFiles {
protected:
    ChameleonEngineTest() { m_wallpaper.setPicture(m_red); }

    // Runs the background jobs handed over so far, in order, and delivers what they post back.
    void runJobs()
    {
        while (!m_jobs.empty()) {
            auto jobs = std::move(m_jobs);
            m_jobs.clear();
            for (auto& job : jobs) {
                job();
                deliver();
            }
        }
    }

    static void deliver() { QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall); }

    static constexpr quint32 red = 0xB82525;  // hue 0, saturation 0.8, brightness 0.72
    static constexpr quint32 blue = 0x2525B8; // hue 240°

    QString m_red = picture(QStringLiteral("red.png"), Qt::red);
    QString m_blue = picture(QStringLiteral("blue.png"), Qt::blue);
    FakeWallpaper m_wallpaper;
    std::optional<QString> m_screen = QStringLiteral("DP-1");
    std::vector<ChameleonEngine::Job> m_jobs;
    ChameleonEngine m_engine{{m_wallpaper, [this] { return m_screen; },
                              [this](ChameleonEngine::Job job) { m_jobs.push_back(std::move(job)); }}};
};

TEST_F(ChameleonEngineTest, StartSamplesAtOnceAndTheRecheckDecodesOnlyAPictureThatChanged)
{
    m_engine.start();
    runJobs();
    EXPECT_EQ(m_wallpaper.askedScreen(), QStringLiteral("DP-1"));
    EXPECT_EQ(m_engine.tint(), red);
    EXPECT_EQ(m_engine.lastPicture(), m_red);

    m_engine.recheck();
    ASSERT_EQ(m_jobs.size(), 1u); // the look-up
    m_jobs.front()();
    m_jobs.clear();
    deliver();
    EXPECT_TRUE(m_jobs.empty()) << "the same picture was decoded again";

    m_wallpaper.setPicture(m_blue);
    m_engine.recheck();
    runJobs();
    EXPECT_EQ(m_engine.tint(), blue);
}

TEST_F(ChameleonEngineTest, AWorkspaceChangeDecodesTheSamePictureAgain)
{
    m_engine.start();
    runJobs();
    // Another workspace may show another picture under the same name.
    ASSERT_TRUE(QFile::remove(m_red));
    ASSERT_TRUE(QFile::copy(m_blue, m_red));
    m_wallpaper.switchWorkspace();
    runJobs();
    EXPECT_EQ(m_engine.tint(), blue);
}

TEST_F(ChameleonEngineTest, StopDropsTheTintAndWhatIsStillBeingDecoded)
{
    m_engine.start();
    runJobs();
    m_wallpaper.setPicture(m_blue);
    m_engine.recheck();
    m_jobs.front()(); // the look-up; its decode is queued next
    m_jobs.erase(m_jobs.begin());
    deliver();
    ASSERT_EQ(m_jobs.size(), 1u);

    m_engine.stop();
    EXPECT_FALSE(m_engine.isRunning());
    EXPECT_EQ(m_engine.tint(), std::nullopt);
    EXPECT_EQ(m_engine.lastPicture(), std::nullopt);
    runJobs();
    EXPECT_EQ(m_engine.tint(), std::nullopt) << "a decode that ended after the stop was published";

    m_wallpaper.switchWorkspace();
    m_engine.recheck();
    EXPECT_TRUE(m_jobs.empty());
}

TEST_F(ChameleonEngineTest, OnlyTheLatestDecodeIsPublished)
{
    m_engine.start();
    runJobs();
    m_wallpaper.setPicture(m_blue);
    m_engine.recheck();
    m_jobs.front()();
    m_jobs.erase(m_jobs.begin());
    deliver();
    auto blueDecode = std::move(m_jobs.front());
    m_jobs.clear();

    m_wallpaper.setPicture(m_red);
    m_wallpaper.switchWorkspace();
    runJobs();
    EXPECT_EQ(m_engine.tint(), red);
    blueDecode();
    deliver();
    EXPECT_EQ(m_engine.tint(), red) << "an older picture's tint replaced the newer one's";
}

TEST_F(ChameleonEngineTest, ADesktopWithoutAFindableWallpaperIsNeverSampled)
{
    NoWallpaper none;
    ChameleonEngine engine{{none, [this] { return m_screen; },
                            [this](ChameleonEngine::Job job) { m_jobs.push_back(std::move(job)); }}};
    engine.start();
    EXPECT_FALSE(engine.isRunning());
    EXPECT_TRUE(m_jobs.empty());
}

TEST_F(ChameleonEngineTest, NoScreenOrNoWallpaperLeavesTheTintAsItIs)
{
    m_engine.start();
    runJobs();

    m_wallpaper.setPicture(std::nullopt);
    m_wallpaper.switchWorkspace();
    runJobs();
    EXPECT_EQ(m_engine.tint(), red);

    m_screen.reset();
    m_engine.recheck();
    EXPECT_TRUE(m_jobs.empty());
    EXPECT_EQ(m_engine.tint(), red);

    m_screen = QStringLiteral("DP-1");
    m_wallpaper.setPicture(m_dir.filePath(QStringLiteral("gone.png")));
    m_engine.recheck();
    runJobs();
    EXPECT_EQ(m_engine.tint(), std::nullopt) << "an unreadable picture has no tint";
}

} // namespace
