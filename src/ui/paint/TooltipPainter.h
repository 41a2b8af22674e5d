#pragma once

#include "deck/TileTooltip.h"
#include "ui/paint/FractionalFont.h"

#include <QSizeF>

class DeckSettings;
class QPainter;

// Draws the tooltip bubble over its anchor: the tip's text in the 11.5-point font, wrapped to at most two
// lines, on a dark rounded plate with a hairline rim and a shadow.
class TooltipPainter final {
public:
    TooltipPainter();

    // The bubble's size for a text, measured in the tooltip's own font.
    [[nodiscard]] QSizeF bubbleSize(const QString& text) const;
    void paint(QPainter& painter, const TileHoverState::Tip& tip, double opacity,
               const DeckSettings& settings) const;

private:
    FractionalFont m_font;
};
