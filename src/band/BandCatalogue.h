#pragma once

#include "model/BandModule.h"

#include <QString>
#include <array>
#include <memory>

class BandModuleKind;
struct BandModuleContext;

// What the band knows of each kind of module besides its raw value and title (those are `BandModule`'s own
// table): the symbol the customise window shows, how many units it takes on the band, and what makes it. A
// module starts at its minimum width; only growable modules take spare units, up to their maximum.
namespace BandCatalogue {

// How many kinds of module there are.
inline constexpr size_t count = EnumTable<BandModule>::names.count();

// Every case in catalogue order, which is also the order of the customise window's "Available" list.
[[nodiscard]] const std::array<BandModule, count>& allCases();

[[nodiscard]] QString symbol(BandModule module);
[[nodiscard]] int minUnits(BandModule module);
[[nodiscard]] int maxUnits(BandModule module);
[[nodiscard]] bool grows(BandModule module);
// The module's class, which says what it shows and does.
[[nodiscard]] std::unique_ptr<BandModuleKind> make(BandModule module, const BandModuleContext& context);

} // namespace BandCatalogue
