#pragma once

#include <QObject>
#include <QPointF>
#include <QSizeF>
#include <optional>

// Whether the deck is being edited, and the tile being dragged in edit mode. While either holds, the deck
// never folds into its chip.
//
// Main thread only. `editingChanged` fires when edit mode turns on or off, `dragChanged` when a drag starts,
// moves to another target or ends.
class EditModeState final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    [[nodiscard]] bool isEditing() const { return m_isEditing; }
    // Leaving edit mode also ends a drag in progress.
    void setEditing(bool editing);

    [[nodiscard]] std::optional<int> dragSourcePage() const { return m_dragSourcePage; }
    [[nodiscard]] std::optional<int> dragSourceIndex() const { return m_dragSourceIndex; }
    [[nodiscard]] std::optional<int> dropTargetIndex() const { return m_dropTargetIndex; }
    [[nodiscard]] bool isDragging() const { return m_dragSourceIndex.has_value(); }
    // Where the pointer is during a drag, top-left origin in the deck's content.
    [[nodiscard]] QPointF dragLocation() const { return m_dragLocation; }

    void beginDrag(int page, int index);
    void updateDrag(QPointF location, QSizeF deckSize);
    void endDrag();
    void cancelDrag();

Q_SIGNALS:
    void editingChanged(bool editing);
    void dragChanged();

private:
    bool m_isEditing = false;
    std::optional<int> m_dragSourcePage;
    std::optional<int> m_dragSourceIndex;
    std::optional<int> m_dropTargetIndex;
    QPointF m_dragLocation;
};
