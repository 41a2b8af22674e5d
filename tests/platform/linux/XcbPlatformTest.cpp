#include "platform/linux/XcbPlatform.h"

#include <gtest/gtest.h>

namespace {

bool reachable()
{
    return true;
}
bool unreachable()
{
    return false;
}

TEST(XcbPlatformTest, AsksForXUnlessTheUserChoseAnotherPlatformAndSaysWhenItRunsWithoutX)
{
    const struct {
        const char* chosen;
        bool (*x)();
        const char* platform;
        const char* because; // what the notice says, nothing when the deck runs on X
    } cases[] = {
        {"", reachable, "xcb", nullptr},
        {"", unreachable, "", "no X display reachable"},
        {"xcb", reachable, "", nullptr},
        {"xcb:nograb", reachable, "", nullptr},
        {"xcb", unreachable, "", "no X display reachable"},
        {"wayland", reachable, "", "QT_QPA_PLATFORM chooses wayland"},
        {"wayland;xcb", reachable, "", "QT_QPA_PLATFORM chooses wayland"},
        {"offscreen", unreachable, "", "QT_QPA_PLATFORM chooses offscreen"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen);
        const XcbPlatform::Choice choice = XcbPlatform::choose(c.chosen, c.x);
        EXPECT_EQ(choice.platform, QByteArray(c.platform));
        if (c.because == nullptr) {
            EXPECT_TRUE(choice.notice.isEmpty()) << choice.notice.toStdString();
        } else {
            EXPECT_TRUE(choice.notice.startsWith(QStringLiteral("Marquetto: ") + QLatin1String(c.because)))
                << choice.notice.toStdString();
            EXPECT_TRUE(choice.notice.contains(QLatin1String("without X"))) << choice.notice.toStdString();
        }
    }
}

} // namespace
