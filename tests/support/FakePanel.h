#pragma once

#include "deck/DesktopPanel.h"

#include <vector>

// A deck window that records what the controller asks of it. `dragTo` stands for the user dragging it.
class FakePanelWindow final : public PanelWindow {
public:
    FakePanelWindow(QRectF frame, PanelLevel level, bool movable, std::optional<Windows::Screen> onScreen)
        : m_frame(frame)
        , m_level(level)
        , m_movable(movable)
        , m_screen(std::move(onScreen))
    {
    }

    [[nodiscard]] QRectF frame() const override { return m_frame; }
    void setFrame(const QRectF& frame) override
    {
        m_frame = frame;
        frames.push_back(frame);
    }
    void setLevel(PanelLevel level) override { m_level = level; }
    void setMovableByBackground(bool movable) override { m_movable = movable; }
    [[nodiscard]] std::optional<Windows::Screen> screen() const override { return m_screen; }
    void close() override {}

    [[nodiscard]] PanelLevel level() const { return m_level; }
    [[nodiscard]] bool isMovable() const { return m_movable; }

    void dragTo(QPointF bottomLeft)
    {
        m_frame.moveTo(bottomLeft);
        Q_EMIT moved();
    }

    // Every frame set after the window was created.
    std::vector<QRectF> frames;

private:
    QRectF m_frame;
    PanelLevel m_level;
    bool m_movable;
    std::optional<Windows::Screen> m_screen;
};

// Screens and a pointer the test lays out. Windows it creates sit on the first screen, if there is one.
class FakePanelDesktop final : public PanelDesktop {
public:
    std::vector<Windows::Screen> screenList{{{0, 0, 1440, 900}, {0, 0, 1440, 875}}};
    std::optional<std::size_t> main = 0;
    QPointF pointer{-1000, -1000};
    QSizeF deckSize{360, 388};
    // The last window created; owned by the controller.
    FakePanelWindow* lastWindow = nullptr;

    [[nodiscard]] std::vector<Windows::Screen> screens() const override { return screenList; }
    [[nodiscard]] std::optional<std::size_t> mainScreen() const override { return main; }
    [[nodiscard]] QPointF pointerLocation() const override { return pointer; }
    [[nodiscard]] QSizeF deckFittingSize() override { return deckSize; }
    [[nodiscard]] std::unique_ptr<PanelWindow> createWindow(const QRectF& frame, PanelLevel level,
                                                            bool movableByBackground) override
    {
        std::optional<Windows::Screen> onScreen;
        if (!screenList.empty())
            onScreen = screenList.front();
        auto window = std::make_unique<FakePanelWindow>(frame, level, movableByBackground, onScreen);
        lastWindow = window.get();
        return window;
    }
};
