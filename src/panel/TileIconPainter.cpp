#include "panel/TileIconPainter.h"

#include "editing/PhosphorFont.h"
#include "editing/SymbolGlyphs.h"
#include "exchange/IconFinish.h"
#include "exchange/IconResolver.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

// Far more than one deck's icons at two hover sizes; a bound only against a cache that is never cleared.
constexpr int maxPreparedImages = 512;

const QColor fallbackPlateColour(0x8E, 0x8E, 0x93);

QRectF centredSquare(const QRectF& face, double side)
{
    return {face.center().x() - side / 2, face.center().y() - side / 2, side, side};
}

QPainterPath roundedSquare(const QRectF& square)
{
    QPainterPath path;
    const double radius = square.width() * TileIconPainter::cornerRatio;
    path.addRoundedRect(square, radius, radius);
    return path;
}

QColor white(double alpha)
{
    return QColor::fromRgbF(1, 1, 1, static_cast<float>(alpha));
}

// A soft shadow of the image's own outline: its alpha in `colour`, blurred by scaling it down and back up,
// which costs a fraction of a true blur and is made only once per icon and size.
QImage shadowOf(const QImage& image, const QColor& colour, int margin, double blurPixels)
{
    QImage canvas(image.width() + 2 * margin, image.height() + 2 * margin,
                  QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.drawImage(margin, margin, image);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(canvas.rect(), colour);
    }
    const double factor = std::max(1.0, blurPixels);
    const QSize small(std::max(1, static_cast<int>(canvas.width() / factor)),
                      std::max(1, static_cast<int>(canvas.height() / factor)));
    return canvas.scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .scaled(canvas.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

TileIconPainter::TileIconPainter(Services services)
    : m_services(services)
{
}

QColor TileIconPainter::blended(const QColor& colour, const QColor& target, double amount)
{
    const auto mix = [amount](float from, float to) {
        return static_cast<float>(from + (to - from) * amount);
    };
    return QColor::fromRgbF(mix(colour.redF(), target.redF()), mix(colour.greenF(), target.greenF()),
                            mix(colour.blueF(), target.blueF()), colour.alphaF());
}

QFont TileIconPainter::iconFont(double pixels)
{
    QFont font(QString::fromLatin1(PhosphorFont::family));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    return font;
}

void TileIconPainter::paint(QPainter& painter, const Tile& tile, const QRectF& face, double unit,
                            double hoverBoost, double emptyOpacity)
{
    const QRectF square = centredSquare(face, iconSpan * unit + hoverBoost);

    if (const auto* symbol = tile.icon.as<TileIcon::Symbol>()) {
        paintGlass(painter, *symbol, square);
        return;
    }
    if (const auto* builder = tile.icon.as<TileIcon::Builder>()) {
        paintBuilder(painter, *builder, square);
        return;
    }
    if (const auto* custom = tile.icon.as<TileIcon::Custom>()) {
        const std::optional<QImage> image = m_services.icons.customImage(custom->fileName);
        if (image && !image->isNull()) {
            const QString key = QStringLiteral("custom:") + custom->fileName;
            if (m_services.icons.isPlate(custom->fileName)) {
                paintImage(painter, key, *image, square, iconSpan * unit, hoverBoost, true, std::nullopt);
                // The frame of a plate: a hairline rim and a light from above, so a photo reads as a tile.
                const QPainterPath outline = roundedSquare(square.adjusted(0.5, 0.5, -0.5, -0.5));
                QLinearGradient light(square.topLeft(), square.bottomLeft());
                light.setColorAt(0, white(0.14));
                light.setColorAt(0.5, white(0));
                painter.fillPath(outline, light);
                painter.strokePath(outline, QPen(white(0.2), 1));
                return;
            }
            paintImage(painter, key, *image, centredSquare(face, imageSpan * unit + hoverBoost),
                       imageSpan * unit, hoverBoost, true, Shadow{QColor::fromRgbF(0, 0, 0, 0.35f), 2.5, 2});
            return;
        }
    } else if (!tile.isEmpty() && !tile.action->as<TileAction::NowPlaying>()) {
        if (const std::optional<QImage> image = m_services.icons.autoImage(tile.action);
            image && !image->isNull()) {
            const auto* app = tile.action->as<TileAction::LaunchApp>();
            const auto* file = tile.action->as<TileAction::OpenFile>();
            const QString key = QStringLiteral("auto:") + (app ? app->path : file ? file->path : QString());
            std::optional<Shadow> shadow;
            if (m_services.finish.needsShadow(*image, key))
                shadow = Shadow{QColor::fromRgbF(0, 0, 0, 0.38f), 2, 3};
            paintImage(painter, key, *image, square, iconSpan * unit, hoverBoost, false, shadow);
            return;
        }
    }
    paintFallback(painter, tile.action, square, unit, hoverBoost, tile.isEmpty() ? emptyOpacity : 1);
}

void TileIconPainter::paintGlass(QPainter& painter, const TileIcon::Symbol& symbol, const QRectF& square)
{
    const QPainterPath plate = roundedSquare(square);
    painter.fillPath(plate, white(0.07));
    QLinearGradient sheen(square.topLeft(), square.bottomLeft());
    sheen.setColorAt(0, white(0.16));
    sheen.setColorAt(1, white(0.03));
    painter.fillPath(plate, sheen);
    painter.strokePath(roundedSquare(square.adjusted(0.5, 0.5, -0.5, -0.5)), QPen(white(0.1), 1));

    painter.setFont(iconFont(square.width() * 0.44));
    painter.setPen(IconFinish::colorFromHex(symbol.hexColor).value_or(QColor(Qt::white)));
    painter.drawText(square, Qt::AlignCenter, SymbolGlyphs::text(m_services.font, symbol.name));
}

void TileIconPainter::paintBuilder(QPainter& painter, const TileIcon::Builder& builder, const QRectF& square)
{
    const std::optional<QColor> parsed = IconFinish::colorFromHex(builder.bgHex);
    const QColor colour = parsed.value_or(fallbackPlateColour);
    QLinearGradient fill(square.topLeft(), square.bottomLeft());
    fill.setColorAt(0, blended(colour, Qt::white, 0.14));
    fill.setColorAt(1, blended(colour, Qt::black, 0.14));
    painter.fillPath(roundedSquare(square), fill);

    const bool light = IconFinish::isLightBackground(colour);
    painter.setFont(iconFont(square.width() * 0.5));
    painter.setPen(light ? QColor::fromRgbF(0, 0, 0, 0.82f) : white(0.95));
    painter.drawText(square, Qt::AlignCenter, m_services.font.glyph(builder.iconName));
}

void TileIconPainter::paintFallback(QPainter& painter, const std::optional<TileAction>& action,
                                    const QRectF& square, double unit, double hoverBoost, double opacity)
{
    const double previous = painter.opacity();
    painter.setOpacity(previous * opacity);
    painter.setFont(iconFont(fallbackSymbolSize * unit * (1 + hoverBoost / 100)));
    painter.setPen(white(0.92));
    painter.drawText(square, Qt::AlignCenter,
                     SymbolGlyphs::text(m_services.font, IconResolver::autoSymbol(action)));
    painter.setOpacity(previous);
}

void TileIconPainter::paintImage(QPainter& painter, const QString& key, const QImage& image,
                                 const QRectF& target, double restSpan, double boost, bool rounded,
                                 const std::optional<Shadow>& shadow)
{
    // The hover spring moves the boost on every frame: scaling and blurring anew for each size would cost
    // more than the frame, so the image is made for the span at rest or fully hovered and drawn scaled.
    const double classSpan = restSpan + (boost == 0 ? 0 : hoverBoost);
    paintPrepared(painter,
                  prepared(key, image, QSizeF(classSpan, classSpan), painter.device()->devicePixelRatioF(),
                           rounded, shadow),
                  target);
}

void TileIconPainter::paintPrepared(QPainter& painter, const Prepared& prepared, const QRectF& target)
{
    if (!prepared.shadow.isNull()) {
        const double margin = prepared.shadowMargin * target.width() / prepared.size.width();
        const QRectF shadowRect =
            target.adjusted(-margin, -margin, margin, margin).translated(prepared.shadowOffset);
        painter.drawImage(shadowRect, prepared.shadow);
    }
    painter.drawImage(target, prepared.image);
}

const TileIconPainter::Prepared& TileIconPainter::prepared(const QString& key, const QImage& image,
                                                           QSizeF size, double devicePixelRatio, bool rounded,
                                                           const std::optional<Shadow>& shadow)
{
    const QSize pixels(std::max(1, static_cast<int>(std::ceil(size.width() * devicePixelRatio))),
                       std::max(1, static_cast<int>(std::ceil(size.height() * devicePixelRatio))));
    const QString cacheKey = QStringLiteral("%1|%2x%3|%4%5")
                                 .arg(key)
                                 .arg(pixels.width())
                                 .arg(pixels.height())
                                 .arg(rounded ? 1 : 0)
                                 .arg(shadow ? 1 : 0);
    if (const auto found = m_prepared.constFind(cacheKey); found != m_prepared.constEnd())
        return *found;
    if (m_prepared.size() >= maxPreparedImages)
        m_prepared.clear();

    Prepared made;
    made.size = size;
    made.image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    made.image.fill(Qt::transparent);
    {
        QPainter painter(&made.image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        const QRectF bounds(QPointF(0, 0), QSizeF(pixels));
        if (rounded)
            painter.setClipPath(roundedSquare(bounds));
        painter.drawImage(bounds, image);
    }
    if (shadow) {
        const int margin = static_cast<int>(std::ceil(shadow->radius * 2 * devicePixelRatio));
        made.shadow = shadowOf(made.image, shadow->colour, margin, shadow->radius * devicePixelRatio);
        made.shadowMargin = margin / devicePixelRatio;
        made.shadowOffset = QPointF(0, shadow->offsetY);
    }
    return *m_prepared.insert(cacheKey, made);
}
