#include "icons/IconNormalizer.h"

#include "icons/PngEncoder.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace IconNormalizer {

namespace {

// The corners count as a transparent background when their four alpha values add up to less than this.
constexpr int transparentCornersAlpha = 96;
// A pixel at most this opaque is background, whatever its colour.
constexpr int backgroundAlpha = 16;
// On an opaque background, a pixel whose every channel is at most this far from the background's is
// background.
constexpr int backgroundDistance = 18;
constexpr int plateProbeSide = 16;
constexpr int opaqueCornerAlpha = 200;

QSize boundedSize(QSize size, int maxSide)
{
    if (size.width() <= maxSide && size.height() <= maxSide)
        return size;
    return size.scaled(maxSide, maxSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

bool isVector(const QByteArray& format)
{
    return format == "svg" || format == "svgz";
}

// Enough of a file's start to find a JPEG's frame header behind its metadata segments.
constexpr qint64 headBytes = 1024 * 1024;

// How much of a picture its decoder holds while it gives it scaled down.
enum class Holding {
    rows,         // little more than the scaled picture
    coefficients, // every coefficient of a progressive JPEG
    whole,        // the full picture
};

// Qt scales a PNG row by row only when it is not interlaced and holds 8-bit colour or grey with alpha; grey,
// palette and 16-bit pictures are decoded whole first. The header chunk comes first; one that cannot be read
// counts as decoded whole.
bool isScaledRowByRowPng(const QByteArray& head)
{
    constexpr int bitDepth = 24;
    constexpr int colourType = 25;
    constexpr int interlaceMethod = 28;
    if (head.size() <= interlaceMethod || head.mid(12, 4) != "IHDR")
        return false;
    const int colour = head.at(colourType);
    return head.at(bitDepth) == 8 && (colour == 2 || colour == 4 || colour == 6) &&
           head.at(interlaceMethod) == 0;
}

// Whether the JPEG's frame is sequential (baseline or extended Huffman), found by walking its segments; a
// frame that is not found within `head` counts as progressive.
bool isSequentialJpeg(const QByteArray& head)
{
    qsizetype at = 2;
    while (at + 4 <= head.size()) {
        if (static_cast<quint8>(head.at(at)) != 0xff)
            return false;
        const auto marker = static_cast<quint8>(head.at(at + 1));
        if (marker == 0xff) {
            ++at;
            continue;
        }
        if (marker == 0xc0 || marker == 0xc1)
            return true;
        const bool isOtherFrame =
            marker >= 0xc2 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
        if (isOtherFrame || marker == 0xda)
            return false;
        const int length = (static_cast<quint8>(head.at(at + 2)) << 8) | static_cast<quint8>(head.at(at + 3));
        at += 2 + length;
    }
    return false;
}

Holding holdingOf(const QByteArray& format, const QByteArray& head)
{
    if (format == "png")
        return isScaledRowByRowPng(head) ? Holding::rows : Holding::whole;
    if (format == "jpeg" || format == "jpg")
        return isSequentialJpeg(head) ? Holding::rows : Holding::coefficients;
    return Holding::whole;
}

bool isWithinBudget(QSize size, Holding holding)
{
    const qint64 pixels = qint64(size.width()) * size.height();
    if (pixels > maxPicturePixels)
        return false;
    switch (holding) {
    case Holding::rows:
        return true;
    case Holding::coefficients:
        return pixels <= maxScaledDecodePixels;
    case Holding::whole:
        break;
    }
    return pixels <= maxWholeDecodePixels;
}

// The picture with the largest area among the first images of the file; the first wins ties.
int largestImageIndex(QImageReader& reader, int imageCount)
{
    const int count = std::min(imageCount, maxInspectedImages);
    int best = 0;
    qint64 bestArea = -1;
    for (int index = 0; index < count; ++index) {
        if (index > 0 && !reader.jumpToImage(index))
            break;
        const QSize size = reader.size();
        const qint64 area = size.isValid() ? qint64(size.width()) * size.height() : 0;
        if (area > bestArea) {
            best = index;
            bestArea = area;
        }
    }
    return best;
}

// `head` is the start of the file `reader` reads.
std::optional<QImage> readBounded(QImageReader& reader, const QByteArray& head, int maxSide)
{
    reader.setAutoTransform(true);
    if (const QSize size = reader.size(); size.isValid()) {
        const QByteArray format = reader.format();
        if (!isVector(format) && !isWithinBudget(size, holdingOf(format, head)))
            return std::nullopt;
        reader.setScaledSize(boundedSize(size, maxSide));
    }
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    // A decoder that reports no size, or a wrong one, is still held to the bound.
    if (image.width() > maxSide || image.height() > maxSide)
        image =
            image.scaled(boundedSize(image.size(), maxSide), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    // Icons are drawn and stored in sRGB; a picture tagged with another colour space keeps its colours.
    if (const QColorSpace space = image.colorSpace(); space.isValid() && space != QColorSpace::SRgb)
        image.convertToColorSpace(QColorSpace::SRgb);
    return image;
}

// Pixels of four bytes, alpha, red, green and blue; decoders give most pictures in one of these forms
// already.
QImage argbPixels(const QImage& image)
{
    switch (image.format()) {
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_ARGB32:
    case QImage::Format_RGB32:
        return image;
    default:
        return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
}

struct Background {
    bool transparent = false;
    int red = 0;
    int green = 0;
    int blue = 0;
    // Colours are compared premultiplied; straight ARGB32 is premultiplied pixel by pixel when needed.
    bool straightAlpha = false;

    [[nodiscard]] QRgb premultiplied(QRgb pixel) const { return straightAlpha ? qPremultiply(pixel) : pixel; }

    [[nodiscard]] bool isContent(QRgb pixel) const
    {
        if (qAlpha(pixel) <= backgroundAlpha)
            return false;
        if (transparent)
            return true;
        const QRgb colour = premultiplied(pixel);
        return std::max({std::abs(qRed(colour) - red), std::abs(qGreen(colour) - green),
                         std::abs(qBlue(colour) - blue)}) > backgroundDistance;
    }
};

const QRgb* row(const QImage& pixels, int y)
{
    return reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
}

Background backgroundOf(const QImage& pixels)
{
    const int right = pixels.width() - 1;
    const int bottom = pixels.height() - 1;
    const QRgb corners[] = {row(pixels, 0)[0], row(pixels, 0)[right], row(pixels, bottom)[0],
                            row(pixels, bottom)[right]};
    int alpha = 0;
    Background background;
    background.straightAlpha = pixels.format() == QImage::Format_ARGB32;
    for (const QRgb pixel : corners) {
        const QRgb corner = background.premultiplied(pixel);
        alpha += qAlpha(corner);
        background.red += qRed(corner);
        background.green += qGreen(corner);
        background.blue += qBlue(corner);
    }
    background.transparent = alpha < transparentCornersAlpha;
    background.red /= 4;
    background.green /= 4;
    background.blue /= 4;
    return background;
}

// The first content pixel's column in the row between `from` and `to`, or -1.
int firstContent(const QImage& pixels, const Background& background, int y, int from, int to)
{
    const QRgb* line = row(pixels, y);
    for (int x = from; x < to; ++x) {
        if (background.isContent(line[x]))
            return x;
    }
    return -1;
}

// The box of the content pixels, or nothing when there are none. It closes in from the four edges, so the
// pixels well inside the box are never read.
std::optional<QRect> contentRect(const QImage& pixels, const Background& background)
{
    const int width = pixels.width();
    int top = 0;
    while (top < pixels.height() && firstContent(pixels, background, top, 0, width) < 0)
        ++top;
    if (top == pixels.height())
        return std::nullopt;
    int bottom = pixels.height() - 1;
    while (firstContent(pixels, background, bottom, 0, width) < 0)
        --bottom;
    int left = width;
    int right = -1;
    for (int y = top; y <= bottom; ++y) {
        const QRgb* line = row(pixels, y);
        if (const int x = firstContent(pixels, background, y, 0, left); x >= 0)
            left = x;
        for (int x = width - 1; x > right; --x) {
            if (background.isContent(line[x])) {
                right = x;
                break;
            }
        }
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

bool hasContent(const QImage& pixels, const Background& background)
{
    for (int y = 0; y < pixels.height(); ++y) {
        if (firstContent(pixels, background, y, 0, pixels.width()) >= 0)
            return true;
    }
    return false;
}

double sideRatio(QSize size)
{
    const int longer = std::max(size.width(), size.height());
    const int shorter = std::min(size.width(), size.height());
    return shorter <= 1 ? longer : double(longer) / shorter;
}

// `probe` and `reader` read the same picture, which starts with `head`; the second is used only when the
// largest image is not the first.
std::optional<QImage> decodeLargest(QImageReader& probe, QImageReader& reader, const QByteArray& head,
                                    int maxSide)
{
    const int imageCount = probe.imageCount();
    if (imageCount <= 1)
        return readBounded(probe, head, maxSide);
    const int index = largestImageIndex(probe, imageCount);
    // The probe has moved on through the pictures, and not every handler can go back.
    if (index > 0 && !reader.jumpToImage(index))
        return std::nullopt;
    return readBounded(reader, head, maxSide);
}

} // namespace

std::optional<QImage> decode(const QString& path)
{
    if (isPdf(path))
        return std::nullopt;
    QFile file(path);
    const QByteArray head = file.open(QIODevice::ReadOnly) ? file.read(headBytes) : QByteArray();
    QImageReader probe(path);
    QImageReader reader(path);
    return decodeLargest(probe, reader, head, maxDecodedSide);
}

std::optional<QImage> decode(const QByteArray& bytes, int maxSide)
{
    if (bytes.startsWith("%PDF-"))
        return std::nullopt;
    QBuffer probeBuffer;
    probeBuffer.setData(bytes);
    QBuffer readerBuffer;
    readerBuffer.setData(bytes);
    QImageReader probe(&probeBuffer);
    QImageReader reader(&readerBuffer);
    return decodeLargest(probe, reader, bytes.left(headBytes), maxSide);
}

bool isPdf(const QString& path)
{
    if (QFileInfo(path).suffix().compare(u"pdf", Qt::CaseInsensitive) == 0)
        return true;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-";
}

std::optional<ContentBox> contentBox(const QImage& image)
{
    if (image.width() < 1 || image.height() < 1)
        return std::nullopt;
    const QImage pixels = argbPixels(image);
    const Background background = backgroundOf(pixels);
    const std::optional<QRect> rect = contentRect(pixels, background);
    if (!rect)
        return std::nullopt;
    return ContentBox{*rect, background.transparent};
}

namespace {

// The pixels of `rect`: a copy when they are few, else a view of the image's own, which only lives as long as
// the image does and is about to be scaled down into an icon of its own anyway.
QImage region(const QImage& image, QRect rect)
{
    if (std::max(rect.width(), rect.height()) <= maxIconSide || image.depth() % 8 != 0)
        return image.copy(rect);
    QImage view(image.constScanLine(rect.y()) + qsizetype(rect.x()) * (image.depth() / 8), rect.width(),
                rect.height(), image.bytesPerLine(), image.format());
    view.setColorTable(image.colorTable());
    return view;
}

} // namespace

std::optional<QImage> normalized(const QImage& image)
{
    if (image.width() < 1 || image.height() < 1)
        return std::nullopt;
    const QImage pixels = argbPixels(image);
    const Background background = backgroundOf(pixels);
    if (!background.transparent) {
        // A photo or a picture on a solid colour is kept whole, so one content pixel is all it takes.
        if (!hasContent(pixels, background))
            return std::nullopt;
        return sideRatio(image.size()) <= squareRatio ? capped(image) : squared(image, squareFill);
    }
    const std::optional<QRect> rect = contentRect(pixels, background);
    if (!rect)
        return std::nullopt;
    const QImage cropped = region(image, *rect);
    // A full-bleed square stays full-bleed.
    if (sideRatio(cropped.size()) <= squareRatio && hasOpaqueCorners(cropped))
        return capped(cropped);
    return squared(cropped, squareFill);
}

QImage capped(const QImage& image)
{
    const int longer = std::max(image.width(), image.height());
    if (longer <= maxIconSide)
        return image;
    const double scale = double(maxIconSide) / longer;
    const QSize size(std::max(1, qRound(image.width() * scale)), std::max(1, qRound(image.height() * scale)));
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage squared(const QImage& image, double fill)
{
    int side = qRound(std::max(image.width(), image.height()) / fill);
    double scale = 1;
    if (side > maxIconSide) {
        scale = double(maxIconSide) / side;
        side = maxIconSide;
    }
    QImage square(side, side, QImage::Format_ARGB32_Premultiplied);
    if (square.isNull())
        return square;
    square.fill(Qt::transparent);
    const QSizeF drawn(image.width() * scale, image.height() * scale);
    const QPointF origin((side - drawn.width()) / 2, (side - drawn.height()) / 2);
    // The painter filters bilinearly, which drops detail when shrinking a lot; the image's own smooth
    // scaling averages every source pixel, and the painter only places the result at its fractional spot.
    const QImage source =
        scale < 1
            ? image.scaled(QSize(std::max(1, qRound(drawn.width())), std::max(1, qRound(drawn.height()))),
                           Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            : image;
    QPainter painter(&square);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(origin, drawn), source);
    return square;
}

bool hasOpaqueCorners(const QImage& image)
{
    if (image.isNull())
        return false;
    QImage probe(plateProbeSide, plateProbeSide, QImage::Format_RGBA8888);
    if (probe.isNull())
        return false;
    probe.fill(Qt::transparent);
    {
        QPainter painter(&probe);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(probe.rect(), image);
    }
    constexpr int near = 1;
    constexpr int far = plateProbeSide - 2;
    for (const QPoint corner : {QPoint(near, near), QPoint(far, near), QPoint(near, far), QPoint(far, far)}) {
        if (qAlpha(probe.pixel(corner)) <= opaqueCornerAlpha)
            return false;
    }
    return true;
}

std::optional<QImage> shaped(const QImage& image, Step step)
{
    std::optional<QImage> result =
        step == Step::normalized ? normalized(image) : std::optional(capped(image));
    if (!result || result->isNull())
        return std::nullopt;
    return result;
}

std::optional<QByteArray> pngBytes(const QImage& image)
{
    return PngEncoder::encode(image);
}

namespace {

std::optional<QByteArray> shapedPNG(const std::optional<QImage>& image, Step step)
{
    if (!image)
        return std::nullopt;
    const std::optional<QImage> result = shaped(*image, step);
    if (!result)
        return std::nullopt;
    return pngBytes(*result);
}

} // namespace

std::optional<QByteArray> normalizedPNG(const QString& path, Step step)
{
    return shapedPNG(decode(path), step);
}

std::optional<QByteArray> normalizedPNG(const QByteArray& bytes, Step step)
{
    return shapedPNG(decode(bytes), step);
}

} // namespace IconNormalizer
