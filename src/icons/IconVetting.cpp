#include "icons/IconVetting.h"

#include "icons/IconNormalizer.h"

#include <QBuffer>
#include <QImageReader>

namespace IconVetting {

namespace {

struct Survey {
    QString extension;
    int largestSide = 0;
};

// Qt's names of the formats whose files keep their bytes, by the extension they are stored under.
QString extensionOf(const QByteArray& format)
{
    const QString name = QString::fromLatin1(format).toLower();
    return DeckTransfer::imageExtensions().contains(name) ? name : QString();
}

// Every image's header, without decoding a pixel; nothing when one of them is missing, empty or too large.
std::optional<Survey> survey(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    if (!reader.canRead())
        return std::nullopt;
    // Handlers of single-image formats may answer 0 for "one".
    const int count = std::max(reader.imageCount(), 1);
    if (count > maxImages)
        return std::nullopt;
    Survey result{extensionOf(reader.format()), 0};
    for (int index = 0; index < count; ++index) {
        if (index > 0 && !reader.jumpToNextImage())
            return std::nullopt;
        const QSize size = reader.size();
        if (size.width() < 1 || size.height() < 1 || qint64(size.width()) * size.height() > maxImagePixels)
            return std::nullopt;
        result.largestSide = std::max({result.largestSide, size.width(), size.height()});
    }
    return result;
}

} // namespace

std::optional<DeckTransfer::VettedIcon> vet(const QByteArray& bytes)
{
    if (bytes.size() > DeckTransfer::maxIconBytes)
        return std::nullopt;
    const std::optional<Survey> found = survey(bytes);
    if (!found)
        return std::nullopt;
    const bool kept = !found->extension.isEmpty() && found->largestSide <= maxKeptSide;
    const std::optional<QImage> image =
        IconNormalizer::decode(bytes, kept ? IconNormalizer::maxDecodedSide : maxThumbnailSide);
    if (!image)
        return std::nullopt;
    if (kept)
        return DeckTransfer::VettedIcon{bytes, found->extension};
    const std::optional<QByteArray> png = IconNormalizer::pngBytes(*image);
    if (!png)
        return std::nullopt;
    return DeckTransfer::VettedIcon{*png, QStringLiteral("png")};
}

} // namespace IconVetting
