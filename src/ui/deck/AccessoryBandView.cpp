#include "ui/deck/AccessoryBandView.h"

#include "band/BandEngines.h"
#include "band/BandSymbols.h"
#include "model/Settings.h"
#include "ui/paint/DeckPaint.h"

#include <QInputDialog>
#include <QMenu>
#include <QPainter>
#include <algorithm>
#include <utility>

namespace {

constexpr double captionGap = 1;
constexpr double symbolGap = 3;
constexpr double modulePadding = 4;
// The system green of a meeting under way.
constexpr quint32 systemGreen = 0xFF34C759;

QColor argb(quint32 colour)
{
    return QColor::fromRgba(colour);
}

// Draws `text` in `rect`, shrunk down to `minScale` when it is too wide and cut short beyond that.
void drawFitted(QPainter& painter, const FractionalFont& font, const QRectF& rect, int flags,
                const QString& text, double minScale)
{
    const double advance = font.horizontalAdvance(text);
    const double scale =
        advance > rect.width() && advance > 0 ? std::max(minScale, rect.width() / advance) : 1.0;
    if (scale >= 1) {
        font.draw(painter, rect, flags, font.elidedText(text, Qt::ElideRight, rect.width()));
        return;
    }
    painter.save();
    painter.translate(rect.center());
    painter.scale(scale, scale);
    const QRectF scaled(-rect.width() / (2 * scale), -rect.height() / (2 * scale), rect.width() / scale,
                        rect.height() / scale);
    font.draw(painter, scaled, flags, font.elidedText(text, Qt::ElideRight, scaled.width()));
    painter.restore();
}

// The width `text` takes when drawn by `drawFitted` into `width`.
double fittedWidth(const FractionalFont& font, const QString& text, double width, double minScale)
{
    const double advance = font.horizontalAdvance(text);
    return advance <= width ? advance : std::min(width, advance * minScale);
}

// Adds `items` to `menu`, their actions living as long as the menu.
void addItems(QMenu& menu, const QList<BandMenuItem>& items)
{
    for (const BandMenuItem& item : items) {
        if (item.text.isEmpty()) {
            menu.addSeparator();
        } else if (!item.submenu.isEmpty()) {
            addItems(*menu.addMenu(item.text), item.submenu);
        } else {
            QAction* action = menu.addAction(item.text, &menu, item.run);
            action->setCheckable(item.checked.has_value());
            action->setChecked(item.checked.value_or(false));
        }
    }
}

} // namespace

AccessoryBandView::AccessoryBandView(Services services)
    : m_services(services)
    , m_caption(9, QFont::DemiBold)
    , m_value(13, QFont::DemiBold)
    , m_date(10, QFont::Normal)
    , m_time(15, QFont::DemiBold)
    , m_clockTime(14, QFont::DemiBold)
    , m_rate(11, QFont::DemiBold)
    , m_empty(10, QFont::Normal)
{
}

std::vector<BandLayout::Placement> AccessoryBandView::placements(const QRectF& band) const
{
    return BandLayout::placements(m_services.settings.bandModules(), band,
                                  BandLayout::unitCount(m_services.settings));
}

std::optional<BandLayout::Placement> AccessoryBandView::placementAt(const QRectF& band, QPointF point) const
{
    if (!band.contains(point))
        return std::nullopt;
    for (const BandLayout::Placement& placement : placements(band))
        if (placement.frame.contains(point))
            return placement;
    return std::nullopt;
}

std::vector<AccessoryBandView::Shown>
AccessoryBandView::shownFaces(const std::vector<BandLayout::Placement>& placements) const
{
    std::vector<Shown> shown;
    shown.reserve(placements.size());
    for (const BandLayout::Placement& placement : placements)
        shown.push_back({placement.module, m_services.engines.face(placement.module)});
    return shown;
}

bool AccessoryBandView::facesChanged(const QRectF& band)
{
    std::vector<Shown> now = shownFaces(placements(band));
    if (now == m_drawn)
        return false;
    m_next = std::move(now);
    return true;
}

void AccessoryBandView::paint(QPainter& painter, const QRectF& band, std::optional<BandModule> hovered)
{
    std::vector<Shown> next = std::exchange(m_next, {});
    m_drawn.clear();
    if (band.height() <= 0)
        return;
    if (m_services.settings.bandModules().isEmpty()) {
        painter.setPen(DeckPaint::white(0.4));
        m_empty.draw(painter, band, Qt::AlignCenter, QString::fromUtf16(emptyText));
        return;
    }
    const std::vector<BandLayout::Placement> shown = placements(band);
    const bool nextFits =
        std::equal(shown.begin(), shown.end(), next.begin(), next.end(),
                   [](const BandLayout::Placement& p, const Shown& s) { return p.module == s.module; });
    m_drawn = nextFits ? std::move(next) : shownFaces(shown);
    for (std::size_t i = 0; i < shown.size(); ++i)
        paintModule(painter, shown[i], m_drawn[i].face, hovered == shown[i].module);
}

void AccessoryBandView::paintModule(QPainter& painter, const BandLayout::Placement& placement,
                                    const BandFace& face, bool hovered) const
{
    const QRectF frame = placement.frame;
    const double opacity = m_services.settings.backgroundOpacity();
    const QPainterPath shape = DeckPaint::roundedRect(frame, cornerRadius);
    painter.fillPath(shape, DeckPaint::white(hovered ? 0.12 : opacity * 0.06));
    painter.strokePath(DeckPaint::roundedRect(frame.adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius - 0.5),
                       QPen(DeckPaint::white(opacity * 0.08), 1));
    if (face.fill)
        painter.fillPath(DeckPaint::roundedRect(frame.adjusted(1, 1, -1, -1), cornerRadius - 1),
                         argb(*face.fill));

    switch (face.look) {
    case BandFace::Look::readout:
        return paintReadout(painter, frame, face.readout);
    case BandFace::Look::toggle:
        return paintToggle(painter, frame, face);
    case BandFace::Look::dateTime:
    case BandFace::Look::worldClock:
        return paintTwoLines(painter, frame, face);
    case BandFace::Look::network:
        return paintNetwork(painter, frame, face);
    case BandFace::Look::wifi:
        return paintWifi(painter, frame, face);
    case BandFace::Look::dayProgress:
        return paintDayProgress(painter, frame, face);
    case BandFace::Look::pomodoro:
        return paintPomodoro(painter, frame, face);
    case BandFace::Look::meeting:
        return paintMeeting(painter, frame, face);
    }
}

void AccessoryBandView::paintReadout(QPainter& painter, const QRectF& frame, const BandReadout& readout) const
{
    const QRectF inner = frame.adjusted(modulePadding, 0, -modulePadding, 0);
    const bool captioned = !readout.caption.isEmpty();
    const double rowHeight = m_value.height();
    const double height = rowHeight + (captioned ? m_caption.height() + captionGap : 0);
    double top = frame.center().y() - height / 2;
    if (captioned) {
        painter.setPen(DeckPaint::white(0.5));
        drawFitted(painter, m_caption, {inner.left(), top, inner.width(), m_caption.height()},
                   Qt::AlignCenter, readout.caption, 0.65);
        top += m_caption.height() + captionGap;
    }
    const double symbolWidth = readout.systemImage ? 11 + symbolGap : 0;
    const double textWidth = fittedWidth(m_value, readout.value, inner.width() - symbolWidth, 0.65);
    double x = inner.center().x() - (symbolWidth + textWidth) / 2;
    const QColor tint = argb(readout.tint);
    if (readout.systemImage) {
        DeckPaint::drawSymbol(painter, m_services.font, {x, top, 11, rowHeight}, *readout.systemImage, 11,
                              tint);
        x += symbolWidth;
    }
    painter.setPen(tint);
    drawFitted(painter, m_value, {x, top, textWidth, rowHeight}, Qt::AlignCenter, readout.value, 0.65);
}

void AccessoryBandView::paintToggle(QPainter& painter, const QRectF& frame, const BandFace& face) const
{
    DeckPaint::drawSymbol(painter, m_services.font, frame, face.symbol, 15, argb(face.readout.tint));
    if (!face.badge)
        return;
    constexpr double badgeSide = 13;
    const QRectF badge(frame.right() - badgeSide - 3, frame.top() + 3, badgeSide, badgeSide);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(DeckPaint::white(0.35));
    painter.drawEllipse(badge);
    QFont font = painter.font();
    font.setPointSizeF(9);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 0, 178));
    painter.drawText(badge, Qt::AlignCenter, QStringLiteral("!"));
    painter.restore();
}

void AccessoryBandView::paintTwoLines(QPainter& painter, const QRectF& frame, const BandFace& face) const
{
    const bool date = face.look == BandFace::Look::dateTime;
    const FractionalFont& first = date ? m_date : m_caption;
    const FractionalFont& second = date ? m_time : m_clockTime;
    const QRectF inner = frame.adjusted(modulePadding, 0, -modulePadding, 0);
    double top = frame.center().y() - (first.height() + captionGap + second.height()) / 2;
    painter.setPen(DeckPaint::white(date ? 0.6 : 0.5));
    drawFitted(painter, first, {inner.left(), top, inner.width(), first.height()}, Qt::AlignCenter,
               face.readout.caption, date ? 0.65 : 0.6);
    top += first.height() + captionGap;
    painter.setPen(DeckPaint::white(0.92));
    drawFitted(painter, second, {inner.left(), top, inner.width(), second.height()}, Qt::AlignCenter,
               face.readout.value, 0.7);
}

void AccessoryBandView::paintNetwork(QPainter& painter, const QRectF& frame, const BandFace& face) const
{
    constexpr double rowGap = 2;
    constexpr double arrow = 9;
    const QRectF inner = frame.adjusted(modulePadding, 0, -modulePadding, 0);
    const double rowHeight = m_rate.height();
    double top = frame.center().y() - (2 * rowHeight + rowGap) / 2;
    const QColor colour = DeckPaint::white(0.85);
    const std::pair<QString, QString> rows[] = {{BandSymbols::network.of(false), face.readout.caption},
                                                {BandSymbols::network.of(true), face.readout.value}};
    for (const auto& [symbol, rate] : rows) {
        const double textWidth = fittedWidth(m_rate, rate, inner.width() - arrow - symbolGap, 0.7);
        const double x = inner.center().x() - (arrow + symbolGap + textWidth) / 2;
        DeckPaint::drawSymbol(painter, m_services.font, {x, top, arrow, rowHeight}, symbol, arrow, colour);
        painter.setPen(colour);
        drawFitted(painter, m_rate, {x + arrow + symbolGap, top, textWidth, rowHeight}, Qt::AlignCenter, rate,
                   0.7);
        top += rowHeight + rowGap;
    }
}

void AccessoryBandView::paintWifi(QPainter& painter, const QRectF& frame, const BandFace& face) const
{
    paintSymbolRow(painter, frame, {face.symbol, 13, DeckPaint::white(face.on ? 0.9 : 0.5)}, 5, m_rate,
                   {face.readout.value, DeckPaint::white(0.85)});
}

void AccessoryBandView::paintPomodoro(QPainter& painter, const QRectF& frame, const BandFace& face) const
{
    const QColor colour = DeckPaint::white(0.92);
    paintSymbolRow(painter, frame, {face.symbol, 11, colour}, 5, m_clockTime, {face.readout.value, colour});
}

void AccessoryBandView::paintMeeting(QPainter& painter, const QRectF& frame, const BandFace& face) const
{
    const QColor green = argb(systemGreen);
    const double gap = 5;
    const QRectF inner = frame.adjusted(gap, 0, -gap, 0);
    DeckPaint::drawSymbol(painter, m_services.font, {inner.left(), frame.top(), 13, frame.height()},
                          face.symbol, 13, face.on ? green : DeckPaint::white(0.8));
    const QRectF text(inner.left() + 13 + gap, frame.top(), inner.width() - 13 - gap, frame.height());
    const bool meeting = !face.readout.value.isEmpty();
    const double lineHeight = m_date.height();
    const double top = meeting ? text.center().y() - lineHeight : text.top();
    painter.setPen(DeckPaint::white(meeting ? 0.85 : 0.55));
    drawFitted(painter, m_date, {text.left(), top, text.width(), meeting ? lineHeight : text.height()},
               Qt::AlignLeft | Qt::AlignVCenter, face.readout.caption, 0.8);
    if (!meeting)
        return;
    painter.setPen(face.on ? green : DeckPaint::white(0.6));
    drawFitted(painter, face.on ? m_rate : m_date, {text.left(), top + lineHeight, text.width(), lineHeight},
               Qt::AlignLeft | Qt::AlignVCenter, face.readout.value, 0.8);
}

void AccessoryBandView::paintSymbolRow(QPainter& painter, const QRectF& frame, const Symbol& symbol,
                                       double gap, const FractionalFont& font, const Text& text) const
{
    const QRectF inner = frame.adjusted(gap, 0, -gap, 0);
    const double textWidth = fittedWidth(font, text.text, inner.width() - symbol.size - gap, 0.7);
    const double x = inner.center().x() - (symbol.size + gap + textWidth) / 2;
    DeckPaint::drawSymbol(painter, m_services.font, {x, frame.top(), symbol.size, frame.height()},
                          symbol.name, symbol.size, symbol.colour);
    painter.setPen(text.colour);
    drawFitted(painter, font, {x + symbol.size + gap, frame.top(), textWidth, frame.height()},
               Qt::AlignCenter, text.text, 0.7);
}

void AccessoryBandView::paintDayProgress(QPainter& painter, const QRectF& frame, const BandFace& face) const
{
    constexpr double barGap = 3;
    constexpr double barHeight = 5;
    const QRectF inner = frame.adjusted(2 * modulePadding, 0, -2 * modulePadding, 0);
    double top = frame.center().y() - (m_caption.height() + barGap + barHeight) / 2;
    painter.setPen(DeckPaint::white(0.5));
    drawFitted(painter, m_caption, {inner.left(), top, inner.width(), m_caption.height()}, Qt::AlignCenter,
               face.readout.caption, 0.65);
    top += m_caption.height() + barGap;
    const QRectF track(inner.left(), top, inner.width(), barHeight);
    painter.fillPath(DeckPaint::roundedRect(track, barHeight / 2), DeckPaint::white(0.15));
    const double filled = track.width() * std::clamp(face.fraction, 0.0, 1.0);
    if (filled > 0)
        painter.fillPath(DeckPaint::roundedRect({track.left(), top, filled, barHeight}, barHeight / 2),
                         DeckPaint::white(0.75));
}

std::unique_ptr<QMenu> AccessoryBandView::menu(std::optional<BandModule> module, QWidget* parent,
                                               const std::function<void()>& customize)
{
    auto menu = std::make_unique<QMenu>(parent);
    if (module) {
        const BandMenuHost host{m_services.alerts,
                                [parent](const QString& title, const QString& label) {
                                    return QInputDialog::getText(parent, title, label);
                                },
                                customize};
        addItems(*menu, m_services.engines.menu(*module, host));
    }
    menu->addAction(QStringLiteral("Customize Band…"), customize);
    return menu;
}
