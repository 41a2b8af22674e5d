#include "deck/HotKeys.h"

#include "support/ActivationFixture.h"
#include "support/FakeHotKeys.h"

#include <QCoreApplication>

namespace {

using Registration = FakeGlobalHotKeys::Registration;

// Hands queued key presses to their handlers, as the event loop would once the key event returned.
void returnToTheEventLoop()
{
    QCoreApplication::sendPostedEvents();
}

TEST(HotKeyCenter, HandlersRunOnlyAfterTheKeyEventReturnedAndUnknownIdsAreIgnored)
{
    FakeGlobalHotKeys keys;
    HotKeyCenter center(keys);
    keys.refused = {7};
    std::vector<int> ran;
    const HotKeyName name{QStringLiteral("tile-7"), QStringLiteral("Run tile 7")};
    center.registerKey(26, 0x1800, 7, name, [&] { ran.push_back(1); });
    EXPECT_EQ(keys.registrations, (std::vector<Registration>{{26, 0x1800, 7, name.id, name.description}}));

    keys.press(7);
    EXPECT_TRUE(ran.empty());
    returnToTheEventLoop();
    EXPECT_EQ(ran, std::vector<int>{1});

    keys.press(8);
    returnToTheEventLoop();
    EXPECT_EQ(ran, std::vector<int>{1});

    center.registerKey(26, 0x1800, 7, name, [&] { ran.push_back(2); });
    keys.press(7);
    returnToTheEventLoop();
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
}

class DeckHotKeysTest : public ActivationFixture {
protected:
    FakeGlobalHotKeys m_keys;
    std::unique_ptr<HotKeyCenter> m_center;
    std::unique_ptr<DeckHotKeys> m_deckKeys;

    void SetUp() override
    {
        ActivationFixture::SetUp();
        m_center = std::make_unique<HotKeyCenter>(m_keys);
        m_deckKeys = std::make_unique<DeckHotKeys>(DeckHotKeys::Services{*m_store, *m_activation, *m_panel});
        m_deckKeys->registerAll(*m_center);
    }

    void press(std::uint32_t id)
    {
        m_keys.press(id);
        returnToTheEventLoop();
    }
};

TEST_F(DeckHotKeysTest, SpaceTwiceSummonsThenDismisses)
{
    press(100);
    EXPECT_TRUE(m_panel->isSummoned());
    press(100);
    EXPECT_FALSE(m_panel->isSummoned());
}

TEST_F(DeckHotKeysTest, DigitRunsThatTileOfThePageOnScreenSilentlyAndDismissesUnlessItIsEmpty)
{
    m_store->addPage();
    m_store->set(snippetTile(QStringLiteral("page 1")), 0, 3);
    m_store->set(snippetTile(QStringLiteral("page 2")), 1, 3);
    m_store->goToPage(1);
    m_panel->beginSummon();

    press(3);
    EXPECT_TRUE(copied().isEmpty());
    EXPECT_TRUE(m_panel->isSummoned()) << "an empty tile neither runs nor dismisses";

    press(4);
    EXPECT_EQ(copied(), QStringList{QStringLiteral("page 2")});
    EXPECT_TRUE(m_sound.played.empty());
    EXPECT_FALSE(m_panel->isSummoned());
}

} // namespace
