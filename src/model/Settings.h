#pragma once

#include "model/BandModule.h"
#include "model/DeckOptions.h"

#include <QJsonValue>
#include <QList>
#include <QObject>
#include <QStringList>

class Preferences;

// This machine's deck preferences: grid, tile size, glass, compact chip, band and animations. Every value is
// read from the preferences at construction (absent or mistyped values take their defaults) and written back
// at once when set. None of them travels with the deck file except the grid size.
//
// Main thread only. Each change signal fires after the value changed and before it is written.
class DeckSettings final : public QObject {
    Q_OBJECT

public:
    // The largest grid the deck lays out; larger values stored by hand are cut to it.
    static constexpr int maxGridSide = 8;

    explicit DeckSettings(Preferences& preferences, QObject* parent = nullptr);

    [[nodiscard]] static DeckSettings& shared();
    [[nodiscard]] static QList<BandModule> defaultBandModules();

    [[nodiscard]] double backgroundOpacity() const { return m_backgroundOpacity; }
    [[nodiscard]] bool isPinned() const { return m_isPinned; }
    [[nodiscard]] int gridColumns() const { return m_gridColumns; }
    [[nodiscard]] int gridRows() const { return m_gridRows; }
    [[nodiscard]] bool clickSoundEnabled() const { return m_clickSoundEnabled; }
    [[nodiscard]] bool isCompact() const { return m_isCompact; }
    [[nodiscard]] bool showDockIcon() const { return m_showDockIcon; }
    [[nodiscard]] ChipStyleOption chipStyle() const { return m_chipStyle; }
    [[nodiscard]] TileSizeOption tileSize() const { return m_tileSize; }
    [[nodiscard]] bool showBand() const { return m_showBand; }
    [[nodiscard]] const QList<BandModule>& bandModules() const { return m_bandModules; }
    [[nodiscard]] const QStringList& meetingCalendars() const { return m_meetingCalendars; }
    [[nodiscard]] PageTransitionOption pageTransition() const { return m_pageTransition; }
    [[nodiscard]] bool dealAnimation() const { return m_dealAnimation; }
    [[nodiscard]] bool chameleonGlass() const { return m_chameleonGlass; }
    [[nodiscard]] const QString& worldClockTimeZone() const { return m_worldClockTimeZone; }
    [[nodiscard]] const QString& worldClockLabel() const { return m_worldClockLabel; }
    [[nodiscard]] double countdownDate() const { return m_countdownDate; }
    [[nodiscard]] const QString& countdownLabel() const { return m_countdownLabel; }

    void setBackgroundOpacity(double value);
    void setPinned(bool value);
    void setGridColumns(int value);
    void setGridRows(int value);
    void setClickSoundEnabled(bool value);
    void setCompact(bool value);
    void setShowDockIcon(bool value);
    void setChipStyle(ChipStyleOption value);
    void setTileSize(TileSizeOption value);
    void setShowBand(bool value);
    void setBandModules(const QList<BandModule>& value);
    void setMeetingCalendars(const QStringList& value);
    void setPageTransition(PageTransitionOption value);
    void setDealAnimation(bool value);
    void setChameleonGlass(bool value);
    void setWorldClockTimeZone(const QString& value);
    void setWorldClockLabel(const QString& value);
    void setCountdownDate(double value);
    void setCountdownLabel(const QString& value);

    // Derived deck geometry, in points.
    [[nodiscard]] int tilesPerPage() const { return m_gridColumns * m_gridRows; }
    [[nodiscard]] double deckWidth() const { return m_gridColumns <= 3 ? 360 : 540; }
    [[nodiscard]] double tilePadding() const { return m_tileSize == TileSizeOption::large ? 8 : 14; }
    [[nodiscard]] double tileGap() const { return m_tileSize == TileSizeOption::large ? 4 : 10; }
    [[nodiscard]] double tileSide() const;

Q_SIGNALS:
    void backgroundOpacityChanged(double value);
    void pinnedChanged(bool value);
    void gridColumnsChanged(int value);
    void gridRowsChanged(int value);
    void clickSoundEnabledChanged(bool value);
    void compactChanged(bool value);
    void showDockIconChanged(bool value);
    void chipStyleChanged(ChipStyleOption value);
    void tileSizeChanged(TileSizeOption value);
    void showBandChanged(bool value);
    void bandModulesChanged(const QList<BandModule>& value);
    void meetingCalendarsChanged(const QStringList& value);
    void pageTransitionChanged(PageTransitionOption value);
    void dealAnimationChanged(bool value);
    void chameleonGlassChanged(bool value);
    void worldClockTimeZoneChanged(const QString& value);
    void worldClockLabelChanged(const QString& value);
    void countdownDateChanged(double value);
    void countdownLabelChanged(const QString& value);

private:
    void load();

    template <typename T, typename Signal>
    void assign(T& member, T value, const char* key, const QJsonValue& stored, Signal changed);

    Preferences& m_preferences;
    double m_backgroundOpacity = 1.0;
    bool m_isPinned = false;
    int m_gridColumns = 3;
    int m_gridRows = 3;
    bool m_clickSoundEnabled = true;
    bool m_isCompact = false;
    bool m_showDockIcon = true;
    ChipStyleOption m_chipStyle = ChipStyleOption::light;
    TileSizeOption m_tileSize = TileSizeOption::regular;
    bool m_showBand = true;
    QList<BandModule> m_bandModules = defaultBandModules();
    QStringList m_meetingCalendars;
    PageTransitionOption m_pageTransition = PageTransitionOption::ripple;
    bool m_dealAnimation = true;
    bool m_chameleonGlass = true;
    QString m_worldClockTimeZone = QStringLiteral("America/New_York");
    QString m_worldClockLabel;
    double m_countdownDate = 0;
    QString m_countdownLabel = QStringLiteral("Countdown");
};
