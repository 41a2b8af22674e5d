#include "platform/linux/GnomeDoNotDisturb.h"

#include "core/BackgroundQueue.h"
#include "support/FakeProcessRunner.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

TEST(GnomeDoNotDisturbTest, BannersOffMeanOnAndAClickWritesTheOpposite)
{
    FakeProcessRunner processes;
    GnomeDoNotDisturb dnd(processes, QStringLiteral("/usr/bin/gsettings"));
    const QString get = QStringLiteral("/usr/bin/gsettings get org.gnome.desktop.notifications show-banners");
    const struct {
        std::optional<QString> output;
        std::optional<bool> active;
    } cases[] = {
        {QStringLiteral("false\n"), true},
        {QStringLiteral("true\n"), false},
        {QStringLiteral("No such schema “org.gnome.desktop.notifications”\n"), std::nullopt},
        {std::nullopt, std::nullopt},
    };
    for (const auto& test : cases) {
        FakeProcessRunner fresh;
        if (test.output)
            fresh.answer(get, *test.output);
        GnomeDoNotDisturb reader(fresh, QStringLiteral("/usr/bin/gsettings"));
        std::optional<DoNotDisturb::Reading> reading;
        reader.read(&reader, [&reading](DoNotDisturb::Reading answer) { reading = answer; });
        BackgroundQueue::waitForDone();
        QCoreApplication::processEvents();
        EXPECT_EQ(reading, (DoNotDisturb::Reading{test.active, false}));
    }

    EXPECT_TRUE(dnd.turn(true));
    EXPECT_EQ(processes.calls().back().arguments,
              (QStringList{QStringLiteral("set"), QStringLiteral("org.gnome.desktop.notifications"),
                           QStringLiteral("show-banners"), QStringLiteral("false")}));
}

} // namespace
