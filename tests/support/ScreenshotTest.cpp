#include "support/Screenshot.h"

#include "support/X11Client.h"
#include "support/XvfbSession.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(Screenshot, ShowsWhatIsOnTheScreenAndSavesItAsPng)
{
    if (const QStringList missing = XvfbSession::missingPrograms(false); !missing.isEmpty())
        GTEST_SKIP() << "needs " << missing.join(QStringLiteral(", ")).toStdString();
    XvfbSession session({{640, 480}, false});
    ASSERT_TRUE(session.start()) << session.error().toStdString();
    X11Client client;
    const xcb_window_t window = xcb_generate_id(client.connection());
    const uint32_t red = 0xff0000;
    xcb_create_window(client.connection(), XCB_COPY_FROM_PARENT, window, client.root(), 100, 50, 40, 30, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, XCB_CW_BACK_PIXEL, &red);
    xcb_map_window(client.connection(), window);
    client.sync();

    const std::optional<QImage> screen = grabScreen();
    ASSERT_TRUE(screen.has_value());
    EXPECT_EQ(screen->size(), QSize(640, 480));
    EXPECT_EQ(screen->pixel(100, 50), qRgb(255, 0, 0));
    EXPECT_EQ(screen->pixel(139, 79), qRgb(255, 0, 0));
    EXPECT_NE(screen->pixel(140, 80), qRgb(255, 0, 0));

    const QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("screen.png"));
    ASSERT_TRUE(saveScreenshot(png));
    EXPECT_EQ(QImage(png).convertToFormat(QImage::Format_RGB32), *screen);

    const NoDisplay none;
    EXPECT_FALSE(grabScreen().has_value());
    EXPECT_FALSE(saveScreenshot(png + QStringLiteral(".none")));
}

} // namespace
