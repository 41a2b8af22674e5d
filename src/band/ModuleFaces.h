#pragma once

#include "band/BandFace.h"
#include "model/BandModule.h"

#include <QString>
#include <optional>

// The two faces most modules build on.
namespace ModuleFaces {

// A caption over a value, the value optionally led by a symbol.
[[nodiscard]] BandFace readout(const QString& caption, const QString& value,
                               std::optional<QString> symbol = std::nullopt);
// A one-click module's `symbol`, with `fill` behind it while `on`.
[[nodiscard]] BandFace toggle(BandModule module, const QString& symbol, bool on,
                              std::optional<quint32> fill = std::nullopt);
// "41%" of 0.41, clamped to 0 … 100.
[[nodiscard]] QString percent(double fraction);

// The band's blue at 80 % behind a toggle that is on.
inline constexpr quint32 accentFill = 0xCC025BFF;

} // namespace ModuleFaces
