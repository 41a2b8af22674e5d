#include "panel/TileSnapshots.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

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
        const double ratio = look.devicePixelRatio;
        QImage image(static_cast<int>(std::ceil(area.width() * ratio)),
                     static_cast<int>(std::ceil(area.height() * ratio)), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        {
            QPainter onImage(&image);
            onImage.setRenderHints(painter.renderHints());
            onImage.translate(-area.topLeft());
            paint(onImage);
        }
        found = m_snapshots.insert(m_snapshots.end(), Snapshot{look, std::move(image)});
    }
    found->drawn = true;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    painter.drawImage(area.topLeft(), found->image);
    painter.restore();
}
