#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>
#include <optional>

// Turns any image file into an icon of the normal form: a PNG of at most 512 pixels on its longer side,
// cropped to its content and padded to a square unless it already is a full-bleed square.
//
// Every function is safe on any thread: nothing is shared between calls.
namespace IconNormalizer {

// Pictures are decoded at most this many pixels on their longer side, whatever their header claims.
inline constexpr int maxDecodedSide = 2048;
// Icon files are at most this many pixels on their longer side.
inline constexpr int maxIconSide = 512;
// A padded square's content spans this share of its side in the longer direction.
inline constexpr double squareFill = 0.92;
// Pictures at most this much longer than wide (or the reverse) count as square already.
inline constexpr double squareRatio = 1.25;

// Of a file holding many pictures (an icon set, a multi-page TIFF, an animation), only this many are looked
// at when picking the largest one, so that a GIF of a thousand frames imports as quickly as a still.
inline constexpr int maxInspectedImages = 32;
// No picture of more pixels than this is decoded, however little of it a decoder holds at once: it would take
// seconds to decode even when scaled down row by row.
inline constexpr qint64 maxPicturePixels = 120'000'000;
// Formats whose decoders hold the whole picture in memory before scaling it down (GIF, BMP, TIFF, WebP, an
// interlaced, grey, palette or 16-bit PNG …): a picture of more pixels than this (32 megapixels, 128 MB of
// 8-bit pixels) is refused from its header alone, before any pixel memory is reserved. A 6000 × 4000 photo
// fits. Qt's own allocation limit (128 MB for one image, process-wide, left as it is) still refuses a 16-bit
// picture above half that. An 8-bit colour PNG that is not interlaced is scaled row by row, and a baseline
// JPEG decodes at a half, a quarter or an eighth of its size directly: they hold little more than the picture
// asked for, whatever their size.
inline constexpr qint64 maxWholeDecodePixels = 32LL * 1024 * 1024;
// A progressive JPEG decodes scaled too, but keeps all of its coefficients (about 3 bytes a pixel) in memory,
// hence a budget of its own.
inline constexpr qint64 maxScaledDecodePixels = 64LL * 1024 * 1024;

enum class Step {
    normalized, // cropped to the content, squared, and size-limited
    capped,     // size-limited only
};

struct ContentBox {
    QRect rect;
    bool transparentBackground = false;
};

// The file's picture as pixels: its largest image, turned upright, at most `maxDecodedSide` pixels per side.
// Nothing for a file that is missing, unreadable, a PDF, or too large to decode within the budgets above.
[[nodiscard]] std::optional<QImage> decode(const QString& path);
// The same for a file's bytes held in memory, at most `maxSide` pixels per side: a picture asked for smaller
// is decoded straight at that size where its decoder can.
[[nodiscard]] std::optional<QImage> decode(const QByteArray& bytes, int maxSide = maxDecodedSide);
// Whether the file is a PDF document, which no image decoder here reads.
[[nodiscard]] bool isPdf(const QString& path);

// The smallest rectangle holding every pixel that differs from the background the four corners show, and
// whether that background is transparent; nothing when every pixel is background.
[[nodiscard]] std::optional<ContentBox> contentBox(const QImage& image);
// The full shaping step; nothing for an image that is all background.
[[nodiscard]] std::optional<QImage> normalized(const QImage& image);
// The image scaled down to at most `maxIconSide` pixels on its longer side.
[[nodiscard]] QImage capped(const QImage& image);
// The image centred on a transparent square, spanning `fill` of its side, at most `maxIconSide` pixels.
[[nodiscard]] QImage squared(const QImage& image, double fill);
// Whether the image is opaque near its four corners, as a full-bleed square is.
[[nodiscard]] bool hasOpaqueCorners(const QImage& image);

// The image shaped by `step`; nothing when that step cannot shape it.
[[nodiscard]] std::optional<QImage> shaped(const QImage& image, Step step);
// The image as PNG file bytes; nothing when it cannot be encoded.
[[nodiscard]] std::optional<QByteArray> pngBytes(const QImage& image);
// The file decoded, shaped by `step` and encoded as PNG; nothing when any of these fails.
[[nodiscard]] std::optional<QByteArray> normalizedPNG(const QString& path, Step step);
// The same for a file's bytes held in memory.
[[nodiscard]] std::optional<QByteArray> normalizedPNG(const QByteArray& bytes, Step step);

} // namespace IconNormalizer
