#include "deck/PanelChrome.h"

void PanelChromeState::setExpanded(bool expanded)
{
    if (expanded == m_isExpanded)
        return;
    m_isExpanded = expanded;
    Q_EMIT expandedChanged(expanded);
}

void PanelChromeState::setTint(std::optional<quint32> tint)
{
    if (tint == m_tint)
        return;
    m_tint = tint;
    Q_EMIT tintChanged();
}
