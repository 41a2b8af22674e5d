#include "platform/linux/desktop/DesktopFavourites.h"

#include "core/AtomicFile.h"
#include "platform/linux/desktop/DesktopEntries.h"
#include "platform/linux/desktop/PlasmaLaunchers.h"
#include "platform/linux/desktop/XfcePanelLaunchers.h"

#include <QFileInfo>
#include <QUrl>
#include <algorithm>
#include <array>

namespace DesktopFavourites {

namespace {

// Both files are a few kilobytes; a far larger one is not theirs.
constexpr qint64 maxConfigBytes = 4 * 1024 * 1024;

QByteArray configFile(const QString& path)
{
    Expected<QByteArray, AtomicFile::ReadError> bytes = AtomicFile::read(path, maxConfigBytes);
    return bytes ? std::move(*bytes) : QByteArray();
}

std::optional<QString> desktopFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isAbsolute() || !info.isFile() || info.suffix() != QLatin1String("desktop"))
        return std::nullopt;
    return path;
}

// A pin as a desktop writes it: a desktop file id, a ".desktop" file by path or address, or Plasma's
// "applications:" id and "preferred://" application.
std::optional<QString> resolved(const QString& pin, const Sources& sources)
{
    if (pin.startsWith(u'/'))
        return desktopFile(pin);
    if (pin.startsWith(QLatin1String("file:"))) {
        const QUrl url(pin, QUrl::StrictMode);
        return url.isValid() && url.isLocalFile() ? desktopFile(url.toLocalFile()) : std::nullopt;
    }
    if (pin == QLatin1String("preferred://browser"))
        return EverydayApplications::find(EverydayApplications::Role::webBrowser, sources.places);
    if (pin == QLatin1String("preferred://filemanager"))
        return EverydayApplications::find(EverydayApplications::Role::fileManager, sources.places);
    const QLatin1String plasmaId("applications:");
    const QString id = pin.startsWith(plasmaId) ? pin.mid(plasmaId.size()) : pin;
    return DesktopEntries::find(id, sources.places.dataDirs);
}

QStringList plasmaPins(const Sources& sources)
{
    return PlasmaLaunchers::read(QString::fromUtf8(
        configFile(sources.configHome + QStringLiteral("/plasma-org.kde.plasma.desktop-appletsrc"))));
}

QStringList xfcePins(const Sources& sources)
{
    return XfcePanelLaunchers::read(
        configFile(sources.configHome + QStringLiteral("/xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml")),
        sources.configHome + QStringLiteral("/xfce4/panel"));
}

QStringList gnomePins(const Sources& sources)
{
    return sources.gnome ? sources.gnome() : QStringList();
}

struct Desktop {
    const char* name;
    QStringList (*pins)(const Sources&);
};

constexpr std::array desktops{
    Desktop{"GNOME", gnomePins},
    Desktop{"KDE", plasmaPins},
    Desktop{"XFCE", xfcePins},
};

} // namespace

QStringList find(const Sources& sources)
{
    // GNOME's settings answer their built-in defaults on any desktop that has GNOME's schema installed, so
    // the desktop the user runs is asked first.
    std::array order = desktops;
    std::stable_partition(order.begin(), order.end(), [&sources](const Desktop& desktop) {
        return sources.places.currentDesktops.contains(QLatin1String(desktop.name), Qt::CaseInsensitive);
    });
    for (const Desktop& desktop : order) {
        QStringList paths;
        for (const QString& pin : desktop.pins(sources))
            if (const std::optional<QString> path = resolved(pin, sources))
                paths << *path;
        if (!paths.isEmpty())
            return paths;
    }
    return {};
}

} // namespace DesktopFavourites
