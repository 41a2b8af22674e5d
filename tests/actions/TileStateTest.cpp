#include "actions/TileState.h"

#include "support/FakeTileStateSources.h"
#include "support/StoreFixture.h"

#include <QSignalSpy>

namespace {

const QString kEditor = QStringLiteral("/usr/share/applications/editor.desktop");

TileAction system(SystemAction action)
{
    return {TileAction::RunSystemAction{action}};
}

class TileStateTest : public StoreFixture {
protected:
    void SetUp() override { m_provider = std::make_unique<TileStateProvider>(m_sources, makeStore()); }

    void place(int index, const TileAction& action)
    {
        Tile tile;
        tile.action = action;
        m_store->set(tile, 0, index);
    }

    // A deck with a tile for every kind of light.
    void placeEveryLight()
    {
        place(0, {TileAction::LaunchApp{kEditor}});
        place(1, {TileAction::ConnectBluetooth{QStringLiteral("AA:BB:CC:DD:EE:FF"), QStringLiteral("Buds")}});
        place(2, {TileAction::AudioOutput{QStringLiteral("hdmi"), QStringLiteral("TV")}});
        place(3, system(SystemAction::muteToggle));
        place(4, system(SystemAction::darkModeToggle));
    }

    FakeTileStateSources m_sources;
    std::unique_ptr<TileStateProvider> m_provider;
};

TEST_F(TileStateTest, EachKindOfTileAnswersAsItsStateSays)
{
    placeEveryLight();
    m_sources.running = {kEditor};
    m_sources.connected = {QStringLiteral("aa:bb:cc:dd:ee:ff")};
    m_sources.output = {true, QStringLiteral("hdmi")};
    m_sources.dark = true;
    m_provider->start();
    m_sources.answerAll();
    m_provider->setMusicPlaying(true);

    const struct {
        const char* name;
        std::optional<TileAction> action;
        std::optional<bool> expected;
    } cases[] = {
        {"empty", std::nullopt, std::nullopt},
        {"app", TileAction{TileAction::LaunchApp{kEditor}}, true},
        {"app, dotted path",
         TileAction{
             TileAction::LaunchApp{QStringLiteral("/usr/share/./games/../applications/editor.desktop")}},
         true},
        {"app not running", TileAction{TileAction::LaunchApp{QStringLiteral("/usr/bin/other")}}, false},
        {"device, upper case",
         TileAction{TileAction::ConnectBluetooth{QStringLiteral("AA:BB:CC:DD:EE:FF"), {}}}, true},
        {"other device", TileAction{TileAction::ConnectBluetooth{QStringLiteral("11:22:33:44:55:66"), {}}},
         false},
        {"default output", TileAction{TileAction::AudioOutput{QStringLiteral("hdmi"), {}}}, true},
        {"output in other case", TileAction{TileAction::AudioOutput{QStringLiteral("HDMI"), {}}}, false},
        {"mute", system(SystemAction::muteToggle), true},
        {"dark mode", system(SystemAction::darkModeToggle), true},
        {"volume", system(SystemAction::volumeUp), std::nullopt},
        {"now playing", TileAction{TileAction::NowPlaying{}}, true},
        {"scene", TileAction{TileAction::Sequence{{system(SystemAction::muteToggle)}}}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(m_provider->isActive(c.action), c.expected) << c.name;

    m_sources.output = {};
    m_provider->poll();
    m_sources.answerAll();
    EXPECT_EQ(m_provider->isActive(TileAction{TileAction::AudioOutput{QStringLiteral("hdmi"), {}}}), false);
}

TEST_F(TileStateTest, OnlyAnswersThatChangeSomethingArePublished)
{
    placeEveryLight();
    m_sources.connected = {QStringLiteral("aa:bb:cc:dd:ee:ff")};
    m_provider->start();
    QSignalSpy changed(m_provider.get(), &TileStateProvider::changed);
    m_sources.answerAll();
    ASSERT_EQ(changed.count(), 1);

    m_provider->poll();
    m_sources.answerAll();
    m_provider->setMusicPlaying(false);
    EXPECT_EQ(changed.count(), 1);

    m_sources.output = {true, QStringLiteral("hdmi")};
    m_sources.dark = true;
    m_provider->poll();
    m_sources.answerAll();
    EXPECT_EQ(changed.count(), 3);
}

TEST_F(TileStateTest, AMuteTileLightsThroughTheRefreshAfterItsPress)
{
    place(0, system(SystemAction::muteToggle));
    m_provider->start();
    m_sources.answerAll();
    ASSERT_EQ(m_sources.outputReads, 1);

    m_sources.output.muted = true;
    m_provider->refreshSoon();
    m_provider->refreshSoon();
    EXPECT_TRUE(m_provider->refreshTimer().isActive());
    EXPECT_TRUE(m_provider->refreshTimer().isSingleShot());
    EXPECT_EQ(m_sources.outputReads, 1);

    m_provider->poll();
    m_sources.answerAll();
    EXPECT_EQ(m_sources.outputReads, 2);
    EXPECT_EQ(m_provider->isActive(system(SystemAction::muteToggle)), true);
}

TEST_F(TileStateTest, OnlyWhatSomeTileShowsIsRead)
{
    place(0, {TileAction::Snippet{QStringLiteral("hi")}});
    m_provider->start();
    m_provider->poll();
    EXPECT_EQ(m_sources.pendingReads(), 0u);
    EXPECT_TRUE(m_sources.followed.isEmpty());

    place(1, {TileAction::ConnectBluetooth{QStringLiteral("AA:BB:CC:DD:EE:FF"), {}}});
    EXPECT_EQ(m_sources.bluetoothReads, 1);
    m_provider->poll();
    EXPECT_EQ(m_sources.bluetoothReads, 2);
    EXPECT_EQ(m_sources.outputReads + m_sources.darkModeReads, 0);
    Q_EMIT m_sources.outputChanged();
    EXPECT_EQ(m_sources.outputReads, 0);

    place(2,
          {TileAction::LaunchApp{QStringLiteral("/usr/share/applications/../applications/editor.desktop")}});
    place(3, {TileAction::LaunchApp{kEditor}});
    EXPECT_EQ(m_sources.followed, QStringList{kEditor});
    m_sources.running = {kEditor};
    Q_EMIT m_sources.applicationsChanged();
    m_sources.answerAll();
    EXPECT_EQ(m_sources.applicationReads.size(), 2);
    EXPECT_EQ(m_provider->runningApps(), QSet<QString>{kEditor});
}

TEST_F(TileStateTest, WhatTheDesktopReportsIsNotPolledAndADeckOfSuchTilesSleeps)
{
    m_sources.reported = {.output = true, .darkMode = true};
    place(0, system(SystemAction::muteToggle));
    place(1, system(SystemAction::darkModeToggle));
    m_provider->start();
    m_sources.answerAll();
    EXPECT_FALSE(m_provider->pollTimer().isActive());

    place(2, {TileAction::ConnectBluetooth{QStringLiteral("AA:BB:CC:DD:EE:FF"), {}}});
    ASSERT_TRUE(m_provider->pollTimer().isActive());
    const int reads = m_sources.outputReads + m_sources.darkModeReads;
    m_provider->poll();
    EXPECT_EQ(m_sources.outputReads + m_sources.darkModeReads, reads);
    EXPECT_EQ(m_sources.bluetoothReads, 2);

    m_store->set(Tile(), 0, 2);
    EXPECT_FALSE(m_provider->pollTimer().isActive());
}

} // namespace
