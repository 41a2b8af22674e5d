#pragma once

#include "platform/FileIcons.h"

#include <QStringList>

// Icons from the desktop's icon theme: an application entry's Icon, a program's application entry, or the
// icon of a file's type.
class LinuxFileIcons final : public FileIcons {
public:
    // `dataDirs`: where "applications/" folders are looked for, the user's data home first.
    explicit LinuxFileIcons(QStringList dataDirs);

    [[nodiscard]] std::optional<QImage> iconForFile(const QString& path, int pixelSize) override;

private:
    // The Icon of the application entry that runs the program, or nothing.
    [[nodiscard]] QString iconNameForProgram(const QString& programPath) const;
    [[nodiscard]] static QString iconNameForFile(const QString& path);

    QStringList m_dataDirs;
};
