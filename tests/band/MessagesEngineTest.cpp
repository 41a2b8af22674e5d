#include "band/MessagesEngine.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

using Reading = UnreadMessages::Reading;
using enum UnreadMessages::Reading::Kind;

class ScriptedMessages final : public UnreadMessages {
public:
    Reading next;
    int reads = 0;
    void read(QObject*, std::function<void(Reading)> done) override
    {
        ++reads;
        done(next);
    }
    void open() override {}
    void openAccessSettings() override {}
    void tell() { Q_EMIT changed(); }
};

TEST(MessagesEngineTest, AFailedReadingKeepsTheCountAndOnlyMissingAccessIsRaised)
{
    ScriptedMessages source;
    MessagesEngine engine(source);
    const struct {
        Reading reading;
        int unread;
        bool needsAccess;
    } steps[] = {
        {{count, 4}, 4, false},
        {{noAccess, 0}, 4, true},
        {{queryFailed, 0}, 4, false},
        {{count, 0}, 0, false},
    };
    for (const auto& step : steps) {
        source.next = step.reading;
        engine.poll();
        EXPECT_EQ(engine.unread(), step.unread);
        EXPECT_EQ(engine.needsAccess(), step.needsAccess);
    }
}

TEST(MessagesEngineTest, ReadsOnStartAndWhenToldOnlyWhileRunning)
{
    ScriptedMessages source;
    MessagesEngine engine(source);
    source.tell();
    EXPECT_EQ(source.reads, 0);
    engine.start();
    engine.start();
    EXPECT_EQ(source.reads, 1) << "starting twice reads once";
    source.tell();
    EXPECT_EQ(source.reads, 2);
    engine.stop();
    source.tell();
    EXPECT_EQ(source.reads, 2);
}

} // namespace
