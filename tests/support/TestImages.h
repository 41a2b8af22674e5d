#pragma once

#include <QByteArray>
#include <QImage>

// Pictures made in code for the icon tests, so that no image file is kept in the repository.
namespace TestImages {

// The image's PNG file bytes.
[[nodiscard]] QByteArray png(const QImage& image);
// A PNG whose header claims a picture of the given size but whose pixel data is a small picture's.
[[nodiscard]] QByteArray pngClaimingSize(int width, int height);

} // namespace TestImages
