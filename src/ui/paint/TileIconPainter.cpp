#include "ui/paint/TileIconPainter.h"

#include "icons/IconFinish.h"
#include "icons/IconResolver.h"
#include "ui/paint/PhosphorFont.h"
#include "ui/paint/SymbolGlyphs.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

// Far more than one deck's icons at two hover sizes; a bound only against a cache that is never cleared.
constexpr int maxPreparedImages = 512;

const QColor fallbackPlateColour(0x8E, 0x8E, 0x93);

// The now-playing face, on the reference tile of 92 points.
constexpr double nowPlayingSymbolSize = 30;
constexpr double nowPlayingSymbolOpacity = 0.9;
constexpr double nowPlayingSymbolInset = 10;
constexpr double badgeInset = 4;
constexpr double badgeDiameter = 18;
constexpr double badgeSymbolSize = 9;
// How far above the icon's lower edge the state light sits.
constexpr double lightInset = 4;

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
                            double hoverBoost, double emptyOpacity, const Live& live)
{
    paintFace(painter, tile, face, unit, hoverBoost, emptyOpacity, live);
    if (live.lightOpacity && showsLight(tile))
        paintLight(painter, centredSquare(face, iconSpan * unit + hoverBoost), unit, *live.lightOpacity);
}

void TileIconPainter::paint(QPainter& painter, const Tile& tile, const QRectF& face, double unit,
                            double hoverBoost, double emptyOpacity)
{
    paint(painter, tile, face, unit, hoverBoost, emptyOpacity, Live{});
}

bool TileIconPainter::showsLight(const Tile& tile)
{
    // A picture that fills the icon (a plate, an application's own icon) or the artwork of what plays would
    // hide a small dot, or be spoilt by it.
    if (const auto* custom = tile.icon.as<TileIcon::Custom>()) {
        const std::optional<QImage> image = m_services.icons.customImage(custom->fileName);
        return !image || image->isNull() || !m_services.icons.isPlate(custom->fileName);
    }
    if (!tile.icon.as<TileIcon::Auto>() || tile.isEmpty())
        return true;
    if (tile.action->as<TileAction::NowPlaying>())
        return false;
    const std::optional<QImage> image = m_services.icons.autoImage(tile.action);
    return !image || image->isNull();
}

void TileIconPainter::paintFace(QPainter& painter, const Tile& tile, const QRectF& face, double unit,
                                double hoverBoost, double emptyOpacity, const Live& live)
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
                paintPlateFrame(painter, square);
                return;
            }
            paintImage(painter, key, *image, centredSquare(face, imageSpan * unit + hoverBoost),
                       imageSpan * unit, hoverBoost, true, Shadow{QColor::fromRgbF(0, 0, 0, 0.35f), 2.5, 2});
            return;
        }
    } else if (!tile.isEmpty() && tile.action->as<TileAction::NowPlaying>()) {
        paintNowPlaying(painter, face, square, unit, hoverBoost, live);
        return;
    } else if (!tile.isEmpty()) {
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

void TileIconPainter::paintPlateFrame(QPainter& painter, const QRectF& square)
{
    // The frame of a plate: a hairline rim and a light from above, so a photo reads as a tile.
    const QPainterPath outline = roundedSquare(square.adjusted(0.5, 0.5, -0.5, -0.5));
    QLinearGradient light(square.topLeft(), square.bottomLeft());
    light.setColorAt(0, white(0.14));
    light.setColorAt(0.5, white(0));
    painter.fillPath(outline, light);
    painter.strokePath(outline, QPen(white(0.2), 1));
}

void TileIconPainter::paintNowPlaying(QPainter& painter, const QRectF& face, const QRectF& square,
                                      double unit, double hoverBoost, const Live& live)
{
    const QImage* artwork = live.nowPlayingArtwork;
    if (!artwork || artwork->isNull()) {
        const double previous = painter.opacity();
        painter.setOpacity(previous * nowPlayingSymbolOpacity);
        painter.setFont(iconFont(nowPlayingSymbolSize * unit));
        painter.setPen(Qt::white);
        const double inset = nowPlayingSymbolInset * unit;
        painter.drawText(face.adjusted(inset, inset, -inset, -inset), Qt::AlignCenter,
                         SymbolGlyphs::text(m_services.font, QStringLiteral("play.circle")));
        painter.setOpacity(previous);
        return;
    }
    // Each new artwork is a new image: its key keeps the prepared sizes of one track apart from the next.
    const QString key = QStringLiteral("now-playing:%1").arg(artwork->cacheKey());
    paintImage(painter, key, *artwork, square, iconSpan * unit, hoverBoost, true, std::nullopt);
    paintPlateFrame(painter, square);

    const double inset = badgeInset * unit;
    const double diameter = badgeDiameter * unit;
    const QRectF badge(square.right() - inset - diameter, square.bottom() - inset - diameter, diameter,
                       diameter);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(0, 0, 0, 0.6f));
    painter.drawEllipse(badge);
    painter.setFont(iconFont(badgeSymbolSize * unit));
    painter.setPen(Qt::white);
    painter.drawText(badge, Qt::AlignCenter,
                     SymbolGlyphs::text(m_services.font, live.isPlaying ? QStringLiteral("pause.fill")
                                                                        : QStringLiteral("play.fill")));
}

void TileIconPainter::paintLight(QPainter& painter, const QRectF& square, double unit, double opacity)
{
    const double diameter = std::max(4.0, square.width() * 0.085);
    const QPointF centre(square.center().x(), square.bottom() - lightInset * unit - diameter / 2);
    const double previous = painter.opacity();
    painter.setOpacity(previous * opacity);
    painter.setPen(Qt::NoPen);
    // A shadow half as dark as black, a pixel down and a pixel wider, so the dot reads on a white plate.
    painter.setBrush(QColor::fromRgbF(0, 0, 0, 0.5f));
    painter.drawEllipse(centre + QPointF(0, 1), diameter / 2 + 1, diameter / 2 + 1);
    painter.setBrush(Qt::white);
    painter.drawEllipse(centre, diameter / 2, diameter / 2);
    painter.setOpacity(previous);
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
