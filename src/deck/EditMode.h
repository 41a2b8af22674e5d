#pragma once

#include <QObject>
#include <QPointF>
#include <QTimer>
#include <QUuid>
#include <optional>

class DeckGeometry;
class TileStore;

// Whether the deck is being edited, and the tile being dragged in edit mode. While either holds, the deck
// never folds into its chip. A drop swaps the dragged tile with the tile under the pointer on the page shown
// at that moment; holding the pointer at the deck's left or right edge flips pages meanwhile.
//
// Main thread only. `editingChanged` fires when edit mode turns on or off, `dragChanged` when a drag starts,
// moves or ends. The edge timer's handler is public so that tests can run it; it does what the timer would.
class EditModeState final : public QObject {
    Q_OBJECT
public:
    // How wide the zones at the deck's left and right edges are that flip pages during a drag.
    static constexpr double edgeZoneWidth = 16;
    static constexpr int edgeFlipIntervalMs = 350;

    explicit EditModeState(TileStore& store, QObject* parent = nullptr);

    [[nodiscard]] bool isEditing() const { return m_isEditing; }
    // Leaving edit mode also ends a drag in progress, without a change.
    void setEditing(bool editing);

    [[nodiscard]] std::optional<int> dragSourcePage() const { return m_dragSourcePage; }
    [[nodiscard]] std::optional<int> dragSourceIndex() const { return m_dragSourceIndex; }
    [[nodiscard]] std::optional<int> dropTargetIndex() const { return m_dropTargetIndex; }
    [[nodiscard]] bool isDragging() const { return m_dragSourceIndex.has_value(); }
    // Where the pointer is during a drag, top-left origin in the deck's content; it keeps its last value
    // after the drag.
    [[nodiscard]] QPointF dragLocation() const { return m_dragLocation; }
    // -1 while the pointer rests in the left edge zone, +1 in the right one, else 0.
    [[nodiscard]] int edgeDirection() const { return m_edgeDirection; }
    [[nodiscard]] bool isEdgeFlipRunning() const { return m_edgeTimer.isActive(); }

    void beginDrag(int page, int index);
    // The pointer moved to `location` over a deck laid out as `geometry`.
    void updateDrag(QPointF location, const DeckGeometry& geometry);
    // Swaps the dragged tile with the tile under the pointer, if any, then ends the drag.
    void endDrag();
    void cancelDrag();
    // The edge timer's tick: one page further towards the edge; the timer stops at the first or last page.
    void flipAtEdge();

Q_SIGNALS:
    void editingChanged(bool editing);
    void dragChanged();

private:
    void updateEdgeFlip(double x, double width);
    [[nodiscard]] bool canFlip(int direction) const;

    TileStore& m_store;
    bool m_isEditing = false;
    std::optional<int> m_dragSourcePage;
    std::optional<int> m_dragSourceIndex;
    std::optional<int> m_dropTargetIndex;
    // The dragged tile's id: a drop swaps it only while it is still where the drag found it.
    QUuid m_dragTileId;
    QPointF m_dragLocation;
    int m_edgeDirection = 0;
    QTimer m_edgeTimer;
};
