#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <optional>

class QPainter;

// The deck's glass: its rounded shape filled, washed with the wallpaper's tint and outlined. Filling a shape
// the size of the deck costs more than the rest of a frame in which the tiles are drawn from pictures, so
// while the deck moves the glass is painted once into a picture and copied on each frame after.
//
// Main thread only.
class DeckChrome final {
public:
    struct Look {
        // The widget's rect, which an opaque deck fills beyond its rounded shape.
        QRectF area;
        QSizeF size;
        double devicePixelRatio = 1;
        bool opaque = false;
        QColor fill;
        // The tint laid over the fill; none while the glass is untinted.
        std::optional<QColor> wash;
        QColor border;

        bool operator==(const Look&) const = default;
    };

    // Paints the glass; `keep` keeps its picture for the frames that follow, which a deck at rest does not
    // need.
    void paint(QPainter& painter, const Look& look, bool keep);

private:
    static void paintGlass(QPainter& painter, const Look& look);

    std::optional<Look> m_look;
    QImage m_picture;
};
