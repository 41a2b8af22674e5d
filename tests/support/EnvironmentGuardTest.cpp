#include "support/EnvironmentGuard.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

std::optional<QByteArray> variable(const char* name)
{
    return qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
}

// Each variable gets back what it held before the guard first touched it, however often it changed since:
// set, set but empty, or not set at all.
TEST(EnvironmentGuard, GivesEveryVariableItsFirstValueBack)
{
    qputenv("MARQUETTO_TEST_SET", "before");
    qputenv("MARQUETTO_TEST_EMPTY", "");
    qunsetenv("MARQUETTO_TEST_UNSET");
    {
        EnvironmentGuard guard;
        guard.set("MARQUETTO_TEST_SET", "first");
        guard.unset("MARQUETTO_TEST_SET");
        guard.set("MARQUETTO_TEST_SET", "second");
        guard.unset("MARQUETTO_TEST_EMPTY");
        guard.set("MARQUETTO_TEST_UNSET", "");
        guard.set("MARQUETTO_TEST_UNSET", "x");
        EXPECT_EQ(variable("MARQUETTO_TEST_SET"), QByteArray("second"));
        EXPECT_EQ(variable("MARQUETTO_TEST_EMPTY"), std::nullopt);
    }
    EXPECT_EQ(variable("MARQUETTO_TEST_SET"), QByteArray("before"));
    EXPECT_EQ(variable("MARQUETTO_TEST_EMPTY"), QByteArray(""));
    EXPECT_EQ(variable("MARQUETTO_TEST_UNSET"), std::nullopt);
    qunsetenv("MARQUETTO_TEST_SET");
    qunsetenv("MARQUETTO_TEST_EMPTY");
}

} // namespace
