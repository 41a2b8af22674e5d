#pragma once

#include "model/Models.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QRectF>
#include <QString>

class IconFinish;
class IconResolver;
class PhosphorFont;
class QPainter;

// Draws the face of a tile: a tinted symbol on glass, a custom image (framed when it is a full plate), a font
// glyph on a coloured plate, the automatic image of the action, or the action's fallback symbol. Scaled
// images and their shadows are kept until `clearCache`, so repainting the deck decodes and blurs nothing: an
// image is prepared once for a tile at rest and once for a hovered tile, and drawn scaled while the hover
// boost moves between the two.
//
// Main thread only.
class TileIconPainter final {
public:
    struct Services {
        IconResolver& icons;
        IconFinish& finish;
        PhosphorFont& font;
    };

    static constexpr double iconSpan = 76;
    static constexpr double imageSpan = 88;
    static constexpr double fallbackSymbolSize = 30;
    static constexpr double cornerRatio = 0.223;
    // How much larger a hovered tile's icon is, in points.
    static constexpr double hoverBoost = 8;

    // What a tile shows beyond its stored look.
    struct Live {
        // The state light's opacity; none for a tile without a light. Plates, automatic images and the
        // now-playing face never show one.
        std::optional<double> lightOpacity;
        // What a now-playing tile shows: the current artwork (none: the play symbol) and whether it plays.
        const QImage* nowPlayingArtwork = nullptr;
        bool isPlaying = false;
    };

    explicit TileIconPainter(Services services);

    // Draws the icon centred on `face` (the tile's square). `unit` is the tile side over the reference side;
    // `emptyOpacity` applies to the fallback symbol of an empty tile.
    void paint(QPainter& painter, const Tile& tile, const QRectF& face, double unit, double hoverBoost,
               double emptyOpacity, const Live& live);
    void paint(QPainter& painter, const Tile& tile, const QRectF& face, double unit, double hoverBoost,
               double emptyOpacity);
    // Whether the tile's face may carry a state light; plates, automatic images and the now-playing face
    // do not.
    [[nodiscard]] bool showsLight(const Tile& tile);
    // Forgets the prepared images, after icon files changed.
    void clearCache() { m_prepared.clear(); }
    [[nodiscard]] qsizetype preparedImageCount() const { return m_prepared.size(); }

    // `colour` moved `amount` (0 to 1) of the way towards `target`.
    [[nodiscard]] static QColor blended(const QColor& colour, const QColor& target, double amount);
    // A font of the icon font family, `pixels` high.
    [[nodiscard]] static QFont iconFont(double pixels);

private:
    struct Prepared {
        QSizeF size;
        QImage image;
        QImage shadow;
        QPointF shadowOffset;
        double shadowMargin = 0;
    };
    struct Shadow {
        QColor colour;
        double radius = 0;
        double offsetY = 0;
    };

    void paintFace(QPainter& painter, const Tile& tile, const QRectF& face, double unit, double hoverBoost,
                   double emptyOpacity, const Live& live);
    void paintGlass(QPainter& painter, const TileIcon::Symbol& symbol, const QRectF& square);
    void paintNowPlaying(QPainter& painter, const QRectF& face, const QRectF& square, double unit,
                         double hoverBoost, const Live& live);
    static void paintPlateFrame(QPainter& painter, const QRectF& square);
    static void paintLight(QPainter& painter, const QRectF& square, double unit, double opacity);
    void paintBuilder(QPainter& painter, const TileIcon::Builder& builder, const QRectF& square);
    void paintFallback(QPainter& painter, const std::optional<TileAction>& action, const QRectF& square,
                       double unit, double hoverBoost, double opacity);
    void paintPrepared(QPainter& painter, const Prepared& prepared, const QRectF& target);
    // The image scaled to `size` at the painter's pixel density, optionally clipped to a rounded square and
    // with a shadow; made once per key and size.
    const Prepared& prepared(const QString& key, const QImage& image, QSizeF size, double devicePixelRatio,
                             bool rounded, const std::optional<Shadow>& shadow);
    // Draws the image prepared for its size class (at rest or hovered) into `target`.
    void paintImage(QPainter& painter, const QString& key, const QImage& image, const QRectF& target,
                    double restSpan, double boost, bool rounded, const std::optional<Shadow>& shadow);

    Services m_services;
    QHash<QString, Prepared> m_prepared;
};
