#include "panel/TileSnapshots.h"

#include "panel/DeckPaint.h"

#include <QPainter>
#include <algorithm>

void TileSnapshots::beginFrame()
{
    std::erase_if(m_snapshots, [](const Snapshot& snapshot) { return !snapshot.drawn; });
    for (Snapshot& snapshot : m_snapshots)
        snapshot.drawn = false;
}

void TileSnapshots::draw(QPainter& painter, const Look& look, bool smooth,
                         const std::function<void(QPainter&)>& paint)
{
    const QRectF area = look.face.adjusted(-margin, -margin, margin, margin);
    auto found = std::find_if(m_snapshots.begin(), m_snapshots.end(),
                              [&look](const Snapshot& snapshot) { return snapshot.look == look; });
    if (found == m_snapshots.end()) {
        found = m_snapshots.insert(
            m_snapshots.end(),
            Snapshot{look, DeckPaint::picture(area, look.devicePixelRatio, painter.renderHints(), paint)});
    }
    found->drawn = true;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    painter.drawImage(area.topLeft(), found->image);
    painter.restore();
}
