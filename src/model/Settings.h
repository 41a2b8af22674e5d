#pragma once

#include "model/BandModule.h"
#include "model/DeckOptions.h"
#include "model/Setting.h"

#include <QList>
#include <QObject>
#include <QStringList>

// This machine's deck preferences: grid, tile size, glass, compact chip, band and animations. Every value is
// read from the preferences at construction (absent or mistyped values take their defaults) and written back
// at once when set; nothing is written until a value is set. None of them travels with the deck file except
// the grid size.
//
// Main thread only. Each change signal fires after the value changed and before it is written;
// `gridChanged` fires after that, once both sides of the grid are set.
class DeckSettings final : public QObject {
    Q_OBJECT

public:
    // The largest grid the deck lays out; larger values stored by hand are cut to it.
    static constexpr int maxGridSide = 8;

    explicit DeckSettings(Preferences& preferences, QObject* parent = nullptr);

    [[nodiscard]] static QList<BandModule> defaultBandModules();

    [[nodiscard]] double backgroundOpacity() const { return m_backgroundOpacity.value(); }
    [[nodiscard]] bool isPinned() const { return m_isPinned.value(); }
    [[nodiscard]] int gridColumns() const { return m_gridColumns.value(); }
    [[nodiscard]] int gridRows() const { return m_gridRows.value(); }
    [[nodiscard]] bool clickSoundEnabled() const { return m_clickSoundEnabled.value(); }
    [[nodiscard]] bool isCompact() const { return m_isCompact.value(); }
    [[nodiscard]] bool showDockIcon() const { return m_showDockIcon.value(); }
    [[nodiscard]] ChipStyleOption chipStyle() const { return m_chipStyle.value(); }
    [[nodiscard]] TileSizeOption tileSize() const { return m_tileSize.value(); }
    [[nodiscard]] bool showBand() const { return m_showBand.value(); }
    [[nodiscard]] const QList<BandModule>& bandModules() const { return m_bandModules.value(); }
    [[nodiscard]] const QStringList& meetingCalendars() const { return m_meetingCalendars.value(); }
    // The iCalendar files and web addresses the next-meeting module reads besides the desktop's calendars.
    [[nodiscard]] const QStringList& meetingCalendarSources() const
    {
        return m_meetingCalendarSources.value();
    }
    [[nodiscard]] PageTransitionOption pageTransition() const { return m_pageTransition.value(); }
    [[nodiscard]] bool dealAnimation() const { return m_dealAnimation.value(); }
    [[nodiscard]] bool chameleonGlass() const { return m_chameleonGlass.value(); }
    [[nodiscard]] const QString& worldClockTimeZone() const { return m_worldClockTimeZone.value(); }
    [[nodiscard]] const QString& worldClockLabel() const { return m_worldClockLabel.value(); }
    [[nodiscard]] double countdownDate() const { return m_countdownDate.value(); }
    [[nodiscard]] const QString& countdownLabel() const { return m_countdownLabel.value(); }
    // The echo service that answers with this machine's public address in plain text.
    [[nodiscard]] const QString& publicIPURL() const { return m_publicIPURL.value(); }
    // The base address of the weather service, asked in the Open-Meteo forecast form.
    [[nodiscard]] const QString& weatherURL() const { return m_weatherURL.value(); }
    // "latitude,longitude" for the weather, in place of the desktop's location service; empty when unset.
    [[nodiscard]] const QString& weatherLocation() const { return m_weatherLocation.value(); }
    // The form-collection service the feedback form posts to.
    [[nodiscard]] const QString& feedbackURL() const { return m_feedbackURL.value(); }
    // Cloud sync: the switch, the synced folder it works in, this machine's sync identity, what it last saw
    // of both sides and the time of the last edit it knows of (seconds since 1970; 0 when none).
    [[nodiscard]] bool cloudDeck() const { return m_cloudDeck.value(); }
    [[nodiscard]] const QString& cloudDeckFolder() const { return m_cloudDeckFolder.value(); }
    [[nodiscard]] const QString& cloudDeckDevice() const { return m_cloudDeckDevice.value(); }
    [[nodiscard]] const QString& cloudDeckFileFingerprint() const
    {
        return m_cloudDeckFileFingerprint.value();
    }
    [[nodiscard]] const QString& cloudDeckFingerprint() const { return m_cloudDeckFingerprint.value(); }
    [[nodiscard]] int cloudDeckRevision() const { return m_cloudDeckRevision.value(); }
    [[nodiscard]] double cloudDeckLayoutEdit() const { return m_cloudDeckLayoutEdit.value(); }
    // The digests of the script actions that came with a synced deck and stay off until the user allows them.
    [[nodiscard]] const QStringList& cloudDeckHeldScripts() const { return m_cloudDeckHeldScripts.value(); }
    // The deck is still the one a first launch made (the starter deck, or one empty page): no one changed it.
    [[nodiscard]] bool isDeckUntouched() const { return m_deckUntouched.value(); }
    // Every setting changed is in the preferences file; false while the file cannot be written.
    [[nodiscard]] bool isSaved() const { return m_preferences.isSaved(); }

    void setBackgroundOpacity(double value);
    void setPinned(bool value);
    void setGridColumns(int value);
    void setGridRows(int value);
    // Sets both sides of the grid before `gridChanged` fires, so the deck is never padded to a grid halfway
    // between the old and the new one.
    void setGrid(int columns, int rows);
    void setClickSoundEnabled(bool value);
    void setCompact(bool value);
    void setShowDockIcon(bool value);
    void setChipStyle(ChipStyleOption value);
    void setTileSize(TileSizeOption value);
    void setShowBand(bool value);
    void setBandModules(const QList<BandModule>& value);
    void setMeetingCalendars(const QStringList& value);
    void setMeetingCalendarSources(const QStringList& value);
    void setPageTransition(PageTransitionOption value);
    void setDealAnimation(bool value);
    void setChameleonGlass(bool value);
    void setWorldClockTimeZone(const QString& value);
    void setWorldClockLabel(const QString& value);
    void setCountdownDate(double value);
    void setCountdownLabel(const QString& value);
    void setPublicIPURL(const QString& value);
    void setWeatherURL(const QString& value);
    void setWeatherLocation(const QString& value);
    void setFeedbackURL(const QString& value);
    void setCloudDeck(bool value);
    void setCloudDeckFolder(const QString& value);
    void setCloudDeckDevice(const QString& value);
    void setCloudDeckFileFingerprint(const QString& value);
    void setCloudDeckFingerprint(const QString& value);
    void setCloudDeckRevision(int value);
    void setCloudDeckLayoutEdit(double value);
    void setCloudDeckHeldScripts(const QStringList& value);
    void setDeckUntouched(bool value);

    // Derived deck geometry, in points.
    [[nodiscard]] int tilesPerPage() const { return gridColumns() * gridRows(); }
    [[nodiscard]] double deckWidth() const { return gridColumns() <= 3 ? 360 : 540; }
    [[nodiscard]] double tilePadding() const { return tileSize() == TileSizeOption::large ? 8 : 14; }
    [[nodiscard]] double tileGap() const { return tileSize() == TileSizeOption::large ? 4 : 10; }
    [[nodiscard]] double tileSide() const;

Q_SIGNALS:
    void backgroundOpacityChanged(double value);
    void pinnedChanged(bool value);
    void gridColumnsChanged(int value);
    void gridRowsChanged(int value);
    void gridChanged(int columns, int rows);
    void clickSoundEnabledChanged(bool value);
    void compactChanged(bool value);
    void showDockIconChanged(bool value);
    void chipStyleChanged(ChipStyleOption value);
    void tileSizeChanged(TileSizeOption value);
    void showBandChanged(bool value);
    void bandModulesChanged(const QList<BandModule>& value);
    void meetingCalendarsChanged(const QStringList& value);
    void meetingCalendarSourcesChanged(const QStringList& value);
    void pageTransitionChanged(PageTransitionOption value);
    void dealAnimationChanged(bool value);
    void chameleonGlassChanged(bool value);
    void worldClockTimeZoneChanged(const QString& value);
    void worldClockLabelChanged(const QString& value);
    void countdownDateChanged(double value);
    void countdownLabelChanged(const QString& value);
    void publicIPURLChanged(const QString& value);
    void weatherURLChanged(const QString& value);
    void weatherLocationChanged(const QString& value);
    void feedbackURLChanged(const QString& value);
    void cloudDeckChanged(bool value);
    void cloudDeckFolderChanged(const QString& value);
    void cloudDeckDeviceChanged(const QString& value);
    void cloudDeckFileFingerprintChanged(const QString& value);
    void cloudDeckFingerprintChanged(const QString& value);
    void cloudDeckRevisionChanged(int value);
    void cloudDeckLayoutEditChanged(double value);
    void cloudDeckHeldScriptsChanged(const QStringList& value);
    void deckUntouchedChanged(bool value);

private:
    template <typename T>
    using Value = Setting<DeckSettings, T>;

    template <typename T>
    bool update(Value<T>& setting, std::type_identity_t<T> value)
    {
        return setting.set(*this, m_preferences, std::move(value));
    }

    Preferences& m_preferences;
    Value<double> m_backgroundOpacity;
    Value<bool> m_isPinned;
    Value<int> m_gridColumns;
    Value<int> m_gridRows;
    Value<bool> m_clickSoundEnabled;
    Value<bool> m_isCompact;
    Value<bool> m_showDockIcon;
    Value<ChipStyleOption> m_chipStyle;
    Value<TileSizeOption> m_tileSize;
    Value<bool> m_showBand;
    Value<QList<BandModule>> m_bandModules;
    Value<QStringList> m_meetingCalendars;
    Value<QStringList> m_meetingCalendarSources;
    Value<PageTransitionOption> m_pageTransition;
    Value<bool> m_dealAnimation;
    Value<bool> m_chameleonGlass;
    Value<QString> m_worldClockTimeZone;
    Value<QString> m_worldClockLabel;
    Value<double> m_countdownDate;
    Value<QString> m_countdownLabel;
    Value<QString> m_publicIPURL;
    Value<QString> m_weatherURL;
    Value<QString> m_weatherLocation;
    Value<QString> m_feedbackURL;
    Value<bool> m_cloudDeck;
    Value<QString> m_cloudDeckFolder;
    Value<QString> m_cloudDeckDevice;
    Value<QString> m_cloudDeckFileFingerprint;
    Value<QString> m_cloudDeckFingerprint;
    Value<int> m_cloudDeckRevision;
    Value<double> m_cloudDeckLayoutEdit;
    Value<QStringList> m_cloudDeckHeldScripts;
    Value<bool> m_deckUntouched;
};
