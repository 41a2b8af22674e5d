#include "platform/linux/x11/XcbPlatform.h"

#include <gtest/gtest.h>

namespace {

TEST(XcbPlatformTest, AsksForXFirstUnlessTheUserChoseAnotherPlatformAndSaysWhenItRunsWithoutX)
{
    EXPECT_EQ(XcbPlatform::platformFor({}), QByteArray("xcb;wayland"));
    for (const QByteArray& chosen : {QByteArray("xcb"), QByteArray("wayland"), QByteArray("offscreen")})
        EXPECT_TRUE(XcbPlatform::platformFor(chosen).isEmpty()) << chosen.constData();

    EXPECT_TRUE(XcbPlatform::noticeFor(QStringLiteral("xcb")).isEmpty());
    for (const QString& platform : {QStringLiteral("wayland"), QStringLiteral("offscreen")}) {
        const QString notice = XcbPlatform::noticeFor(platform);
        EXPECT_TRUE(notice.startsWith(QStringLiteral("Marquetto: running on ") + platform))
            << notice.toStdString();
        EXPECT_TRUE(notice.contains(QLatin1String("without X"))) << notice.toStdString();
    }
}

} // namespace
