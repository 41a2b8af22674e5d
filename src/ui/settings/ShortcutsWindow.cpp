#include "ui/settings/ShortcutsWindow.h"

#include "deck/HotKeys.h"
#include "platform/HotKeys.h"
#include "platform/PlatformWordings.h"
#include "platform/ShortcutSetupFlow.h"
#include "ui/settings/MainMenu.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr double horizontalInset = 18;
constexpr double verticalInset = 10;
constexpr double rowSpace = 9;
constexpr double minimumGap = 24;
constexpr double capSpacing = 4;
constexpr double capPaddingX = 7;
constexpr double capPaddingY = 3;
constexpr double capRadius = 5;

QFont capFont()
{
    QFont font = QApplication::font();
    font.setPointSizeF(11);
    font.setWeight(QFont::Medium);
    return font;
}

// Buttons for the flow's items, made again whenever they change.
void showSetupItems(QWidget& row, ShortcutSetupFlow& flow)
{
    auto* layout = new QHBoxLayout(&row);
    layout->setContentsMargins(static_cast<int>(horizontalInset), 0, static_cast<int>(horizontalInset),
                               static_cast<int>(verticalInset));
    const auto fill = [&row, &flow, layout] {
        while (QLayoutItem* item = layout->takeAt(0)) {
            // A button may be the one whose click led here.
            item->widget()->hide();
            item->widget()->deleteLater();
            delete item;
        }
        const std::vector<ShortcutSetupFlow::Item> items = flow.items();
        row.setVisible(!items.empty());
        for (const ShortcutSetupFlow::Item& item : items) {
            auto* button = new QPushButton(item.title, &row);
            button->setEnabled(item.enabled);
            QObject::connect(button, &QPushButton::clicked, &flow, item.choose);
            layout->addWidget(button);
        }
    };
    QObject::connect(&flow, &ShortcutSetupFlow::changed, &row, fill);
    fill();
}

QSizeF capSize(const QFontMetricsF& metrics, const QString& key)
{
    return {metrics.horizontalAdvance(key) + 2 * capPaddingX, metrics.height() + 2 * capPaddingY};
}

} // namespace

ShortcutsView::ShortcutsView(std::vector<Row> rows, QWidget* parent)
    : QWidget(parent)
    , m_rows(std::move(rows))
{
    setFixedSize(sizeHint());
}

std::vector<ShortcutsView::Row> ShortcutsView::rows(const PlatformWordings& wordings,
                                                    const GlobalHotKeys* keys)
{
    std::vector<Row> rows{
        {QStringLiteral("Run a tile"), {QStringLiteral("Click")}},
        {QStringLiteral("Edit a tile"), {QStringLiteral("Right-click")}},
    };
    if (keys && keys->mechanism() == HotKeyMechanism::portal) {
        // The user may have chosen other keys in the desktop's dialog, one by one.
        const std::map<std::uint32_t, QString> triggers = keys->triggers();
        const auto bound = [&triggers](std::uint32_t id) {
            const auto found = triggers.find(id);
            return QStringList{found == triggers.end() || found->second.isEmpty() ? QStringLiteral("Not set")
                                                                                  : found->second};
        };
        rows.push_back({QStringLiteral("Summon the deck"), bound(DeckHotKeys::summonId)});
        for (std::uint32_t tile = 1; tile <= 9; ++tile)
            rows.push_back({QStringLiteral("Run tile %1").arg(tile), bound(tile)});
    } else {
        rows.push_back({QStringLiteral("Summon the deck"),
                        wordings.hotKeyModifierCaps + QStringList{QStringLiteral("Space")}});
        rows.push_back({QStringLiteral("Run tiles 1–9"),
                        wordings.hotKeyModifierCaps + QStringList{QStringLiteral("1–9")}});
    }
    rows.push_back({QStringLiteral("Flip pages"), {QStringLiteral("Scroll")}});
    rows.push_back({QStringLiteral("Rearrange tiles"), {QStringLiteral("Drag in Edit Layout")}});
    return rows;
}

double ShortcutsView::rowHeight() const
{
    const QFontMetricsF text(font());
    return std::max(text.height(), QFontMetricsF(capFont()).height() + 2 * capPaddingY) + 2 * rowSpace;
}

QSize ShortcutsView::sizeHint() const
{
    const double height = 2 * verticalInset + rowHeight() * static_cast<double>(m_rows.size());
    return {width, static_cast<int>(std::ceil(height))};
}

void ShortcutsView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor primary = palette().color(QPalette::WindowText);
    const QFontMetricsF capMetrics(capFont());
    const double right = width - horizontalInset;
    double top = verticalInset;
    for (std::size_t index = 0; index < m_rows.size(); ++index) {
        const Row& row = m_rows[index];
        const double middle = top + rowHeight() / 2;
        painter.setPen(primary);
        painter.setFont(font());
        painter.drawText(QRectF(horizontalInset, top, right - horizontalInset - minimumGap, rowHeight()),
                         Qt::AlignLeft | Qt::AlignVCenter, row.action);

        double capsWidth = capSpacing * static_cast<double>(row.keys.size() - 1);
        for (const QString& key : row.keys)
            capsWidth += capSize(capMetrics, key).width();
        double x = right - capsWidth;
        painter.setFont(capFont());
        for (const QString& key : row.keys) {
            const QSizeF size = capSize(capMetrics, key);
            const QRectF cap(x, middle - size.height() / 2, size.width(), size.height());
            QColor fill = primary;
            fill.setAlphaF(0.07);
            QColor outline = primary;
            outline.setAlphaF(0.12);
            painter.setBrush(fill);
            // The outline lies inside the cap's edge.
            painter.setPen(QPen(outline, 1));
            painter.drawRoundedRect(cap.adjusted(0.5, 0.5, -0.5, -0.5), capRadius, capRadius);
            painter.setPen(primary);
            painter.drawText(cap, Qt::AlignCenter, key);
            x += size.width() + capSpacing;
        }

        top += rowHeight();
        if (index + 1 < m_rows.size()) {
            QColor divider = primary;
            divider.setAlphaF(0.12);
            painter.setPen(QPen(divider, 1));
            painter.drawLine(QPointF(horizontalInset, top), QPointF(right, top));
        }
    }
}

ShortcutsWindowController::~ShortcutsWindowController()
{
    delete m_window;
}

void ShortcutsWindowController::show(const PlatformWordings& wordings, const MainMenu* mainMenu,
                                     const GlobalHotKeys* keys, ShortcutSetupFlow* shortcutSetup)
{
    QPointer<QWidget>& existing = m_window;
    if (!existing) {
        existing = new QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        existing->setWindowTitle(QStringLiteral("Keyboard Shortcuts"));
        auto* layout = new QVBoxLayout(existing);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(new ShortcutsView(ShortcutsView::rows(wordings, keys)));
        if (shortcutSetup) {
            auto* row = new QWidget;
            layout->addWidget(row);
            showSetupItems(*row, *shortcutSetup);
        }
        layout->setSizeConstraint(QLayout::SetFixedSize);
        if (mainMenu)
            mainMenu->serve(existing);
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            existing->adjustSize();
            existing->move(screen->availableGeometry().center() - existing->rect().center());
        }
    }
    if (shortcutSetup)
        shortcutSetup->refresh();
    existing->show();
    existing->raise();
    existing->activateWindow();
}
