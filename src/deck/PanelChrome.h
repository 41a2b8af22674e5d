#pragma once

#include <QObject>
#include <optional>

// Whether the deck window shows the full deck or the folded chip, and the colour the wallpaper lends its
// glass. Only the panel controller changes the first and only the wallpaper tint the second; the root view
// follows both.
//
// Main thread only. `expandedChanged` and `tintChanged` fire when their value changes.
class PanelChromeState final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    [[nodiscard]] bool isExpanded() const { return m_isExpanded; }
    void setExpanded(bool expanded);

    // The wallpaper's tint as 0xRRGGBB, or nothing while none is known.
    [[nodiscard]] std::optional<quint32> tint() const { return m_tint; }
    void setTint(std::optional<quint32> tint);

Q_SIGNALS:
    void expandedChanged(bool expanded);
    void tintChanged();

private:
    bool m_isExpanded = true;
    std::optional<quint32> m_tint;
};
