#pragma once

#include "band/BandFace.h"
#include "band/BandLayout.h"
#include "model/BandModule.h"
#include "ui/paint/FractionalFont.h"

#include <QColor>
#include <QRectF>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class AlertPresenter;
class BandEngines;
class DeckSettings;
class PhosphorFont;
class QMenu;
class QPainter;
class QWidget;

// The band of live modules under the tiles: where each module sits, how it looks, which module lies under a
// point and the menus a right click opens. It draws what `BandEngines` says each module shows.
//
// Main thread only.
class AccessoryBandView final {
public:
    struct Services {
        const DeckSettings& settings;
        BandEngines& engines;
        PhosphorFont& font;
        // Asks before the Trash is emptied.
        AlertPresenter& alerts;
    };

    static constexpr auto emptyText = u"Right-click to add controls";
    static constexpr double cornerRadius = 10;

    explicit AccessoryBandView(Services services);

    // The modules that fit a band occupying `band`, in order, with their frames.
    [[nodiscard]] std::vector<BandLayout::Placement> placements(const QRectF& band) const;
    [[nodiscard]] std::optional<BandLayout::Placement> placementAt(const QRectF& band, QPointF point) const;
    // Draws the band and remembers each module's face, for `facesChanged`; the faces `facesChanged` just
    // worked out are drawn as they are rather than asked for again.
    void paint(QPainter& painter, const QRectF& band, std::optional<BandModule> hovered);
    // Whether a module on screen would now look different from when it was last drawn.
    [[nodiscard]] bool facesChanged(const QRectF& band);
    // The right click's menu over `module`, or over the band outside any module: the module's own items,
    // then "Customize Band…". `customize` is what that item calls.
    [[nodiscard]] std::unique_ptr<QMenu> menu(std::optional<BandModule> module, QWidget* parent,
                                              const std::function<void()>& customize);

private:
    struct Symbol {
        QString name;
        double size = 0;
        QColor colour;
    };
    struct Text {
        QString text;
        QColor colour;
    };

    void paintModule(QPainter& painter, const BandLayout::Placement& placement, const BandFace& face,
                     bool hovered) const;
    void paintReadout(QPainter& painter, const QRectF& frame, const BandReadout& readout) const;
    void paintToggle(QPainter& painter, const QRectF& frame, const BandFace& face) const;
    void paintTwoLines(QPainter& painter, const QRectF& frame, const BandFace& face) const;
    void paintNetwork(QPainter& painter, const QRectF& frame, const BandFace& face) const;
    void paintWifi(QPainter& painter, const QRectF& frame, const BandFace& face) const;
    void paintDayProgress(QPainter& painter, const QRectF& frame, const BandFace& face) const;
    void paintPomodoro(QPainter& painter, const QRectF& frame, const BandFace& face) const;
    void paintMeeting(QPainter& painter, const QRectF& frame, const BandFace& face) const;
    // A symbol and a text beside it, `gap` apart and from the module's edges, centred across the module.
    void paintSymbolRow(QPainter& painter, const QRectF& frame, const Symbol& symbol, double gap,
                        const FractionalFont& font, const Text& text) const;

    Services m_services;
    FractionalFont m_caption;
    FractionalFont m_value;
    FractionalFont m_date;
    FractionalFont m_time;
    FractionalFont m_clockTime;
    FractionalFont m_rate;
    FractionalFont m_empty;
    struct Shown {
        BandModule module = BandModule::micMute;
        BandFace face;
        bool operator==(const Shown&) const = default;
    };
    [[nodiscard]] std::vector<Shown> shownFaces(const std::vector<BandLayout::Placement>& placements) const;

    std::vector<Shown> m_drawn;
    // What `facesChanged` found to be new, for the paint it asks for.
    std::vector<Shown> m_next;
};
