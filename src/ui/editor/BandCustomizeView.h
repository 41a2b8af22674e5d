#pragma once

#include "band/BandCustomizeState.h"

#include <QWidget>

class Clock;
class DeckSettings;
class PhosphorFont;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QToolButton;
class QVBoxLayout;

// The form of the "Customize Band" window: the band's capacity, the modules on the band with buttons to
// move and remove them, the modules that could be added, and the settings of the world clock, the countdown
// and the weather while those modules are on the band. Every edit writes its setting at once.
//
// The lists follow `bandModules`, the grid and the tile size as they change; the fields follow their
// settings without being made anew, so one being typed in keeps its cursor. The countdown's target date is
// stored as the seconds since 1970 of the picked day's start in the local time zone (its midnight, or the
// first moment after it on a day that skips midnight).
//
// Main thread only. `settings`, `font` and `clock` must outlive the view.
class BandCustomizeView final : public QWidget {
    Q_OBJECT

public:
    BandCustomizeView(DeckSettings& settings, PhosphorFont& font, const Clock& clock,
                      QWidget* parent = nullptr);

private:
    [[nodiscard]] QGroupBox* makeCapacitySection();
    [[nodiscard]] QGroupBox* makeWorldClockSection();
    [[nodiscard]] QGroupBox* makeCountdownSection();
    [[nodiscard]] QGroupBox* makeWeatherSection();
    [[nodiscard]] QWidget* makeOnBandList();
    [[nodiscard]] QWidget* makeAvailableList();
    // A row of a list, named after its module, with the texts every row has; buttons go on its end.
    QWidget* makeRow(const QString& symbol, const QString& title, const QString& width, const QString& name,
                     QWidget* list);
    QToolButton* rowButton(QWidget* row, const QString& name, const QString& symbol, const QString& help,
                           bool enabled);

    void rebuild();
    void showWorldClock();
    void showCountdown();
    void showWeather();
    void pickDate();

    DeckSettings& m_settings;
    PhosphorFont& m_font;
    const Clock& m_clock;
    BandCustomizeState m_state;
    QLabel* m_capacity = nullptr;
    QVBoxLayout* m_onBandRows = nullptr;
    QVBoxLayout* m_availableRows = nullptr;
    QWidget* m_onBand = nullptr;
    QWidget* m_available = nullptr;
    QGroupBox* m_worldClock = nullptr;
    QComboBox* m_timeZone = nullptr;
    QLineEdit* m_worldClockLabel = nullptr;
    QGroupBox* m_countdown = nullptr;
    QDateEdit* m_targetDate = nullptr;
    QLineEdit* m_countdownLabel = nullptr;
    QGroupBox* m_weather = nullptr;
    QLineEdit* m_weatherLocation = nullptr;
};
