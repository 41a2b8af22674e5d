#include "panel/PanelChrome.h"

void PanelChromeState::setExpanded(bool expanded)
{
    if (expanded == m_isExpanded)
        return;
    m_isExpanded = expanded;
    Q_EMIT expandedChanged(expanded);
}
