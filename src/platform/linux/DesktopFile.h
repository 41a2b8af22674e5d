#pragma once

#include "core/Expected.h"

#include <QString>
#include <QStringList>

// What a ".desktop" file says about how to start its application, read from its "[Desktop Entry]" group.
struct DesktopFile {
    QString path;
    QString name;
    QString exec; // the Exec value, string escapes resolved; its own quoting is still in place
    QString tryExec;
    QString icon;
    bool terminal = false;

    // Reads the file; the error is a reason a person can read ("no Exec line", "not an application", …).
    [[nodiscard]] static Expected<DesktopFile, QString> read(const QString& path);

    // The program and arguments the Exec line asks for, with its field codes expanded for a launch without
    // files. The error is a reason a person can read.
    [[nodiscard]] Expected<QStringList, QString> commandLine() const;
};
