#include "sync/CloudRule.h"

#include <gtest/gtest.h>

namespace {

using CloudRule::Reading;
using CloudRule::Step;

const QString a = QStringLiteral("a");
const QString b = QStringLiteral("b");
const QString c = QStringLiteral("c");
constexpr double exported = 1'000'000;

CloudRule::Pass pass(Reading reading, const QString& file, const QString& local, const QString& storedFile,
                     const QString& storedDeck, bool real, double edit = 0, double exportedAt = 0)
{
    return {reading, file, local, storedFile, storedDeck, real, edit, exportedAt};
}

struct PassCase {
    const char* name;
    CloudRule::Pass pass;
    Step expected;
};

TEST(CloudRuleTest, APassSendsAppliesOrSettlesByWhatChangedSinceTheSidesLastAgreed)
{
    const std::vector<PassCase> cases{
        {"same deck on both sides", pass(Reading::deck, a, a, b, c, true), Step::record},
        {"starter deck gives way", pass(Reading::deck, a, b, a, b, false), Step::apply},
        {"nothing changed", pass(Reading::deck, a, b, a, b, true), Step::settle},
        {"only local changed", pass(Reading::deck, a, c, a, b, true), Step::send},
        {"only cloud changed", pass(Reading::deck, c, b, a, b, true), Step::apply},
        {"both, local edit later", pass(Reading::deck, c, a, b, b, true, exported + 1, exported), Step::send},
        {"both, local edit earlier", pass(Reading::deck, c, a, b, b, true, exported - 1, exported),
         Step::apply},
        // Whole seconds on both sides: an edit in the same second as the file's is a tie the file wins.
        {"both, within the same second",
         {Reading::deck, c, a, b, b, true, exported + 0.9, exported},
         Step::apply},
        {"both, no local edit time", pass(Reading::deck, c, a, b, b, true, 0, exported), Step::apply},
        {"no file yet", pass(Reading::missing, {}, a, {}, {}, true), Step::send},
        {"no file yet, starter deck", pass(Reading::missing, {}, a, {}, {}, false), Step::report},
        {"damaged file, real deck", {Reading::damaged, {}, a, {}, {}, true}, Step::send},
        {"damaged file, starter deck", {Reading::damaged, {}, a, {}, {}, false}, Step::report},
        {"folder gone", {Reading::unavailable, {}, a, {}, {}, true}, Step::report},
        {"downloading", {Reading::pending, {}, a, {}, {}, true}, Step::report},
        {"unreadable", {Reading::failed, {}, a, {}, {}, true}, Step::report},
        {"newer program", {Reading::newer, {}, a, {}, {}, true}, Step::report},
    };
    for (const PassCase& testCase : cases)
        EXPECT_EQ(CloudRule::decide(testCase.pass), testCase.expected) << testCase.name;
}

TEST(CloudRuleTest, SwitchingOnAsksOnlyWhenBothSidesHoldDifferentDecks)
{
    using CloudRule::SwitchOn;
    EXPECT_EQ(CloudRule::switchOn(Reading::deck, a, a), SwitchOn::useShared);
    EXPECT_EQ(CloudRule::switchOn(Reading::deck, a, b), SwitchOn::ask);
    for (const Reading reading : {Reading::missing, Reading::damaged})
        EXPECT_EQ(CloudRule::switchOn(reading, {}, a), SwitchOn::keepLocal);
    for (const Reading reading : {Reading::unavailable, Reading::pending, Reading::failed, Reading::newer})
        EXPECT_EQ(CloudRule::switchOn(reading, {}, a), SwitchOn::refuse);
}

} // namespace
