#include "platform/linux/desktop/EverydayApplications.h"

#include "platform/linux/desktop/DesktopEntries.h"
#include "platform/linux/desktop/MimeDefaults.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

namespace EverydayApplications {

namespace {

using enum Role;

constexpr std::array allRoles{webBrowser, fileManager, terminal, mailClient, textEditor, settings};

// A usual application for a role, and the desktop it comes with (empty for none in particular).
struct Usual {
    Role role;
    const char* desktopId;
    const char* desktop;
};

constexpr Usual usual[] = {
    {webBrowser, "firefox-esr.desktop", ""},
    {webBrowser, "firefox.desktop", ""},
    {webBrowser, "chromium.desktop", ""},
    {webBrowser, "org.gnome.Epiphany.desktop", "GNOME"},
    {webBrowser, "org.kde.falkon.desktop", "KDE"},
    {webBrowser, "xfce4-web-browser.desktop", "XFCE"},
    {fileManager, "org.gnome.Nautilus.desktop", "GNOME"},
    {fileManager, "org.kde.dolphin.desktop", "KDE"},
    {fileManager, "thunar.desktop", "XFCE"},
    {fileManager, "nemo.desktop", "X-Cinnamon"},
    {fileManager, "caja.desktop", "MATE"},
    {fileManager, "pcmanfm-qt.desktop", "LXQt"},
    {fileManager, "pcmanfm.desktop", "LXDE"},
    {terminal, "org.gnome.Terminal.desktop", "GNOME"},
    {terminal, "org.gnome.Console.desktop", "GNOME"},
    {terminal, "org.kde.konsole.desktop", "KDE"},
    {terminal, "xfce4-terminal.desktop", "XFCE"},
    {terminal, "xfce4-terminal-emulator.desktop", "XFCE"},
    {terminal, "mate-terminal.desktop", "MATE"},
    {terminal, "qterminal.desktop", "LXQt"},
    {terminal, "lxterminal.desktop", "LXDE"},
    {terminal, "debian-uxterm.desktop", ""},
    {terminal, "debian-xterm.desktop", ""},
    {mailClient, "thunderbird.desktop", ""},
    {mailClient, "org.gnome.Evolution.desktop", "GNOME"},
    {mailClient, "org.kde.kmail2.desktop", "KDE"},
    {mailClient, "xfce4-mail-reader.desktop", "XFCE"},
    {textEditor, "org.gnome.TextEditor.desktop", "GNOME"},
    {textEditor, "org.gnome.gedit.desktop", "GNOME"},
    {textEditor, "org.kde.kate.desktop", "KDE"},
    {textEditor, "org.kde.kwrite.desktop", "KDE"},
    {textEditor, "org.xfce.mousepad.desktop", "XFCE"},
    {textEditor, "pluma.desktop", "MATE"},
    {settings, "org.gnome.Settings.desktop", "GNOME"},
    {settings, "gnome-control-center.desktop", "GNOME"},
    {settings, "systemsettings.desktop", "KDE"},
    {settings, "org.kde.systemsettings.desktop", "KDE"},
    {settings, "xfce-settings-manager.desktop", "XFCE"},
    {settings, "cinnamon-settings.desktop", "X-Cinnamon"},
    {settings, "mate-control-center.desktop", "MATE"},
    {settings, "lxqt-config.desktop", "LXQt"},
};

// The types whose default application does the role's job; settings and terminals have none.
QStringList mimeTypes(Role role)
{
    switch (role) {
    case webBrowser:
        return {QStringLiteral("x-scheme-handler/https"), QStringLiteral("x-scheme-handler/http"),
                QStringLiteral("text/html")};
    case fileManager:
        return {QStringLiteral("inode/directory")};
    case mailClient:
        return {QStringLiteral("x-scheme-handler/mailto")};
    case textEditor:
        return {QStringLiteral("text/plain")};
    case terminal:
    case settings:
        return {};
    }
    return {};
}

bool isCurrent(const char* desktop, const QStringList& currentDesktops)
{
    return *desktop != '\0' && currentDesktops.contains(QLatin1String(desktop), Qt::CaseInsensitive);
}

// The desktop's own applications before those that come with no desktop, before those of other desktops.
int rank(const Usual& application, const QStringList& currentDesktops)
{
    if (isCurrent(application.desktop, currentDesktops))
        return 0;
    return *application.desktop == '\0' ? 1 : 2;
}

QStringList candidates(Role role, const Places& places)
{
    QStringList ids;
    for (const QString& type : mimeTypes(role))
        ids << MimeDefaults::defaultApplications(type, places.mimeListFiles);
    std::vector<Usual> ofRole;
    std::copy_if(std::begin(usual), std::end(usual), std::back_inserter(ofRole),
                 [role](const Usual& application) { return application.role == role; });
    std::stable_sort(ofRole.begin(), ofRole.end(), [&places](const Usual& a, const Usual& b) {
        return rank(a, places.currentDesktops) < rank(b, places.currentDesktops);
    });
    for (const Usual& application : ofRole)
        ids << QLatin1String(application.desktopId);
    return ids;
}

} // namespace

std::optional<QString> find(Role role, const Places& places)
{
    for (const QString& id : candidates(role, places))
        if (std::optional<QString> path = DesktopEntries::find(id, places.dataDirs))
            return path;
    return std::nullopt;
}

QStringList findAll(const Places& places)
{
    QStringList paths;
    for (const Role role : allRoles)
        if (const std::optional<QString> path = find(role, places))
            paths << *path;
    return paths;
}

} // namespace EverydayApplications
