#pragma once

#include "core/Expected.h"

#include <QString>
#include <QStringList>

// What a ".desktop" file says about how to start its application, read from its "[Desktop Entry]" group.
struct DesktopFile {
    QString path;
    QString name; // in the locale it was read for, where the file has it
    QString exec; // the Exec value, string escapes resolved; its own quoting is still in place
    QString tryExec;
    QString icon;
    bool terminal = false;
    // Entries that menus leave out: NoDisplay=true, or Hidden=true (deleted, also hiding those of the same id
    // in later data dirs).
    bool noDisplay = false;
    bool hidden = false;

    // Reads the file, its name for `locale` ("de_CH.UTF-8", as LC_MESSAGES spells it; none for the plain
    // name); the error is a reason a person can read ("no Exec line", "not an application", …).
    [[nodiscard]] static Expected<DesktopFile, QString> read(const QString& path, QStringView locale = {});

    // The program and arguments the Exec line asks for, with its field codes expanded for a launch without
    // files. The error is a reason a person can read.
    [[nodiscard]] Expected<QStringList, QString> commandLine() const;
};
