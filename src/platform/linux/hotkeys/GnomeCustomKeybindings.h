#pragma once

#include "core/ProcessRunner.h"
#include "platform/KeyboardShortcutSetup.h"

#include <QHash>
#include <QString>

// GNOME's custom keyboard shortcuts (`custom-keybindings` of `org.gnome.settings-daemon.plugins.media-keys`,
// each a path of the relocatable `…media-keys.custom-keybinding` with a name, a command and a binding), read
// and written with the `gsettings` program. Ours live at paths of our own ("…/marquetto-summon/",
// "…/marquetto-tile-N/"), appended to the user's list, whose entries are never reordered or dropped.
class GnomeCustomKeybindings final : public KeyboardShortcutSetup {
public:
    // Lists holding more distinct paths than this are left alone: reading each one costs a program run.
    static constexpr int maximumPaths = 100;

    // `processes` outlives this object; `gsettings` is that program's path, empty when it is missing.
    GnomeCustomKeybindings(ProcessRunner& processes, QString gsettings);

    [[nodiscard]] SetUpReport setUp(const QString& companion) override;
    [[nodiscard]] RemoveReport remove() override;
    [[nodiscard]] Status installed() override;

    // The companion beside the program running in `programDir`, or the installed one a build tree's deck
    // prefers, the way the deck chooses what to start at login.
    [[nodiscard]] static QString companionProgram(const QString& programDir);
    // The command GNOME runs: the program quoted for its shell-style parsing, then the arguments.
    [[nodiscard]] static QString commandLine(const QString& program, const QStringList& arguments);
    // A binding in one form whatever the order and spelling of its modifiers ("<Primary><Alt>Space" and
    // "<Alt><Control>space" are the same keys).
    [[nodiscard]] static QString normalisedBinding(const QString& binding);

private:
    struct Listing;

    [[nodiscard]] Listing readList();
    [[nodiscard]] QString get(const QString& schemaAndPath, const QString& key);
    void change(const QStringList& arguments);
    // Writes the keys of one of our entries and answers whether they read back as written.
    bool write(const QString& path, const QHash<QString, QString>& keys);

    ProcessRunner& m_processes;
    QString m_gsettings;
};
