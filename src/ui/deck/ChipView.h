#pragma once

#include "model/DeckOptions.h"

#include <QColor>
#include <QWidget>
#include <optional>

class DeckSettings;

// The folded deck: a small rounded square bearing Marquetto's mark, in one of four looks. It repaints when
// the chip style, the tile size or the tint change.
//
// Main thread only.
class ChipView final : public QWidget {
    Q_OBJECT
public:
    static constexpr double padding = 10;
    static constexpr double chipSideRatio = 76.0 / 92.0;
    static constexpr double cornerRatio = 0.223;

    // The colours of one look.
    struct Look {
        double backdropOpacity = 1;
        std::optional<QColor> wash;
        QColor glyph;
        QColor stroke;
    };

    explicit ChipView(DeckSettings& settings, QWidget* parent = nullptr);

    // The side of the visible square; the widget is this plus the padding on every side.
    [[nodiscard]] double chipSide() const;
    [[nodiscard]] QSize sizeHint() const override;

    // The colour the wallpaper lends the glass, when one is known.
    void setWallpaperTint(const std::optional<QColor>& tint);
    // The accent of a tinted chip: the wallpaper's tint when the glass follows it, else the desktop's accent.
    [[nodiscard]] QColor tintColour() const;
    [[nodiscard]] static Look look(ChipStyleOption style, const QColor& tint);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    DeckSettings& m_settings;
    std::optional<QColor> m_tint;
};
