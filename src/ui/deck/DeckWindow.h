#pragma once

#include "deck/DesktopPanel.h"
#include "platform/WindowStacking.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class DesktopPanelController;

// Qt's screens in the panel's coordinates (y up from the bottom of the main screen) and back.
namespace ScreenCoordinates {

[[nodiscard]] QRectF fromQt(const QRectF& rect);
[[nodiscard]] QRectF toQt(const QRectF& rect);
[[nodiscard]] QPointF pointFromQt(const QPointF& point);

} // namespace ScreenCoordinates

// The deck's desktop on Qt: screens, pointer and the frameless window around the deck's content.
class QtPanelDesktop final : public PanelDesktop {
public:
    // Makes the content of a new window; it is told whether the window can be translucent.
    using ContentFactory = std::function<QWidget*(bool translucent)>;

    QtPanelDesktop(WindowStacking& stacking, ContentFactory content, std::function<QSizeF()> fittingSize);

    // Hover and scroll in the window go to the controller.
    // Screens coming, going and changing size go to it too.
    void setController(DesktopPanelController* controller);

    [[nodiscard]] std::vector<Windows::Screen> screens() const override;
    [[nodiscard]] std::optional<std::size_t> mainScreen() const override;
    [[nodiscard]] QPointF pointerLocation() const override;
    [[nodiscard]] QSizeF deckFittingSize() override;
    [[nodiscard]] std::unique_ptr<PanelWindow> createWindow(const QRectF& frame, PanelLevel level,
                                                            bool movableByBackground) override;

private:
    WindowStacking& m_stacking;
    ContentFactory m_content;
    std::function<QSizeF()> m_fittingSize;
    QPointer<DesktopPanelController> m_controller;
};
