#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>

namespace PngEncoder {

// The image as the bytes of a PNG file, 8 bits a channel, with an alpha channel only when the image has one:
// the pixels alone, with no text, resolution or colour space of the source.
// Written for speed: each row goes through the Sub filter alone and a fast level of libdeflate, which for
// icons keeps the files about as small as trying every filter with zlib does, at a fraction of the time.
// Nothing when the image is null or cannot be encoded.
[[nodiscard]] std::optional<QByteArray> encode(const QImage& image);

} // namespace PngEncoder
