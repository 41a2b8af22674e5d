#include "ui/deck/PageDotsRow.h"

#include "deck/EditMode.h"
#include "model/TileStore.h"
#include "ui/paint/DeckPaint.h"

#include <QPainter>

PageDotsRow::PageDotsRow(Services services)
    : m_services(services)
    , m_doneFont(10, QFont::DemiBold)
{
}

void PageDotsRow::paint(QPainter& painter, const DeckGeometry& geometry,
                        const std::optional<DeckGeometry::RowItem>& hovered) const
{
    const TileStore& store = m_services.store;
    const int current = store.currentPage();
    const int last = static_cast<int>(store.pages().size()) - 1;
    for (const DeckGeometry::RowItem& item : geometry.rowItems()) {
        const bool isHovered = hovered && hovered->sameAs(item);
        switch (item.kind) {
        case DeckGeometry::RowItem::Kind::previousPage:
        case DeckGeometry::RowItem::Kind::nextPage: {
            const bool previous = item.kind == DeckGeometry::RowItem::Kind::previousPage;
            const bool enabled = previous ? current > 0 : current < last;
            const double alpha = !enabled ? 0.15 : isHovered ? 0.95 : 0.55;
            DeckPaint::drawSymbol(painter, m_services.font, item.rect,
                                  previous ? QStringLiteral("chevron.left") : QStringLiteral("chevron.right"),
                                  11, DeckPaint::white(alpha));
            break;
        }
        case DeckGeometry::RowItem::Kind::pageDot: {
            const double radius = DeckGeometry::dotDiameter / 2;
            painter.setPen(Qt::NoPen);
            painter.setBrush(DeckPaint::white(item.page == current ? 0.9 : 0.3));
            painter.drawEllipse(item.rect.center(), radius, radius);
            break;
        }
        case DeckGeometry::RowItem::Kind::addPage:
            DeckPaint::drawSymbol(painter, m_services.font, item.rect, QStringLiteral("plus"), 9,
                                  DeckPaint::white(isHovered ? 0.9 : 0.35));
            break;
        case DeckGeometry::RowItem::Kind::done:
            painter.fillPath(DeckPaint::roundedRect(item.rect, item.rect.height() / 2),
                             DeckPaint::white(0.18));
            painter.setPen(DeckPaint::white(0.9));
            m_doneFont.draw(painter, item.rect, Qt::AlignCenter, QStringLiteral("Done"));
            break;
        case DeckGeometry::RowItem::Kind::closeHint:
            break;
        }
    }
}

void PageDotsRow::activate(const DeckGeometry::RowItem& item)
{
    TileStore& store = m_services.store;
    switch (item.kind) {
    case DeckGeometry::RowItem::Kind::previousPage:
        if (store.currentPage() > 0)
            store.goToPage(store.currentPage() - 1);
        break;
    case DeckGeometry::RowItem::Kind::nextPage:
        if (store.currentPage() + 1 < static_cast<int>(store.pages().size()))
            store.goToPage(store.currentPage() + 1);
        break;
    case DeckGeometry::RowItem::Kind::pageDot:
        store.goToPage(item.page);
        break;
    case DeckGeometry::RowItem::Kind::addPage:
        store.addPage();
        break;
    case DeckGeometry::RowItem::Kind::done:
        m_services.editMode.setEditing(false);
        break;
    case DeckGeometry::RowItem::Kind::closeHint:
        break;
    }
}
