#pragma once

#include <QObject>
#include <memory>

class BandCustomizeView;
class Clock;
class DeckSettings;
class PhosphorFont;

// Keeps the one "Customize Band" window of the deck: an ordinary titled, closable window made on the first
// `show()` and kept when closed, so later calls bring the same window forward.
//
// Main thread only. `settings`, `font` and `clock` must outlive the controller.
class BandCustomizeWindow final : public QObject {
    Q_OBJECT

public:
    BandCustomizeWindow(DeckSettings& settings, PhosphorFont& font, const Clock& clock,
                        QObject* parent = nullptr);
    ~BandCustomizeWindow() override;

    // Opens the window, centred on the primary screen the first time, in front and active.
    void show();
    // The window, once it has been shown.
    [[nodiscard]] BandCustomizeView* view() const { return m_view.get(); }

private:
    DeckSettings& m_settings;
    PhosphorFont& m_font;
    const Clock& m_clock;
    std::unique_ptr<BandCustomizeView> m_view;
};
