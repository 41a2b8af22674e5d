#include "ui/deck/TileSnapshots.h"

#include "ui/paint/DeckPaint.h"

#include <QPainter>
#include <algorithm>

namespace {

bool isClearRow(const QImage& image, int y)
{
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    return std::all_of(line, line + image.width(), [](QRgb pixel) { return qAlpha(pixel) == 0; });
}

// The smallest rectangle of `image`, premultiplied, outside which every pixel is clear; empty when all are.
QRect paintedPart(const QImage& image)
{
    int top = 0;
    int bottom = image.height();
    while (top < bottom && isClearRow(image, top))
        ++top;
    while (bottom > top && isClearRow(image, bottom - 1))
        --bottom;
    int left = image.width();
    int right = 0;
    for (int y = top; y < bottom; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < left; ++x) {
            if (qAlpha(line[x]) != 0) {
                left = x;
                break;
            }
        }
        for (int x = image.width(); x > right; --x) {
            if (qAlpha(line[x - 1]) != 0) {
                right = x;
                break;
            }
        }
    }
    return top < bottom ? QRect(left, top, right - left, bottom - top) : QRect();
}

} // namespace

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
        const QImage whole = DeckPaint::picture(area, look.devicePixelRatio, painter.renderHints(), paint);
        // Only the painted part is kept: most tiles leave the margin clear, and every pixel kept is blended
        // again at each frame.
        const QRect part = paintedPart(whole);
        found = m_snapshots.insert(
            m_snapshots.end(), Snapshot{look, part.isEmpty() ? QImage() : whole.copy(part),
                                        area.topLeft() + QPointF(part.topLeft()) / look.devicePixelRatio});
    }
    found->drawn = true;
    if (found->image.isNull())
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    painter.drawImage(found->at, found->image);
    painter.restore();
}
