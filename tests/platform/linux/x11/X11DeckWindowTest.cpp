#include "platform/linux/x11/X11DeckWindow.h"

#include "support/X11Client.h"
#include "support/XvfbSession.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t allDesktops = 0xffffffff;

class X11DeckWindowTest : public ::testing::Test {
protected:
    [[nodiscard]] virtual bool withWindowManager() const { return true; }

    void SetUp() override
    {
        const bool windowManager = withWindowManager();
        if (const QStringList missing = XvfbSession::missingPrograms(windowManager); !missing.isEmpty())
            GTEST_SKIP() << "needs " << missing.join(QStringLiteral(", ")).toStdString()
                         << " (scripts/bootstrap installs them)";
        m_session = std::make_unique<XvfbSession>(XvfbSession::Options{{1280, 800}, windowManager});
        ASSERT_TRUE(m_session->start()) << m_session->error().toStdString();
        m_client = std::make_unique<X11Client>();
        m_deck = X11DeckWindow::connect();
        ASSERT_NE(m_deck, nullptr);
    }

    // A window as the deck's toolkit makes it: created, not yet mapped.
    xcb_window_t createWindow()
    {
        const xcb_window_t window = xcb_generate_id(m_client->connection());
        xcb_create_window(m_client->connection(), XCB_COPY_FROM_PARENT, window, m_client->root(), 900, 400,
                          360, 388, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        m_client->sync();
        return window;
    }

    void map(xcb_window_t window)
    {
        xcb_map_window(m_client->connection(), window);
        xcb_flush(m_client->connection());
    }

    bool hasState(xcb_window_t window, const char* state) { return m_client->hasState(window, state); }
    std::ptrdiff_t stackingIndex(xcb_window_t window) { return m_client->stackingIndex(window); }

    // An ordinary application window, managed and active.
    xcb_window_t ordinaryWindow()
    {
        const xcb_window_t window = m_client->map({600, 300, 500, 400}, 4242, {});
        EXPECT_TRUE(eventually([&] { return m_client->managed(window) && m_client->active() == window; }));
        return window;
    }

    // The deck, prepared and mapped, once the window manager manages it.
    xcb_window_t deckWindow()
    {
        const xcb_window_t deck = createWindow();
        m_deck->prepare(deck);
        map(deck);
        EXPECT_TRUE(eventually([&] { return m_client->managed(deck); }));
        return deck;
    }

    std::unique_ptr<XvfbSession> m_session;
    std::unique_ptr<X11Client> m_client;
    std::unique_ptr<X11DeckWindow> m_deck;
};

class X11DeckWindowBareTest : public X11DeckWindowTest {
protected:
    [[nodiscard]] bool withWindowManager() const override { return false; }
};

TEST_F(X11DeckWindowTest, APreparedWindowSitsOnEveryDesktopBelowOthersAndNeverTakesTheFocus)
{
    const xcb_window_t ordinary = ordinaryWindow();
    const xcb_window_t deck = createWindow();
    // What a toolkit sets first survives: here a window group (flag 64, field 8).
    m_client->set(deck, "WM_HINTS", XCB_ATOM_WM_HINTS, {1 | 64, 1, 0, 0, 0, 0, 0, 0, ordinary});
    m_client->sync();
    m_deck->prepare(deck);
    for (const char* state : {"_NET_WM_STATE_BELOW", "_NET_WM_STATE_STICKY", "_NET_WM_STATE_SKIP_TASKBAR",
                              "_NET_WM_STATE_SKIP_PAGER"})
        EXPECT_TRUE(hasState(deck, state)) << state;
    EXPECT_EQ(m_client->get(deck, "WM_HINTS"),
              (std::vector<uint32_t>{1 | 64, 0, 0, 0, 0, 0, 0, 0, ordinary}));
    EXPECT_EQ(m_client->get(deck, "_NET_WM_WINDOW_TYPE"),
              std::vector<uint32_t>{m_client->atom("_NET_WM_WINDOW_TYPE_NORMAL")});

    map(deck);
    ASSERT_TRUE(eventually([&] { return m_client->managed(deck); }));
    // Openbox keeps "sticky" as the desktop number for all desktops rather than as a state.
    for (const char* state :
         {"_NET_WM_STATE_BELOW", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"})
        EXPECT_TRUE(hasState(deck, state)) << state;
    EXPECT_EQ(m_client->get(deck, "_NET_WM_DESKTOP"), std::vector<uint32_t>{allDesktops});
    EXPECT_EQ(m_client->active(), ordinary);
    EXPECT_LT(stackingIndex(deck), stackingIndex(ordinary));
}

TEST_F(X11DeckWindowTest, SummoningLiftsTheSameWindowAboveOthersAndDismissingPutsItBack)
{
    const xcb_window_t deck = deckWindow();
    const xcb_window_t ordinary = ordinaryWindow();

    // The window manager takes the layer's two states one message at a time: the window may already stand
    // right before its second state has come.
    m_deck->setLevel(deck, PanelLevel::summoned);
    ASSERT_TRUE(eventually([&] {
        return stackingIndex(deck) > stackingIndex(ordinary) && hasState(deck, "_NET_WM_STATE_ABOVE") &&
               !hasState(deck, "_NET_WM_STATE_BELOW");
    }));
    EXPECT_EQ(m_client->get(deck, "_NET_WM_DESKTOP"), std::vector<uint32_t>{allDesktops});
    EXPECT_EQ(m_client->active(), ordinary);

    m_deck->setLevel(deck, PanelLevel::desktop);
    ASSERT_TRUE(eventually([&] {
        return stackingIndex(deck) < stackingIndex(ordinary) && hasState(deck, "_NET_WM_STATE_BELOW") &&
               !hasState(deck, "_NET_WM_STATE_ABOVE");
    }));
    EXPECT_TRUE(m_client->managed(deck));
}

TEST_F(X11DeckWindowBareTest, WithoutAWindowManagerTheWindowIsRestackedDirectly)
{
    const xcb_window_t deck = createWindow();
    m_deck->prepare(deck);
    map(deck);
    const xcb_window_t other = m_client->map({0, 0, 200, 200}, 0, {});
    const auto children = [&] {
        std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
            xcb_query_tree_reply(m_client->connection(),
                                 xcb_query_tree(m_client->connection(), m_client->root()), nullptr),
            &std::free);
        const xcb_window_t* windows = xcb_query_tree_children(tree.get());
        return std::vector<xcb_window_t>(windows, windows + xcb_query_tree_children_length(tree.get()));
    };
    ASSERT_EQ(children(), (std::vector<xcb_window_t>{deck, other}));

    m_deck->setLevel(deck, PanelLevel::summoned);
    EXPECT_TRUE(eventually([&] { return children() == std::vector<xcb_window_t>{other, deck}; }));
    EXPECT_TRUE(hasState(deck, "_NET_WM_STATE_ABOVE"));
    m_deck->setLevel(deck, PanelLevel::desktop);
    EXPECT_TRUE(eventually([&] { return children() == std::vector<xcb_window_t>{deck, other}; }));
    EXPECT_TRUE(hasState(deck, "_NET_WM_STATE_BELOW"));
    EXPECT_FALSE(hasState(deck, "_NET_WM_STATE_ABOVE"));
}

TEST_F(X11DeckWindowBareTest, CompositingIsSeenByTheOwnerOfTheScreensSelection)
{
    EXPECT_FALSE(m_deck->isCompositing());
    const xcb_window_t manager = createWindow();
    xcb_set_selection_owner(m_client->connection(), manager, m_client->atom("_NET_WM_CM_S0"),
                            XCB_CURRENT_TIME);
    m_client->sync();
    EXPECT_TRUE(m_deck->isCompositing());
    m_client->destroy(manager);
    m_client->sync();
    EXPECT_FALSE(m_deck->isCompositing());
}

} // namespace
