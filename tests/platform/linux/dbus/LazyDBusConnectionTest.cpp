#include "platform/linux/dbus/LazyDBusConnection.h"

#include <gtest/gtest.h>

namespace {

TEST(LazyDBusConnectionTest, ConnectsOnFirstUseOnlyAndOnceForAllCopies)
{
    int connects = 0;
    const LazyDBusConnection lazy([&connects] {
        ++connects;
        return QDBusConnection(QStringLiteral("marquetto-missing-bus"));
    });
    const LazyDBusConnection copy = lazy;
    EXPECT_EQ(connects, 0) << "made before anything asked for it";
    EXPECT_FALSE(copy.get().isConnected());
    EXPECT_FALSE(lazy.get().isConnected());
    EXPECT_EQ(connects, 1);
}

} // namespace
