#pragma once

#include "platform/WindowStacking.h"

#include <QtGlobal>
#include <memory>

class XcbConnection;

// What the deck's top-level window needs of an X11 desktop: to sit on every workspace just above the desktop,
// out of the taskbar, the pager and window cycling, never taking the focus; to be lifted above everything and
// put back. Works by window id on a connection of its own, so the window may belong to any client.
//
// Main thread. No call waits long for a server that stops answering (see XcbConnection); once the connection
// broke, every call does nothing and `isCompositing()` answers false.
class X11DeckWindow final : public WindowStacking {
public:
    explicit X11DeckWindow(std::unique_ptr<XcbConnection> connection);
    ~X11DeckWindow() override;
    X11DeckWindow(const X11DeckWindow&) = delete;
    X11DeckWindow& operator=(const X11DeckWindow&) = delete;

    // The display DISPLAY names, or nothing when it cannot be reached.
    [[nodiscard]] static std::unique_ptr<X11DeckWindow> connect();

    // Sets the window's hints before it is first mapped: at the desktop level, on all workspaces, skipped by
    // taskbars and pagers, taking no input. Returns once the server has them, so a map request from another
    // connection comes after them.
    void prepare(quint64 window) override;
    // Lifts the window above ordinary windows (summoned) or returns it below them (desktop), mapped or not.
    void setLevel(quint64 window, PanelLevel level) override;
    // Whether a compositing manager runs on the window's screen, so translucent drawing shows the desktop.
    [[nodiscard]] bool isCompositing() override;

private:
    [[nodiscard]] bool hasWindowManager();
    [[nodiscard]] bool isMapped(quint64 window);
    void replaceLevelState(quint64 window, PanelLevel level);

    std::unique_ptr<XcbConnection> m_x;
};
