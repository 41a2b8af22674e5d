#include "ui/editor/BandCustomizeView.h"

#include "band/BandLayout.h"
#include "band/Countdown.h"
#include "band/WorldClock.h"
#include "core/Clock.h"
#include "model/Settings.h"
#include "ui/editor/FormParts.h"
#include "ui/paint/SymbolGlyphs.h"
#include "ui/paint/TileIconPainter.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QToolButton>
#include <algorithm>

namespace {

constexpr int symbolColumn = 18;
constexpr int symbolPixels = 15;
constexpr int buttonPixels = 16;
constexpr double captionScale = 0.8;
constexpr QColor systemRed(255, 59, 48);
// The last second QDateEdit can show; later dates, however they were stored, show as that day.
constexpr double latestShownSeconds = 253402300799;

QGroupBox* section(const QString& title, const QString& name)
{
    auto* box = new QGroupBox(title);
    box->setObjectName(name);
    return box;
}

// A line edit that writes what the user types to its preference at once.
QLineEdit* settingField(QWidget* parent, const QString& name, DeckSettings& settings,
                        void (DeckSettings::*write)(const QString&))
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    QObject::connect(field, &QLineEdit::textEdited, &settings, write);
    return field;
}

// The stored text, set only when it differs, so that a field being typed in keeps its cursor.
void showStored(QLineEdit& field, const QString& stored)
{
    if (field.text() != stored)
        field.setText(stored);
}

QLabel* captionLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * captionScale);
    label->setFont(font);
    makeSecondary(*label);
    return label;
}

QLabel* emptyListLabel(const QString& text)
{
    auto* label = new QLabel(text);
    makeSecondary(*label);
    return label;
}

QWidget* listWidget(const QString& name)
{
    auto* list = new QWidget;
    list->setObjectName(name);
    auto* rows = new QVBoxLayout(list);
    rows->setContentsMargins(0, 0, 0, 0);
    return list;
}

// Swaps the list a section shows. The old one may hold the button whose click brought the change, so it is
// let go once that click has returned; until then it is hidden and loses its name.
void replaceList(QWidget*& list, QVBoxLayout& holder, QWidget* fresh)
{
    if (list) {
        holder.removeWidget(list);
        list->hide();
        list->setObjectName(QString());
        list->deleteLater();
    }
    list = fresh;
    holder.addWidget(fresh);
}

} // namespace

BandCustomizeView::BandCustomizeView(DeckSettings& settings, PhosphorFont& font, const Clock& clock,
                                     QWidget* parent)
    : QWidget(parent)
    , m_settings(settings)
    , m_font(font)
    , m_clock(clock)
    , m_state(settings.bandModules(), BandLayout::unitCount(settings))
{
    auto* content = new QWidget;
    auto* sections = new QVBoxLayout(content);
    sections->addWidget(makeCapacitySection());
    QGroupBox* onBand = section(QStringLiteral("On the Band"), QString());
    m_onBandRows = new QVBoxLayout(onBand);
    sections->addWidget(onBand);
    QGroupBox* available = section(QStringLiteral("Available"), QString());
    m_availableRows = new QVBoxLayout(available);
    sections->addWidget(available);
    sections->addWidget(makeWorldClockSection());
    sections->addWidget(makeCountdownSection());
    sections->addWidget(makeWeatherSection());
    sections->addStretch();

    auto* scroll = new QScrollArea;
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);

    connect(&m_settings, &DeckSettings::bandModulesChanged, this, &BandCustomizeView::rebuild);
    connect(&m_settings, &DeckSettings::gridChanged, this, &BandCustomizeView::rebuild);
    connect(&m_settings, &DeckSettings::tileSizeChanged, this, &BandCustomizeView::rebuild);
    connect(&m_settings, &DeckSettings::worldClockTimeZoneChanged, this, &BandCustomizeView::showWorldClock);
    connect(&m_settings, &DeckSettings::worldClockLabelChanged, this, &BandCustomizeView::showWorldClock);
    connect(&m_settings, &DeckSettings::countdownDateChanged, this, &BandCustomizeView::showCountdown);
    connect(&m_settings, &DeckSettings::countdownLabelChanged, this, &BandCustomizeView::showCountdown);
    connect(&m_settings, &DeckSettings::weatherLocationChanged, this, &BandCustomizeView::showWeather);
    rebuild();
    showWorldClock();
    showCountdown();
    showWeather();
}

QGroupBox* BandCustomizeView::makeCapacitySection()
{
    QGroupBox* box = section(QString(), QString());
    auto* row = new QHBoxLayout(box);
    row->addWidget(new QLabel(QStringLiteral("Capacity"), box));
    row->addStretch();
    m_capacity = new QLabel(box);
    m_capacity->setObjectName(QStringLiteral("capacity"));
    row->addWidget(m_capacity);
    return box;
}

QGroupBox* BandCustomizeView::makeWorldClockSection()
{
    m_worldClock = section(QStringLiteral("World Clock"), QStringLiteral("worldClock"));
    auto* form = new QFormLayout(m_worldClock);
    m_timeZone = new QComboBox(m_worldClock);
    m_timeZone->setObjectName(QStringLiteral("timeZone"));
    for (const QStringView zone : WorldClock::zones)
        m_timeZone->addItem(BandCustomizeState::timeZoneTitle(zone.toString()), zone.toString());
    connect(m_timeZone, &QComboBox::activated, this,
            [this](int index) { m_settings.setWorldClockTimeZone(m_timeZone->itemData(index).toString()); });
    form->addRow(QStringLiteral("Time zone"), m_timeZone);
    m_worldClockLabel = settingField(m_worldClock, QStringLiteral("worldClockLabel"), m_settings,
                                     &DeckSettings::setWorldClockLabel);
    form->addRow(QStringLiteral("Label (optional)"), m_worldClockLabel);
    return m_worldClock;
}

QGroupBox* BandCustomizeView::makeCountdownSection()
{
    m_countdown = section(QStringLiteral("Countdown"), QStringLiteral("countdown"));
    auto* form = new QFormLayout(m_countdown);
    m_targetDate = new QDateEdit(m_countdown);
    m_targetDate->setObjectName(QStringLiteral("targetDate"));
    m_targetDate->setCalendarPopup(true);
    connect(m_targetDate, &QDateEdit::dateChanged, this, &BandCustomizeView::pickDate);
    form->addRow(QStringLiteral("Target date"), m_targetDate);
    m_countdownLabel = settingField(m_countdown, QStringLiteral("countdownLabel"), m_settings,
                                    &DeckSettings::setCountdownLabel);
    form->addRow(QStringLiteral("Label"), m_countdownLabel);
    return m_countdown;
}

QGroupBox* BandCustomizeView::makeWeatherSection()
{
    m_weather = section(QStringLiteral("Weather"), QStringLiteral("weather"));
    auto* form = new QFormLayout(m_weather);
    m_weatherLocation = settingField(m_weather, QStringLiteral("weatherLocation"), m_settings,
                                     &DeckSettings::setWeatherLocation);
    m_weatherLocation->setPlaceholderText(QStringLiteral("latitude,longitude"));
    form->addRow(QStringLiteral("Location"), m_weatherLocation);
    return m_weather;
}

void BandCustomizeView::rebuild()
{
    m_state = BandCustomizeState(m_settings.bandModules(), BandLayout::unitCount(m_settings));
    m_capacity->setText(m_state.capacityText());
    // Back to the inherited colours before either tint.
    m_capacity->setPalette(QPalette());
    if (m_state.isOverCapacity()) {
        QPalette palette = m_capacity->palette();
        palette.setColor(QPalette::WindowText, systemRed);
        m_capacity->setPalette(palette);
    } else {
        makeSecondary(*m_capacity);
    }

    replaceList(m_onBand, *m_onBandRows, makeOnBandList());
    replaceList(m_available, *m_availableRows, makeAvailableList());
    m_worldClock->setVisible(m_state.showsWorldClock());
    m_countdown->setVisible(m_state.showsCountdown());
    m_weather->setVisible(m_state.showsWeather());
}

QWidget* BandCustomizeView::makeOnBandList()
{
    QWidget* list = listWidget(QStringLiteral("onTheBand"));
    const auto rows = m_state.onBandRows();
    if (rows.empty())
        list->layout()->addWidget(emptyListLabel(BandCustomizeState::nothingOnTheBand));
    for (qsizetype index = 0; index < qsizetype(rows.size()); ++index) {
        const BandCustomizeState::OnBandRow& entry = rows[size_t(index)];
        QWidget* row = makeRow(entry.symbol, entry.title, entry.width, rawValue(entry.module), list);
        const auto edit = [this, index](QList<BandModule> (BandCustomizeState::*change)(qsizetype) const) {
            return [this, index, change] { m_settings.setBandModules((m_state.*change)(index)); };
        };
        connect(rowButton(row, QStringLiteral("moveUp"), QStringLiteral("chevron.up"),
                          QStringLiteral("Move %1 up").arg(entry.title), entry.canMoveUp),
                &QToolButton::clicked, this, edit(&BandCustomizeState::movedUp));
        connect(rowButton(row, QStringLiteral("moveDown"), QStringLiteral("chevron.down"),
                          QStringLiteral("Move %1 down").arg(entry.title), entry.canMoveDown),
                &QToolButton::clicked, this, edit(&BandCustomizeState::movedDown));
        connect(rowButton(row, QStringLiteral("remove"), QStringLiteral("minus.circle"),
                          QStringLiteral("Remove %1 from the band").arg(entry.title), true),
                &QToolButton::clicked, this, edit(&BandCustomizeState::removed));
    }
    return list;
}

QWidget* BandCustomizeView::makeAvailableList()
{
    QWidget* list = listWidget(QStringLiteral("available"));
    const auto rows = m_state.availableRows();
    if (rows.empty())
        list->layout()->addWidget(emptyListLabel(BandCustomizeState::nothingAvailable));
    for (const BandCustomizeState::AvailableRow& entry : rows) {
        QWidget* row = makeRow(entry.symbol, entry.title, entry.width, rawValue(entry.module), list);
        if (!entry.freeUp.isEmpty())
            row->layout()->addWidget(captionLabel(entry.freeUp, row));
        const BandModule module = entry.module;
        connect(
            rowButton(row, QStringLiteral("add"), QStringLiteral("plus.circle"), entry.help, entry.canAdd()),
            &QToolButton::clicked, this,
            [this, module] { m_settings.setBandModules(m_state.added(module)); });
    }
    return list;
}

QWidget* BandCustomizeView::makeRow(const QString& symbol, const QString& title, const QString& width,
                                    const QString& name, QWidget* list)
{
    auto* row = new QWidget(list);
    row->setObjectName(name);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* glyph = new QLabel(SymbolGlyphs::text(m_font, symbol), row);
    glyph->setFont(TileIconPainter::iconFont(symbolPixels));
    glyph->setFixedWidth(symbolColumn);
    glyph->setAlignment(Qt::AlignCenter);
    layout->addWidget(glyph);
    layout->addWidget(new QLabel(title, row));
    layout->addWidget(captionLabel(width, row));
    layout->addStretch();
    list->layout()->addWidget(row);
    return row;
}

QToolButton* BandCustomizeView::rowButton(QWidget* row, const QString& name, const QString& symbol,
                                          const QString& help, bool enabled)
{
    auto* button = new QToolButton(row);
    button->setObjectName(name);
    button->setAutoRaise(true);
    button->setFont(TileIconPainter::iconFont(buttonPixels));
    button->setText(SymbolGlyphs::text(m_font, symbol));
    button->setToolTip(help);
    button->setAccessibleName(help);
    button->setEnabled(enabled);
    row->layout()->addWidget(button);
    return button;
}

void BandCustomizeView::showWorldClock()
{
    const QSignalBlocker blocker(m_timeZone);
    // A zone stored by hand that the picker does not offer shows no choice, and stays stored until one is
    // made.
    m_timeZone->setCurrentIndex(m_timeZone->findData(m_settings.worldClockTimeZone()));
    showStored(*m_worldClockLabel, m_settings.worldClockLabel());
}

void BandCustomizeView::showCountdown()
{
    const double stored = m_settings.countdownDate();
    const QDate day = Countdown::isSet(stored)
                          ? QDateTime::fromSecsSinceEpoch(qint64(std::min(stored, latestShownSeconds))).date()
                          : m_clock.now().date();
    {
        const QSignalBlocker blocker(m_targetDate);
        m_targetDate->setDate(day);
    }
    showStored(*m_countdownLabel, m_settings.countdownLabel());
}

void BandCustomizeView::pickDate()
{
    m_settings.setCountdownDate(double(m_targetDate->date().startOfDay().toSecsSinceEpoch()));
}

void BandCustomizeView::showWeather()
{
    showStored(*m_weatherLocation, m_settings.weatherLocation());
}
