#pragma once

#include <QObject>

// Whether the deck window shows the full deck or the folded chip. Only the panel controller changes it; the
// root view follows it.
//
// Main thread only. `expandedChanged` fires when the value changes.
class PanelChromeState final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    [[nodiscard]] bool isExpanded() const { return m_isExpanded; }
    void setExpanded(bool expanded);

Q_SIGNALS:
    void expandedChanged(bool expanded);

private:
    bool m_isExpanded = true;
};
