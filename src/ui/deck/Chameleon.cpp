#include "ui/deck/Chameleon.h"

#include "core/MainThread.h"
#include "platform/Wallpaper.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPointer>
#include <algorithm>

namespace {

constexpr double leastMeanSaturation = 0.06;
constexpr double leastWeight = 0.001;

} // namespace

ChameleonEngine::ChameleonEngine(Services services, QObject* parent)
    : QObject(parent)
    , m_services(std::move(services))
{
    m_timer.setInterval(recheckInterval);
    connect(&m_timer, &QTimer::timeout, this, &ChameleonEngine::recheck);
}

void ChameleonEngine::start()
{
    // Where no wallpaper can ever be found, re-checking every 15 seconds would only wake the deck up.
    if (isRunning() || !m_services.wallpaper.isFindable())
        return;
    m_timer.start();
    // Each workspace may show a picture of its own.
    m_workspaceWatch =
        connect(&m_services.wallpaper, &Wallpaper::workspaceChanged, this, [this] { sample(true); });
    sample(true);
}

void ChameleonEngine::stop()
{
    m_timer.stop();
    disconnect(m_workspaceWatch);
    m_lastPicture.reset();
    ++m_decodes;
    setTint(std::nullopt);
}

void ChameleonEngine::sample(bool force)
{
    if (!isRunning())
        return;
    const auto screen = m_services.mainScreen();
    if (!screen)
        return;
    // Finding the picture may run a program: it happens in the background too.
    m_services.background(
        [engine = QPointer(this), &wallpaper = m_services.wallpaper, screen = *screen, force] {
            MainThread::post(engine, [picture = wallpaper.pictureFile(screen), force](ChameleonEngine& self) {
                self.pictureFound(picture, force);
            });
        });
}

void ChameleonEngine::pictureFound(const std::optional<QString>& picture, bool force)
{
    if (!isRunning() || !picture)
        return;
    if (!force && picture == m_lastPicture)
        return;
    m_lastPicture = picture;
    const quint64 decode = ++m_decodes;
    m_services.background([engine = QPointer(this), path = *picture, decode] {
        const auto colour = tintOfFile(path);
        const std::optional<quint32> tint =
            colour ? std::optional<quint32>(colour->rgb() & 0xFFFFFFu) : std::nullopt;
        MainThread::post(engine, [tint, decode](ChameleonEngine& self) {
            if (decode == self.m_decodes)
                self.setTint(tint);
        });
    });
}

void ChameleonEngine::setTint(std::optional<quint32> tint)
{
    if (tint == m_tint)
        return;
    m_tint = tint;
    Q_EMIT tintChanged();
}

std::optional<QColor> ChameleonEngine::extractTint(const QImage& image)
{
    if (image.isNull())
        return std::nullopt;
    const QImage small = image.scaled(sampleSide, sampleSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    if (small.isNull())
        return std::nullopt;
    double saturationSum = 0;
    double weightSum = 0;
    double red = 0;
    double green = 0;
    double blue = 0;
    for (int y = 0; y < sampleSide; ++y) {
        const uchar* pixel = small.constScanLine(y);
        for (int x = 0; x < sampleSide; ++x, pixel += 4) {
            const double r = pixel[0] / 255.0;
            const double g = pixel[1] / 255.0;
            const double b = pixel[2] / 255.0;
            const double high = std::max({r, g, b});
            const double saturation = high > 0 ? (high - std::min({r, g, b})) / high : 0;
            saturationSum += saturation;
            // Squared, so that the colourful parts decide and grey sky or stone counts for little.
            const double weight = saturation * saturation;
            red += weight * r;
            green += weight * g;
            blue += weight * b;
            weightSum += weight;
        }
    }
    if (saturationSum / (sampleSide * sampleSide) <= leastMeanSaturation || weightSum <= leastWeight)
        return std::nullopt;
    const QColor mean =
        QColor::fromRgbF(static_cast<float>(red / weightSum), static_cast<float>(green / weightSum),
                         static_cast<float>(blue / weightSum));
    float hue = 0;
    float saturation = 0;
    float brightness = 0;
    mean.getHsvF(&hue, &saturation, &brightness);
    // The clamps keep the tint usable as glass on any picture.
    return QColor::fromHsvF(std::max(hue, 0.0f), std::clamp(saturation, 0.45f, 0.8f),
                            std::clamp(brightness, 0.5f, 0.72f));
}

std::optional<QColor> ChameleonEngine::tintOfFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QImageReader reader(path);
    const QSize size = reader.size();
    // Formats that can decode reduced do so; the others are held back by the reader's allocation limit.
    if (size.isValid() && (size.width() > decodeSide || size.height() > decodeSide))
        reader.setScaledSize(
            size.scaled(decodeSide, decodeSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    return extractTint(reader.read());
}
