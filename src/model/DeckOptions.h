#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// The preference enumerations, each stored by its raw value; the titles are what the settings window shows.

enum class TileSizeOption { regular, large };
enum class PageTransitionOption { ripple, depth, crossfade };
enum class ChipStyleOption { light, dark, tinted, clear };

[[nodiscard]] QString rawValue(TileSizeOption option);
[[nodiscard]] QString title(TileSizeOption option);
[[nodiscard]] std::optional<TileSizeOption> tileSizeFromRawValue(QStringView rawValue);

[[nodiscard]] QString rawValue(PageTransitionOption option);
[[nodiscard]] QString title(PageTransitionOption option);
[[nodiscard]] std::optional<PageTransitionOption> pageTransitionFromRawValue(QStringView rawValue);

[[nodiscard]] QString rawValue(ChipStyleOption option);
[[nodiscard]] QString title(ChipStyleOption option);
[[nodiscard]] std::optional<ChipStyleOption> chipStyleFromRawValue(QStringView rawValue);
