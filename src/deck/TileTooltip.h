#pragma once

#include <QObject>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QTimer>
#include <optional>
#include <variant>

class DeckSettings;

// The one tooltip of the deck: pending while the pointer rests on a tile, showing after `delay`.
//
// Main thread only. `tipChanged` fires when a tip appears or goes away.
class TileHoverState final : public QObject {
    Q_OBJECT
public:
    static constexpr int delayMs = 700;

    struct TileAnchor {
        int row = 0;
        int column = 0;
        bool operator==(const TileAnchor&) const = default;
    };
    // A point in the deck's content, top-left origin.
    struct PointAnchor {
        double x = 0;
        double y = 0;
        bool operator==(const PointAnchor&) const = default;
    };
    using Anchor = std::variant<TileAnchor, PointAnchor>;

    struct Tip {
        QString text;
        Anchor anchor;
        bool operator==(const Tip&) const = default;
    };

    explicit TileHoverState(QObject* parent = nullptr);

    [[nodiscard]] const std::optional<Tip>& tip() const { return m_tip; }
    [[nodiscard]] bool isPending() const { return m_pendingTimer.isActive(); }

    void schedule(const QString& text, const Anchor& anchor);
    void clear();
    // The pending timer's handler: shows the pending tip.
    void showPending();

Q_SIGNALS:
    void tipChanged();

private:
    QTimer m_pendingTimer;
    std::optional<Tip> m_pending;
    std::optional<Tip> m_tip;
};

// Size and place of the tooltip bubble, from the text's one-line measure in the 11.5-point system font.
namespace TileTooltipLayout {

inline constexpr double fontSize = 11.5;
inline constexpr double maxTextWidth = 200;

[[nodiscard]] QSizeF size(QSizeF measuredText);
// The bubble's top-left corner in the deck's content (top-left origin), kept 4 points inside the deck's
// sides.
[[nodiscard]] QPointF placement(const TileHoverState::Anchor& anchor, QSizeF bubble,
                                const DeckSettings& settings);

} // namespace TileTooltipLayout
