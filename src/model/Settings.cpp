#include "Settings.h"

#include "core/Logging.h"
#include "core/Preferences.h"

#include <algorithm>
#include <cmath>

namespace {

// The settings window only writes 3 × 3, 4 × 3 and 3 × 4 grids and opacities from 0 to 1; values put there by
// hand are brought back into range so the deck still opens (a grid of zero tiles, or a million, would not).
std::optional<int> sanitisedGridSide(int value)
{
    if (value < 1)
        return std::nullopt;
    return std::min(value, DeckSettings::maxGridSide);
}

std::optional<double> sanitisedOpacity(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    return std::clamp(value, 0.0, 1.0);
}

// A module shows once on the band: a list edited by hand that names one twice (or thousands of times) keeps
// the first of each, which also bounds the list by the size of the catalogue.
std::optional<QList<BandModule>> sanitisedBandModules(QList<BandModule> modules)
{
    QList<BandModule> unique;
    for (const BandModule module : modules) {
        if (!unique.contains(module))
            unique << module;
    }
    if (unique.size() < modules.size()) {
        qCWarning(lcSettings).noquote()
            << "Marquetto: preference bandModules repeats modules, dropped:" << modules.size() - unique.size()
            << "of them";
    }
    return unique;
}

// A revision below zero or a time that is not a number can only come from a hand edit; both count as
// never synced rather than poisoning every later comparison.
std::optional<int> sanitisedRevision(int value)
{
    return std::max(value, 0);
}

std::optional<double> sanitisedTime(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

// The table of this machine's preferences, in the order they load: key, default, sanitiser, change signal.
DeckSettings::DeckSettings(Preferences& preferences, QObject* parent)
    : QObject(parent)
    , m_preferences(preferences)
    , m_backgroundOpacity(preferences, {QStringLiteral("backgroundOpacity"), 1.0,
                                        &DeckSettings::backgroundOpacityChanged, sanitisedOpacity})
    , m_isPinned(preferences, {QStringLiteral("isPinned"), false, &DeckSettings::pinnedChanged})
    , m_gridColumns(preferences,
                    {QStringLiteral("gridColumns"), 3, &DeckSettings::gridColumnsChanged, sanitisedGridSide})
    , m_gridRows(preferences,
                 {QStringLiteral("gridRows"), 3, &DeckSettings::gridRowsChanged, sanitisedGridSide})
    , m_clickSoundEnabled(
          preferences, {QStringLiteral("clickSoundEnabled"), true, &DeckSettings::clickSoundEnabledChanged})
    , m_isCompact(preferences, {QStringLiteral("isCompact"), false, &DeckSettings::compactChanged})
    , m_showDockIcon(preferences, {QStringLiteral("showDockIcon"), true, &DeckSettings::showDockIconChanged})
    , m_chipStyle(preferences,
                  {QStringLiteral("chipStyle"), ChipStyleOption::light, &DeckSettings::chipStyleChanged})
    , m_tileSize(preferences,
                 {QStringLiteral("tileSize"), TileSizeOption::regular, &DeckSettings::tileSizeChanged})
    , m_showBand(preferences, {QStringLiteral("showBand"), true, &DeckSettings::showBandChanged})
    , m_bandModules(preferences, {QStringLiteral("bandModules"), defaultBandModules(),
                                  &DeckSettings::bandModulesChanged, sanitisedBandModules})
    , m_meetingCalendars(preferences,
                         {QStringLiteral("meetingCalendars"), {}, &DeckSettings::meetingCalendarsChanged})
    , m_meetingCalendarSources(
          preferences,
          {QStringLiteral("meetingCalendarSources"), {}, &DeckSettings::meetingCalendarSourcesChanged})
    , m_pageTransition(preferences, {QStringLiteral("pageTransition"), PageTransitionOption::ripple,
                                     &DeckSettings::pageTransitionChanged})
    , m_dealAnimation(preferences,
                      {QStringLiteral("dealAnimation"), true, &DeckSettings::dealAnimationChanged})
    , m_chameleonGlass(preferences,
                       {QStringLiteral("chameleonGlass"), true, &DeckSettings::chameleonGlassChanged})
    , m_worldClockTimeZone(preferences,
                           {QStringLiteral("worldClockTimeZone"), QStringLiteral("America/New_York"),
                            &DeckSettings::worldClockTimeZoneChanged})
    , m_worldClockLabel(preferences,
                        {QStringLiteral("worldClockLabel"), QString(), &DeckSettings::worldClockLabelChanged})
    , m_countdownDate(preferences,
                      {QStringLiteral("countdownDate"), 0.0, &DeckSettings::countdownDateChanged})
    , m_countdownLabel(preferences, {QStringLiteral("countdownLabel"), QStringLiteral("Countdown"),
                                     &DeckSettings::countdownLabelChanged})
    , m_publicIPURL(preferences, {QStringLiteral("publicIPURL"), QStringLiteral("https://api.ipify.org"),
                                  &DeckSettings::publicIPURLChanged})
    , m_weatherURL(preferences,
                   {QStringLiteral("weatherURL"), QStringLiteral("https://api.open-meteo.com/v1/forecast"),
                    &DeckSettings::weatherURLChanged})
    , m_weatherLocation(preferences,
                        {QStringLiteral("weatherLocation"), QString(), &DeckSettings::weatherLocationChanged})
    , m_feedbackURL(preferences,
                    {QStringLiteral("feedbackURL"), QString(), &DeckSettings::feedbackURLChanged})
    , m_cloudDeck(preferences, {QStringLiteral("cloudDeck"), false, &DeckSettings::cloudDeckChanged})
    , m_cloudDeckFolder(preferences,
                        {QStringLiteral("cloudDeckFolder"), QString(), &DeckSettings::cloudDeckFolderChanged})
    , m_cloudDeckDevice(preferences,
                        {QStringLiteral("cloudDeckDevice"), QString(), &DeckSettings::cloudDeckDeviceChanged})
    , m_cloudDeckFileFingerprint(preferences, {QStringLiteral("cloudDeckFileFingerprint"), QString(),
                                               &DeckSettings::cloudDeckFileFingerprintChanged})
    , m_cloudDeckFingerprint(preferences, {QStringLiteral("cloudDeckFingerprint"), QString(),
                                           &DeckSettings::cloudDeckFingerprintChanged})
    , m_cloudDeckRevision(preferences, {QStringLiteral("cloudDeckRevision"), 0,
                                        &DeckSettings::cloudDeckRevisionChanged, sanitisedRevision})
    , m_cloudDeckLayoutEdit(preferences, {QStringLiteral("cloudDeckLayoutEdit"), 0.0,
                                          &DeckSettings::cloudDeckLayoutEditChanged, sanitisedTime})
    , m_cloudDeckHeldScripts(preferences, {QStringLiteral("cloudDeckHeldScripts"), QStringList(),
                                           &DeckSettings::cloudDeckHeldScriptsChanged})
    , m_deckUntouched(preferences,
                      {QStringLiteral("deckUntouched"), false, &DeckSettings::deckUntouchedChanged})
{
}

QList<BandModule> DeckSettings::defaultBandModules()
{
    return {BandModule::micMute, BandModule::volumeDown, BandModule::volumeUp, BandModule::dateTime,
            BandModule::focus};
}

double DeckSettings::tileSide() const
{
    return (deckWidth() - (gridColumns() - 1) * tileGap() - 2 * tilePadding()) / gridColumns();
}

void DeckSettings::setBackgroundOpacity(double value)
{
    update(m_backgroundOpacity, value);
}

void DeckSettings::setPinned(bool value)
{
    update(m_isPinned, value);
}

void DeckSettings::setGridColumns(int value)
{
    setGrid(value, gridRows());
}

void DeckSettings::setGridRows(int value)
{
    setGrid(gridColumns(), value);
}

void DeckSettings::setGrid(int columns, int rows)
{
    const bool columnsChanged = update(m_gridColumns, columns);
    if (update(m_gridRows, rows) || columnsChanged)
        Q_EMIT gridChanged(gridColumns(), gridRows());
}

void DeckSettings::setClickSoundEnabled(bool value)
{
    update(m_clickSoundEnabled, value);
}

void DeckSettings::setCompact(bool value)
{
    update(m_isCompact, value);
}

void DeckSettings::setShowDockIcon(bool value)
{
    update(m_showDockIcon, value);
}

void DeckSettings::setChipStyle(ChipStyleOption value)
{
    update(m_chipStyle, value);
}

void DeckSettings::setTileSize(TileSizeOption value)
{
    update(m_tileSize, value);
}

void DeckSettings::setShowBand(bool value)
{
    update(m_showBand, value);
}

void DeckSettings::setBandModules(const QList<BandModule>& value)
{
    update(m_bandModules, value);
}

void DeckSettings::setMeetingCalendars(const QStringList& value)
{
    update(m_meetingCalendars, value);
}

void DeckSettings::setMeetingCalendarSources(const QStringList& value)
{
    update(m_meetingCalendarSources, value);
}

void DeckSettings::setPageTransition(PageTransitionOption value)
{
    update(m_pageTransition, value);
}

void DeckSettings::setDealAnimation(bool value)
{
    update(m_dealAnimation, value);
}

void DeckSettings::setChameleonGlass(bool value)
{
    update(m_chameleonGlass, value);
}

void DeckSettings::setWorldClockTimeZone(const QString& value)
{
    update(m_worldClockTimeZone, value);
}

void DeckSettings::setWorldClockLabel(const QString& value)
{
    update(m_worldClockLabel, value);
}

void DeckSettings::setCountdownDate(double value)
{
    update(m_countdownDate, value);
}

void DeckSettings::setCountdownLabel(const QString& value)
{
    update(m_countdownLabel, value);
}

void DeckSettings::setPublicIPURL(const QString& value)
{
    update(m_publicIPURL, value);
}

void DeckSettings::setWeatherURL(const QString& value)
{
    update(m_weatherURL, value);
}

void DeckSettings::setWeatherLocation(const QString& value)
{
    update(m_weatherLocation, value);
}

void DeckSettings::setFeedbackURL(const QString& value)
{
    update(m_feedbackURL, value);
}

void DeckSettings::setCloudDeck(bool value)
{
    update(m_cloudDeck, value);
}

void DeckSettings::setCloudDeckFolder(const QString& value)
{
    update(m_cloudDeckFolder, value);
}

void DeckSettings::setCloudDeckDevice(const QString& value)
{
    update(m_cloudDeckDevice, value);
}

void DeckSettings::setCloudDeckFileFingerprint(const QString& value)
{
    update(m_cloudDeckFileFingerprint, value);
}

void DeckSettings::setCloudDeckFingerprint(const QString& value)
{
    update(m_cloudDeckFingerprint, value);
}

void DeckSettings::setCloudDeckRevision(int value)
{
    update(m_cloudDeckRevision, value);
}

void DeckSettings::setCloudDeckLayoutEdit(double value)
{
    update(m_cloudDeckLayoutEdit, value);
}

void DeckSettings::setCloudDeckHeldScripts(const QStringList& value)
{
    update(m_cloudDeckHeldScripts, value);
}

void DeckSettings::setDeckUntouched(bool value)
{
    update(m_deckUntouched, value);
}
