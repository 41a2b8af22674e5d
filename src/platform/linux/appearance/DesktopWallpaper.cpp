#include "platform/linux/appearance/DesktopWallpaper.h"

#include "platform/linux/desktop/GnomeFavourites.h"

#include <QHash>
#include <QRegularExpression>
#include <QUrl>
#include <map>
#include <utility>

namespace DesktopWallpaper {

namespace {

struct PlasmaContainment {
    int lastScreen = -1;
    QString wallpaperPlugin = QStringLiteral("org.kde.image");
    QString image;
};

} // namespace

Desktop desktopFrom(QStringView xdgCurrentDesktop)
{
    for (const QStringView name : xdgCurrentDesktop.split(QLatin1Char(':'))) {
        const QString upper = name.trimmed().toString().toUpper();
        if (upper == QLatin1String("GNOME"))
            return Desktop::gnome;
        if (upper == QLatin1String("KDE"))
            return Desktop::plasma;
        if (upper == QLatin1String("XFCE"))
            return Desktop::xfce;
    }
    return Desktop::unknown;
}

std::optional<QString> localFile(QStringView uriOrPath)
{
    const QString text = uriOrPath.trimmed().toString();
    if (text.startsWith(QLatin1Char('/')))
        return text;
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || !url.isLocalFile())
        return std::nullopt;
    const QString path = url.toLocalFile();
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> gsettingsString(QStringView output)
{
    // gsettings prints one string as it prints each of an array's: read it as an array of one.
    const auto items =
        GnomeFavourites::parseStringArray(QLatin1Char('[') + output.toString() + QLatin1Char(']'));
    if (!items || items->size() != 1)
        return std::nullopt;
    return items->front();
}

std::optional<QString> gnomePicture(QStringView colorScheme, QStringView pictureUri,
                                    QStringView pictureUriDark)
{
    if (gsettingsString(colorScheme) == QLatin1String("prefer-dark")) {
        if (const auto dark = gsettingsString(pictureUriDark); dark && !dark->isEmpty())
            return localFile(*dark);
    }
    const auto light = gsettingsString(pictureUri);
    return light ? localFile(*light) : std::nullopt;
}

std::optional<QString> plasmaPicture(QStringView appletsrc)
{
    static const QRegularExpression containmentGroup(QStringLiteral(R"(^\[Containments\]\[(\d+)\]$)"));
    static const QRegularExpression imageGroup(
        QStringLiteral(R"(^\[Containments\]\[(\d+)\]\[Wallpaper\]\[org\.kde\.image\]\[General\]$)"));
    std::map<int, PlasmaContainment> containments;
    PlasmaContainment* settings = nullptr; // the containment whose own group is being read
    PlasmaContainment* imageOf = nullptr;  // the containment whose picture group is being read
    for (const QStringView rawLine : appletsrc.split(QLatin1Char('\n'))) {
        const QString line = rawLine.trimmed().toString();
        if (line.startsWith(QLatin1Char('['))) {
            settings = nullptr;
            imageOf = nullptr;
            if (const auto match = containmentGroup.match(line); match.hasMatch())
                settings = &containments[match.captured(1).toInt()];
            else if (const auto image = imageGroup.match(line); image.hasMatch())
                imageOf = &containments[image.captured(1).toInt()];
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (settings && key == QLatin1String("lastScreen"))
            settings->lastScreen = value.toInt();
        else if (settings && key == QLatin1String("wallpaperplugin"))
            settings->wallpaperPlugin = value;
        else if (imageOf && key == QLatin1String("Image"))
            imageOf->image = value;
    }
    const PlasmaContainment* chosen = nullptr;
    for (const auto& [id, containment] : containments) {
        if (containment.image.isEmpty() || containment.wallpaperPlugin != QLatin1String("org.kde.image"))
            continue;
        if (containment.lastScreen == 0) {
            chosen = &containment;
            break;
        }
        if (!chosen)
            chosen = &containment;
    }
    return chosen ? localFile(chosen->image) : std::nullopt;
}

std::optional<QString> xfcePicture(QStringView listing, const QString& monitor, int workspace)
{
    QHash<QString, QString> values;
    QStringList order;
    for (const QStringView rawLine : listing.split(QLatin1Char('\n'))) {
        const QStringView line = rawLine.trimmed();
        const qsizetype space = line.indexOf(QLatin1Char(' '));
        const QString property = (space < 0 ? line : line.left(space)).toString();
        if (!property.startsWith(QLatin1Char('/')))
            continue;
        values.insert(property, space < 0 ? QString() : line.mid(space).trimmed().toString());
        order.append(property);
    }
    if (values.value(QStringLiteral("/backdrop/single-workspace-mode")) == QLatin1String("true"))
        workspace = values.value(QStringLiteral("/backdrop/single-workspace-number")).toInt();
    const QString suffix = QStringLiteral("/workspace%1/last-image").arg(workspace);
    const auto picture = [&](const QString& property) -> std::optional<QString> {
        const QString value = values.value(property);
        return value.isEmpty() ? std::nullopt : localFile(value);
    };
    if (!monitor.isEmpty()) {
        const QString exact = QStringLiteral("/monitor%1%2").arg(monitor, suffix);
        for (const QString& property : std::as_const(order)) {
            if (!property.startsWith(QLatin1String("/backdrop/screen")) || !property.endsWith(exact))
                continue;
            if (auto found = picture(property))
                return found;
        }
    }
    static const QRegularExpression anyMonitor(QStringLiteral(R"(^/backdrop/screen\d+/monitor[^/]+/)"));
    for (const QString& property : std::as_const(order)) {
        if (property.endsWith(suffix) && anyMonitor.match(property).hasMatch()) {
            if (auto found = picture(property))
                return found;
        }
    }
    return std::nullopt;
}

} // namespace DesktopWallpaper
