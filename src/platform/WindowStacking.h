#pragma once

#include <QtGlobal>

// Just above the desktop and below ordinary windows, or summoned above everything.
enum class PanelLevel { desktop, summoned };

// How the desktop stacks the deck's window: just above the desktop on every workspace, out of the taskbar,
// or summoned above everything. Windows are named by their native id. Main thread only.
class WindowStacking {
public:
    virtual ~WindowStacking() = default;
    // Before the window is first shown.
    virtual void prepare(quint64 window) = 0;
    virtual void setLevel(quint64 window, PanelLevel level) = 0;
    // Whether translucent windows are composited; without it the deck is drawn opaque.
    [[nodiscard]] virtual bool isCompositing() = 0;
};

// For a desktop that stacks windows on its own terms.
class NullWindowStacking final : public WindowStacking {
public:
    void prepare(quint64) override {}
    void setLevel(quint64, PanelLevel) override {}
    [[nodiscard]] bool isCompositing() override { return true; }
};
