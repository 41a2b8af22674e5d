#include "icons/IconResolver.h"

#include "core/Clock.h"
#include "core/Logging.h"
#include "core/Overloaded.h"
#include "icons/IconNormalizer.h"
#include "platform/FileIcons.h"

#include <QFileInfo>
#include <QImageReader>

namespace {

// Application and file icons are asked for at this size: large enough for the biggest tile face.
constexpr int autoIconPixelSize = 256;
// The cache holds about this many kilobytes of decoded pixels.
constexpr int imageCacheKilobytes = 64 * 1024;

int cacheCost(const QImage& image)
{
    return static_cast<int>(qMax<qsizetype>(1, image.sizeInBytes() / 1024));
}

QSize boundedSize(QSize size, int maxSide)
{
    if (size.width() <= maxSide && size.height() <= maxSide)
        return size;
    return size.scaled(maxSide, maxSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

} // namespace

IconResolver::IconResolver(QString iconsDir, FileIcons& fileIcons, const Clock& clock)
    : m_iconsDir(std::move(iconsDir))
    , m_fileIcons(fileIcons)
    , m_clock(clock)
{
    m_images.setMaxCost(imageCacheKilobytes);
}

std::optional<QImage> IconResolver::customImage(const QString& fileName)
{
    // Icons are named by bare file name; anything else would reach outside the icons folder.
    if (fileName.isEmpty() || fileName.contains(u'/') || fileName == u"." || fileName == u"..")
        return std::nullopt;
    const QString key = QStringLiteral("custom:") + fileName;
    if (const QImage* cached = m_images.object(key))
        return *cached;

    QImageReader reader(m_iconsDir + u'/' + fileName);
    reader.setAutoTransform(true);
    // Sized before reading so that a huge picture is never decoded at full size.
    if (const QSize size = reader.size(); size.isValid())
        reader.setScaledSize(boundedSize(size, maxDecodedSide));
    QImage image = reader.read();
    if (image.isNull()) {
        if (reader.error() != QImageReader::FileNotFoundError && !m_reportedUnreadable.contains(fileName)) {
            m_reportedUnreadable.insert(fileName);
            qCWarning(lcStore).noquote()
                << "Marquetto: icon" << fileName << "unreadable:" << reader.errorString();
        }
        return std::nullopt;
    }
    if (image.width() > maxDecodedSide || image.height() > maxDecodedSide)
        image = image.scaled(boundedSize(image.size(), maxDecodedSide), Qt::KeepAspectRatio,
                             Qt::SmoothTransformation);
    m_images.insert(key, new QImage(image), cacheCost(image));
    return image;
}

std::optional<QImage> IconResolver::autoImage(const std::optional<TileAction>& action)
{
    if (!action)
        return std::nullopt;
    QString path;
    if (const auto* launch = action->as<TileAction::LaunchApp>())
        path = launch->path;
    else if (const auto* open = action->as<TileAction::OpenFile>())
        path = open->path;
    if (path.isEmpty())
        return std::nullopt;

    const QString key = QStringLiteral("auto:") + path;
    if (const QImage* cached = m_images.object(key))
        return *cached;
    const QDateTime now = m_clock.now();
    // Measured both ways, so that a clock set back does not put the next question off for as long.
    if (const auto asked = m_iconlessSince.constFind(path);
        asked != m_iconlessSince.cend() && qAbs(asked->secsTo(now)) < iconlessRetrySeconds)
        return std::nullopt;
    if (!QFileInfo::exists(path)) {
        m_iconlessSince.remove(path);
        return std::nullopt;
    }
    std::optional<QImage> icon = m_fileIcons.iconForFile(path, autoIconPixelSize);
    if (!icon || icon->isNull()) {
        m_iconlessSince.insert(path, now);
        return std::nullopt;
    }
    m_iconlessSince.remove(path);
    m_images.insert(key, new QImage(*icon), cacheCost(*icon));
    return icon;
}

QString IconResolver::autoSymbol(const std::optional<TileAction>& action)
{
    if (!action)
        return QStringLiteral("plus");
    return std::visit(
        Overloaded{
            [](const TileAction::LaunchApp&) { return QStringLiteral("square.dashed"); },
            [](const TileAction::OpenFile&) { return QStringLiteral("square.dashed"); },
            [](const TileAction::OpenURL&) { return QStringLiteral("globe"); },
            [](const TileAction::PlayPlaylist&) { return QStringLiteral("music.note.list"); },
            [](const TileAction::PlayAlbum&) { return QStringLiteral("opticaldisc"); },
            [](const TileAction::NowPlaying&) { return QStringLiteral("play.circle"); },
            [](const TileAction::RunSystemAction& system) {
                switch (system.action) {
                case SystemAction::volumeUp:
                    return QStringLiteral("speaker.wave.3.fill");
                case SystemAction::volumeDown:
                    return QStringLiteral("speaker.wave.1.fill");
                case SystemAction::muteToggle:
                    return QStringLiteral("speaker.slash.fill");
                case SystemAction::darkModeToggle:
                    return QStringLiteral("circle.lefthalf.filled");
                case SystemAction::lockScreen:
                    return QStringLiteral("lock.fill");
                case SystemAction::sleep:
                    return QStringLiteral("moon.fill");
                case SystemAction::snapLeft:
                    return QStringLiteral("rectangle.lefthalf.filled");
                case SystemAction::snapRight:
                    return QStringLiteral("rectangle.righthalf.filled");
                case SystemAction::snapFull:
                    return QStringLiteral("rectangle.fill");
                case SystemAction::snapCentre:
                    return QStringLiteral("rectangle.center.inset.filled");
                }
                return QStringLiteral("square.dashed");
            },
            [](const TileAction::RunShortcut&) { return QStringLiteral("wand.and.stars"); },
            [](const TileAction::RunScript&) { return QStringLiteral("terminal"); },
            [](const TileAction::Sequence&) { return QStringLiteral("square.stack.3d.down.right"); },
            [](const TileAction::ConnectBluetooth&) { return QStringLiteral("hifispeaker"); },
            [](const TileAction::AudioOutput&) { return QStringLiteral("airplayaudio"); },
            [](const TileAction::Snippet&) { return QStringLiteral("doc.on.clipboard"); },
        },
        action->value);
}

bool IconResolver::isPlate(const QString& fileName)
{
    if (const auto known = m_plateFlags.constFind(fileName); known != m_plateFlags.cend())
        return *known;
    const std::optional<QImage> image = customImage(fileName);
    if (!image)
        return false;
    const bool plate = IconNormalizer::hasOpaqueCorners(*image);
    m_plateFlags.insert(fileName, plate);
    return plate;
}

std::optional<QString> IconResolver::importCustomImage(const QString& path) const
{
    return IconImport(m_iconsDir).importImage(path);
}

void IconResolver::importCustomImageAsync(const QString& path, QObject* context,
                                          IconImport::Completion completion) const
{
    IconImport(m_iconsDir).importImageAsync(path, context, std::move(completion));
}
