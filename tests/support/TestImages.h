#pragma once

#include <QByteArray>
#include <QImage>

// Pictures made in code for the icon tests, so that no image file is kept in the repository.
namespace TestImages {

// The image's PNG file bytes.
[[nodiscard]] QByteArray png(const QImage& image);
// A real PNG of one colour (8-bit RGB, not interlaced) of the given size, written row by row: a picture of
// many megapixels costs a few of memory.
[[nodiscard]] QByteArray plainPng(int width, int height);
// The image's JPEG file bytes, baseline or progressive.
[[nodiscard]] QByteArray jpeg(const QImage& image, bool progressive);
// A PNG whose header claims a picture of the given size but whose pixel data is a small picture's.
[[nodiscard]] QByteArray pngClaimingSize(int width, int height);

} // namespace TestImages
