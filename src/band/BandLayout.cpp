#include "band/BandLayout.h"

#include "band/BandCatalogue.h"
#include "model/DeckGeometry.h"

#include <algorithm>
#include <cmath>

namespace BandLayout {

namespace {

// Room for one unit and the gap after it; a band's edges add the deck's margins and one more gap.
constexpr double unitStride = 60;
// Far more units than any screen is wide, so that a width stored by hand cannot overflow the count.
constexpr double maximumUnitCount = 1000;

} // namespace

int unitCount(double width, double tilePadding)
{
    const double units = std::trunc((width + 2 * tilePadding + unitSpacing) / unitStride);
    // Written so that a width that is not a number gives the minimum as well.
    if (!(units > minimumUnitCount))
        return minimumUnitCount;
    return static_cast<int>(std::min(units, maximumUnitCount));
}

int unitCount(const DeckSettings& settings)
{
    const DeckGeometry geometry(settings, 1, false, false);
    return unitCount(geometry.bandRect().width(), geometry.grid().tilePadding);
}

int usedUnits(const QList<BandModule>& modules)
{
    int used = 0;
    for (const BandModule module : modules)
        used += BandCatalogue::minUnits(module);
    return used;
}

QList<BandModule> visibleModules(const QList<BandModule>& modules, int capacity)
{
    QList<BandModule> visible;
    int used = 0;
    for (const BandModule module : modules) {
        const int width = BandCatalogue::minUnits(module);
        if (used + width > capacity)
            continue;
        used += width;
        visible << module;
    }
    return visible;
}

std::vector<int> layout(const QList<BandModule>& modules, int capacity)
{
    std::vector<int> widths;
    widths.reserve(static_cast<size_t>(modules.size()));
    for (const BandModule module : modules)
        widths.push_back(BandCatalogue::minUnits(module));
    int spare = capacity - usedUnits(modules);
    bool grew = true;
    while (spare > 0 && grew) {
        grew = false;
        for (size_t i = 0; i < widths.size() && spare > 0; ++i) {
            const BandModule module = modules[static_cast<qsizetype>(i)];
            if (BandCatalogue::grows(module) && widths[i] < BandCatalogue::maxUnits(module)) {
                ++widths[i];
                --spare;
                grew = true;
            }
        }
    }
    return widths;
}

std::vector<Placement> placements(const QList<BandModule>& modules, QRectF band, int capacity)
{
    if (capacity < 1)
        return {};
    const QList<BandModule> visible = visibleModules(modules, capacity);
    const std::vector<int> widths = layout(visible, capacity);
    const double unitWidth = (band.width() - (capacity - 1) * unitSpacing) / capacity;
    const auto moduleWidth = [unitWidth](int units) { return unitWidth * units + (units - 1) * unitSpacing; };

    double rowWidth = 0;
    for (const int units : widths)
        rowWidth += moduleWidth(units);
    rowWidth += unitSpacing * std::max<double>(0, static_cast<double>(widths.size()) - 1);

    std::vector<Placement> result;
    result.reserve(widths.size());
    double x = band.left() + (band.width() - rowWidth) / 2;
    const double top = band.center().y() - height / 2;
    for (size_t i = 0; i < widths.size(); ++i) {
        const double width = moduleWidth(widths[i]);
        result.push_back({visible[static_cast<qsizetype>(i)], widths[i], QRectF(x, top, width, height)});
        x += width + unitSpacing;
    }
    return result;
}

} // namespace BandLayout
