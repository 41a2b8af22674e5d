#include "ui/settings/AppearancePane.h"

#include "model/Settings.h"
#include "platform/PlatformWordings.h"
#include "transfer/DeckTransfer.h"
#include "ui/editor/FormParts.h"
#include "ui/settings/SettingsForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>
#include <type_traits>

namespace {

constexpr int opacitySteps = 100;
constexpr int sliderWidth = 200;

template <NamedEnum Enum, std::size_t Count>
QStringList titles(const std::array<Enum, Count>& cases)
{
    QStringList list;
    for (const Enum value : cases)
        list.append(title(value));
    return list;
}

constexpr std::array tileSizes{TileSizeOption::regular, TileSizeOption::large};
constexpr std::array transitions{PageTransitionOption::ripple, PageTransitionOption::depth,
                                 PageTransitionOption::crossfade};
constexpr std::array chipStyles{ChipStyleOption::light, ChipStyleOption::dark, ChipStyleOption::tinted,
                                ChipStyleOption::clear};

template <typename Enum, std::size_t Count>
int indexOf(const std::array<Enum, Count>& cases, Enum value)
{
    const auto found = std::find(cases.begin(), cases.end(), value);
    return found == cases.end() ? -1 : static_cast<int>(found - cases.begin());
}

// A picker over the cases of an enumeration preference: the user's choice goes to `write`, and the picker
// shows the value whenever `changed` says it changed.
template <typename Enum, std::size_t Count>
QComboBox* enumPicker(QFormLayout& form, const QString& label, const char* name,
                      const std::array<Enum, Count>& cases, Enum value, DeckSettings& settings,
                      void (DeckSettings::*changed)(Enum),
                      std::type_identity_t<std::function<void(Enum)>> write)
{
    QComboBox* picker = SettingsForm::pickerRow(form, label, titles(cases), name,
                                                [cases, write = std::move(write)](int index) {
                                                    if (index >= 0 && index < static_cast<int>(Count))
                                                        write(cases[static_cast<std::size_t>(index)]);
                                                });
    picker->setCurrentIndex(indexOf(cases, value));
    QObject::connect(&settings, changed, picker,
                     [picker, cases](Enum now) { picker->setCurrentIndex(indexOf(cases, now)); });
    return picker;
}

QString gridTitle(const DeckTransfer::Grid& grid)
{
    return QStringLiteral("%1 × %2").arg(grid.columns).arg(grid.rows);
}

} // namespace

AppearancePane::AppearancePane(const SettingsParts& parts, QWidget* parent)
    : QWidget(parent)
    , m_parts(parts)
{
    using namespace SettingsForm;
    DeckSettings& settings = m_parts.settings;
    const SettingsCommands& commands = m_parts.commands;
    QVBoxLayout* pane = column(*this);

    QFormLayout* deck = section(*pane);
    enumPicker(*deck, QStringLiteral("Tile size"), "tileSize", tileSizes, settings.tileSize(), settings,
               &DeckSettings::tileSizeChanged, commands.setTileSize);
    QStringList grids;
    for (const DeckTransfer::Grid& grid : DeckTransfer::supportedGrids)
        grids.append(gridTitle(grid));
    m_grid = pickerRow(*deck, QStringLiteral("Grid"), grids, "grid", [this](int index) {
        if (index < 0 || index >= static_cast<int>(DeckTransfer::supportedGrids.size()))
            return;
        const DeckTransfer::Grid& grid = DeckTransfer::supportedGrids[static_cast<std::size_t>(index)];
        m_parts.commands.setGrid(grid.columns, grid.rows);
    });
    followGrid();
    connect(&settings, &DeckSettings::gridChanged, this, &AppearancePane::followGrid);

    auto* opacity = new QSlider(Qt::Horizontal);
    opacity->setObjectName(QStringLiteral("backgroundOpacity"));
    opacity->setRange(0, opacitySteps);
    opacity->setFixedWidth(sliderWidth);
    opacity->setValue(static_cast<int>(std::lround(settings.backgroundOpacity() * opacitySteps)));
    connect(opacity, &QSlider::valueChanged, this, [&settings](int value) {
        settings.setBackgroundOpacity(static_cast<double>(value) / opacitySteps);
    });
    connect(&settings, &DeckSettings::backgroundOpacityChanged, opacity, [opacity](double value) {
        const QSignalBlocker quiet(opacity);
        opacity->setValue(static_cast<int>(std::lround(value * opacitySteps)));
    });
    deck->addRow(QStringLiteral("Background opacity"), lineOf(QBoxLayout::RightToLeft, {opacity}));
    QCheckBox* chameleon =
        switchRow(*deck, QStringLiteral("Chameleon glass"), "chameleonGlass", settings.chameleonGlass(),
                  [&settings](bool on) { settings.setChameleonGlass(on); });
    connect(&settings, &DeckSettings::chameleonGlassChanged, chameleon, &QCheckBox::setChecked);
    footer(*pane, QStringLiteral("Chameleon glass tints the deck to match your wallpaper."));

    QFormLayout* motion = section(*pane, QStringLiteral("Motion"));
    QCheckBox* deal =
        switchRow(*motion, QStringLiteral("Deal tiles on arrival"), "dealAnimation", settings.dealAnimation(),
                  [&settings](bool on) { settings.setDealAnimation(on); });
    connect(&settings, &DeckSettings::dealAnimationChanged, deal, &QCheckBox::setChecked);
    buttonRow(*motion, {}, QStringLiteral("See it now"), "seeDealNow", commands.seeDealNow);
    enumPicker(*motion, QStringLiteral("Page change"), "pageTransition", transitions,
               settings.pageTransition(), settings, &DeckSettings::pageTransitionChanged,
               [&settings](PageTransitionOption option) { settings.setPageTransition(option); });
    buttonRow(*motion, {}, QStringLiteral("Preview"), "previewTransition", commands.previewTransition);
    footer(*pane, m_parts.wordings.dealFooter);

    QFormLayout* band = section(*pane, QStringLiteral("Accessory band"));
    QCheckBox* showBand = switchRow(*band, QStringLiteral("Show band"), "showBand", settings.showBand(),
                                    [this](bool on) { m_parts.commands.setShowBand(on); });
    connect(&settings, &DeckSettings::showBandChanged, showBand, &QCheckBox::setChecked);
    buttonRow(*band, QStringLiteral("Controls"), QStringLiteral("Customize…"), "customizeBand",
              commands.customizeBand);

    QFormLayout* compact = section(*pane, QStringLiteral("Compact mode"));
    // The deck follows the preference by itself, as it does for the status menu's item.
    QCheckBox* useCompact =
        switchRow(*compact, QStringLiteral("Use compact mode"), "compact", settings.isCompact(),
                  [&settings](bool on) { settings.setCompact(on); });
    connect(&settings, &DeckSettings::compactChanged, useCompact, &QCheckBox::setChecked);
    enumPicker(*compact, QStringLiteral("Chip style"), "chipStyle", chipStyles, settings.chipStyle(),
               settings, &DeckSettings::chipStyleChanged,
               [&settings](ChipStyleOption style) { settings.setChipStyle(style); });
    footer(*pane, QStringLiteral(
                      "Compact mode folds the deck into a small chip that opens when you hover over it."));
}

void AppearancePane::followGrid()
{
    const DeckTransfer::Grid current{m_parts.settings.gridColumns(), m_parts.settings.gridRows()};
    const auto& presets = DeckTransfer::supportedGrids;
    const auto found = std::find(presets.begin(), presets.end(), current);
    m_grid->setCurrentIndex(found == presets.end() ? -1 : static_cast<int>(found - presets.begin()));
}
