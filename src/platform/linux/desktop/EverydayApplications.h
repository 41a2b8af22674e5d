#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The applications a desktop offers for everyday jobs: the ones its `mimeapps.list` files name as
// defaults, else the usual ones of the current desktop, else those of other desktops that are installed.
namespace EverydayApplications {

enum class Role { webBrowser, fileManager, terminal, mailClient, textEditor, settings };

struct Places {
    QStringList dataDirs;        // the user's data home first, then the system data dirs
    QStringList mimeListFiles;   // most important first, as MimeDefaults::listFiles() gives them
    QStringList currentDesktops; // XDG_CURRENT_DESKTOP's entries, most specific first
};

// The ".desktop" file of the installed application for the role, or nothing when none is installed.
[[nodiscard]] std::optional<QString> find(Role role, const Places& places);

// The web browser, file manager, terminal, mail client, text editor and settings, in that order, those
// that are installed.
[[nodiscard]] QStringList findAll(const Places& places);

} // namespace EverydayApplications
