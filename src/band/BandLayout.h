#pragma once

#include "model/BandModule.h"
#include "model/DeckGeometry.h"

#include <QList>
#include <QRectF>
#include <vector>

class DeckSettings;

// How the band's modules share its width. The band is cut into equal units 6 points apart; each module takes
// a whole number of them. Pure functions, main thread or not.
namespace BandLayout {

inline constexpr double unitSpacing = 6;
inline constexpr double height = DeckGeometry::bandHeight;
inline constexpr int minimumUnitCount = 4;

// The units across a band `width` points wide in a deck with that inner margin; never fewer than 4.
[[nodiscard]] int unitCount(double width, double tilePadding);
// The units of a band as wide as the grid under the current settings: what the band and the customise
// window's capacity both use.
[[nodiscard]] int unitCount(const DeckSettings& settings);

// The sum of the modules' minimum widths.
[[nodiscard]] int usedUnits(const QList<BandModule>& modules);
// The modules that fit, in order: each one whose minimum width still fits beside those kept before it; one
// that does not fit is skipped and the later ones are still tried.
[[nodiscard]] QList<BandModule> visibleModules(const QList<BandModule>& modules, int capacity);
// The width in units of each module, in their order: the minimum, plus spare units handed out one at a time
// in band order to the growable modules below their maximum. Units nobody can take stay empty.
[[nodiscard]] std::vector<int> layout(const QList<BandModule>& modules, int capacity);

struct Placement {
    BandModule module = BandModule::micMute;
    int units = 1;
    QRectF frame;
    bool operator==(const Placement&) const = default;
};

// Where each visible module of `modules` sits in a band occupying `band` (only its width and vertical centre
// count) cut into `capacity` units: full height, vertically centred, the row of modules centred across.
[[nodiscard]] std::vector<Placement> placements(const QList<BandModule>& modules, QRectF band, int capacity);

} // namespace BandLayout
