#include "ui/editor/TileLibraryView.h"

#include "deck/TileLibrary.h"
#include "ui/editor/FormParts.h"
#include "ui/paint/SymbolGlyphs.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

constexpr int rowSpacing = 10;
constexpr double dimmedOpacity = 0.5;
constexpr double secondaryScale = 0.85;
constexpr int plusGlyphPixels = 20;

QLabel* passiveLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    // Clicks on the texts belong to the row's button.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Inside a button a label would take the button's text role; the sheet's colours are set on its own.
    label->setForegroundRole(QPalette::WindowText);
    return label;
}

QLabel* secondaryLabel(const QString& text, QWidget* parent)
{
    QLabel* label = passiveLabel(text, parent);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * secondaryScale);
    label->setFont(font);
    makeSecondary(*label);
    return label;
}

} // namespace

TileLibraryView::TileLibraryView(const TileLibrary& library, TileIconPainter::Services painting,
                                 PickHandler onPick, QWidget* parent)
    : QDialog(parent)
    , m_library(library)
    , m_painting(painting)
    , m_painter(painting)
    , m_onPick(std::move(onPick))
{
    setWindowTitle(QStringLiteral("Tile Library"));
    setModal(true);
    resize(sheetWidth, sheetHeight);

    auto* list = new QWidget;
    auto* sections = new QVBoxLayout(list);
    auto* heading = new QLabel(QStringLiteral("Pick one and tweak anything before saving."), list);
    heading->setWordWrap(true);
    sections->addWidget(heading);
    for (const QString& category : TileLibrary::categories()) {
        auto* title = new QLabel(category, list);
        QFont font = title->font();
        font.setBold(true);
        title->setFont(font);
        sections->addSpacing(rowSpacing);
        sections->addWidget(title);
        for (const TilePreset& preset : m_library.presets(category))
            sections->addWidget(makeRow(preset));
    }
    sections->addStretch();

    auto* scroll = new QScrollArea(this);
    scroll->setWidget(list);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    // QDialog rejects on Escape itself; the box's Cancel rejects the same way.
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addWidget(divider);
    layout->addWidget(buttons);
}

QWidget* TileLibraryView::makeRow(const TilePreset& preset)
{
    auto* row = new QPushButton;
    row->setObjectName(preset.id);
    row->setFlat(true);
    row->setAccessibleName(preset.name);
    row->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);

    auto* content = new QHBoxLayout(row);
    content->setSpacing(rowSpacing);
    QLabel* icon = passiveLabel(QString(), row);
    icon->setFixedSize(previewSpan, previewSpan);
    if (preset.icon.as<TileIcon::Builder>())
        icon->setPixmap(preview(preset));
    content->addWidget(icon, 0, Qt::AlignTop);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(passiveLabel(preset.name, row));
    texts->addWidget(secondaryLabel(preset.blurb, row));
    if (preset.permissionNote)
        texts->addWidget(secondaryLabel(*preset.permissionNote, row));
    if (const std::optional<QString> missing = m_library.missingProgram(preset)) {
        texts->addWidget(secondaryLabel(TileLibrary::needsText(*missing), row));
        // Dimmed but still offered: the program may be installed before the tile is first used.
        auto* dimming = new QGraphicsOpacityEffect(row);
        dimming->setOpacity(dimmedOpacity);
        row->setGraphicsEffect(dimming);
    }
    content->addLayout(texts, 1);

    QLabel* plus = passiveLabel(SymbolGlyphs::text(m_painting.font, QStringLiteral("plus.circle.fill")), row);
    plus->setFont(TileIconPainter::iconFont(plusGlyphPixels));
    QPalette palette = plus->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Highlight));
    plus->setPalette(palette);
    content->addWidget(plus, 0, Qt::AlignVCenter);

    connect(row, &QPushButton::clicked, this, [this, preset] { pick(preset); });
    return row;
}

QPixmap TileLibraryView::preview(const TilePreset& preset)
{
    const double ratio = devicePixelRatioF();
    QPixmap pixmap(QSize(previewSpan, previewSpan) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    Tile tile;
    tile.label = preset.label;
    tile.icon = preset.icon;
    tile.action = preset.action;
    m_painter.paint(painter, tile, QRectF(0, 0, previewSpan, previewSpan),
                    previewSpan / TileIconPainter::iconSpan, 0, 1);
    return pixmap;
}

void TileLibraryView::pick(const TilePreset& preset)
{
    // The handler may close what opened the sheet, and the sheet with it: keep what the call needs.
    const PickHandler onPick = m_onPick;
    const TilePreset chosen = preset;
    accept();
    onPick(chosen);
}
