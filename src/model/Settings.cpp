#include "Settings.h"

#include "platform/Preferences.h"

#include <QJsonArray>
#include <algorithm>
#include <cmath>

namespace {

constexpr int defaultGridSide = 3;

// The settings window only writes 3 × 3, 4 × 3 and 3 × 4 grids and opacities from 0 to 1; values put there by
// hand are brought back into range so the deck still opens (a grid of zero tiles, or a million, would not).
int sanitizedGridSide(int value)
{
    return value < 1 ? defaultGridSide : std::min(value, DeckSettings::maxGridSide);
}

double sanitizedOpacity(double value)
{
    return std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 1.0;
}

QJsonArray rawValues(const QList<BandModule>& modules)
{
    QJsonArray array;
    for (const BandModule module : modules)
        array.append(rawValue(module));
    return array;
}

} // namespace

DeckSettings::DeckSettings(Preferences& preferences, QObject* parent)
    : QObject(parent)
    , m_preferences(preferences)
{
    load();
}

QList<BandModule> DeckSettings::defaultBandModules()
{
    return {BandModule::micMute, BandModule::volumeDown, BandModule::volumeUp, BandModule::dateTime,
            BandModule::focus};
}

void DeckSettings::load()
{
    const Preferences& p = m_preferences;
    m_backgroundOpacity = sanitizedOpacity(p.doubleValue(QStringLiteral("backgroundOpacity")).value_or(1.0));
    m_isPinned = p.boolValue(QStringLiteral("isPinned")).value_or(false);
    m_gridColumns = sanitizedGridSide(p.intValue(QStringLiteral("gridColumns")).value_or(defaultGridSide));
    m_gridRows = sanitizedGridSide(p.intValue(QStringLiteral("gridRows")).value_or(defaultGridSide));
    m_clickSoundEnabled = p.boolValue(QStringLiteral("clickSoundEnabled")).value_or(true);
    m_isCompact = p.boolValue(QStringLiteral("isCompact")).value_or(false);
    m_showDockIcon = p.boolValue(QStringLiteral("showDockIcon")).value_or(true);
    m_chipStyle =
        fromRawValue<ChipStyleOption>(p.stringValue(QStringLiteral("chipStyle")).value_or(QString()))
            .value_or(ChipStyleOption::light);
    m_tileSize = p.stringValue(QStringLiteral("tileSize")) == QStringLiteral("large")
                     ? TileSizeOption::large
                     : TileSizeOption::regular;
    m_showBand = p.boolValue(QStringLiteral("showBand")).value_or(true);
    if (const auto stored = p.stringListValue(QStringLiteral("bandModules"))) {
        m_bandModules.clear();
        for (const QString& name : *stored) {
            if (const auto module = fromRawValue<BandModule>(name))
                m_bandModules << *module;
        }
    }
    m_meetingCalendars = p.stringListValue(QStringLiteral("meetingCalendars")).value_or(QStringList());
    m_pageTransition = fromRawValue<PageTransitionOption>(
                           p.stringValue(QStringLiteral("pageTransition")).value_or(QString()))
                           .value_or(PageTransitionOption::ripple);
    m_dealAnimation = p.boolValue(QStringLiteral("dealAnimation")).value_or(true);
    m_chameleonGlass = p.boolValue(QStringLiteral("chameleonGlass")).value_or(true);
    m_worldClockTimeZone =
        p.stringValue(QStringLiteral("worldClockTimeZone")).value_or(QStringLiteral("America/New_York"));
    m_worldClockLabel = p.stringValue(QStringLiteral("worldClockLabel")).value_or(QString());
    m_countdownDate = p.doubleValue(QStringLiteral("countdownDate")).value_or(0);
    m_countdownLabel = p.stringValue(QStringLiteral("countdownLabel")).value_or(QStringLiteral("Countdown"));
}

template <typename T, typename Signal>
void DeckSettings::assign(T& member, T value, const char* key, const QJsonValue& stored, Signal changed)
{
    if (member == value)
        return;
    member = std::move(value);
    Q_EMIT(this->*changed)(member);
    m_preferences.setValue(QLatin1String(key), stored);
}

double DeckSettings::tileSide() const
{
    return (deckWidth() - (m_gridColumns - 1) * tileGap() - 2 * tilePadding()) / m_gridColumns;
}

void DeckSettings::setBackgroundOpacity(double value)
{
    value = sanitizedOpacity(value);
    assign(m_backgroundOpacity, value, "backgroundOpacity", value, &DeckSettings::backgroundOpacityChanged);
}

void DeckSettings::setPinned(bool value)
{
    assign(m_isPinned, value, "isPinned", value, &DeckSettings::pinnedChanged);
}

void DeckSettings::setGridColumns(int value)
{
    value = sanitizedGridSide(value);
    assign(m_gridColumns, value, "gridColumns", value, &DeckSettings::gridColumnsChanged);
}

void DeckSettings::setGridRows(int value)
{
    value = sanitizedGridSide(value);
    assign(m_gridRows, value, "gridRows", value, &DeckSettings::gridRowsChanged);
}

void DeckSettings::setClickSoundEnabled(bool value)
{
    assign(m_clickSoundEnabled, value, "clickSoundEnabled", value, &DeckSettings::clickSoundEnabledChanged);
}

void DeckSettings::setCompact(bool value)
{
    assign(m_isCompact, value, "isCompact", value, &DeckSettings::compactChanged);
}

void DeckSettings::setShowDockIcon(bool value)
{
    assign(m_showDockIcon, value, "showDockIcon", value, &DeckSettings::showDockIconChanged);
}

void DeckSettings::setChipStyle(ChipStyleOption value)
{
    assign(m_chipStyle, value, "chipStyle", rawValue(value), &DeckSettings::chipStyleChanged);
}

void DeckSettings::setTileSize(TileSizeOption value)
{
    assign(m_tileSize, value, "tileSize", rawValue(value), &DeckSettings::tileSizeChanged);
}

void DeckSettings::setShowBand(bool value)
{
    assign(m_showBand, value, "showBand", value, &DeckSettings::showBandChanged);
}

void DeckSettings::setBandModules(const QList<BandModule>& value)
{
    assign(m_bandModules, value, "bandModules", rawValues(value), &DeckSettings::bandModulesChanged);
}

void DeckSettings::setMeetingCalendars(const QStringList& value)
{
    assign(m_meetingCalendars, value, "meetingCalendars", QJsonArray::fromStringList(value),
           &DeckSettings::meetingCalendarsChanged);
}

void DeckSettings::setPageTransition(PageTransitionOption value)
{
    assign(m_pageTransition, value, "pageTransition", rawValue(value), &DeckSettings::pageTransitionChanged);
}

void DeckSettings::setDealAnimation(bool value)
{
    assign(m_dealAnimation, value, "dealAnimation", value, &DeckSettings::dealAnimationChanged);
}

void DeckSettings::setChameleonGlass(bool value)
{
    assign(m_chameleonGlass, value, "chameleonGlass", value, &DeckSettings::chameleonGlassChanged);
}

void DeckSettings::setWorldClockTimeZone(const QString& value)
{
    assign(m_worldClockTimeZone, value, "worldClockTimeZone", value,
           &DeckSettings::worldClockTimeZoneChanged);
}

void DeckSettings::setWorldClockLabel(const QString& value)
{
    assign(m_worldClockLabel, value, "worldClockLabel", value, &DeckSettings::worldClockLabelChanged);
}

void DeckSettings::setCountdownDate(double value)
{
    assign(m_countdownDate, value, "countdownDate", value, &DeckSettings::countdownDateChanged);
}

void DeckSettings::setCountdownLabel(const QString& value)
{
    assign(m_countdownLabel, value, "countdownLabel", value, &DeckSettings::countdownLabelChanged);
}
