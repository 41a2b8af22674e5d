#pragma once

#include "icons/IconNormalizer.h"
#include "transfer/DeckTransfer.h"

#include <QByteArray>
#include <optional>

// Decides whether an image embedded in a deck file may become an icon file: bounded in bytes, images and
// pixels, and decodable. Safe on any thread; it blocks while it decodes.
namespace IconVetting {

inline constexpr int maxImages = 64;
inline constexpr qint64 maxImagePixels = IconNormalizer::maxPicturePixels;
// Pictures of a known type up to this many pixels a side are kept byte for byte.
inline constexpr int maxKeptSide = 2048;
// Larger pictures, and pictures of other types, are stored as a PNG at most this many pixels a side, decoded
// straight at that size, so that pictures too large to decode whole are reduced rather than refused.
inline constexpr int maxThumbnailSide = 1024;

// The bytes as they came with their type's extension, a PNG of a reduced copy, or nothing for bytes that are
// too large, hold no image or too many, claim an empty or oversized image, or do not decode.
[[nodiscard]] std::optional<DeckTransfer::VettedIcon> vet(const QByteArray& bytes);

} // namespace IconVetting
