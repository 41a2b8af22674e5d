#pragma once

#include "core/AppPaths.h"

#include <QImage>
#include <QString>
#include <memory>
#include <optional>

// The desktop's icon for an application or a file, as the file manager shows it.
//
// Main thread only; needs a GUI application.
class FileIcons {
public:
    virtual ~FileIcons() = default;
    // The icon of what is at `path` (an application entry, a program, a file or a folder), at `pixelSize`
    // square; nothing when the path does not exist or the icon theme has no icon for it.
    [[nodiscard]] virtual std::optional<QImage> iconForFile(const QString& path, int pixelSize) = 0;
};

// The desktop's icons for this operating system; `paths` tell where application entries are found.
[[nodiscard]] std::unique_ptr<FileIcons> createFileIcons(const AppPaths& paths);

// For a desktop without an icon theme, and for tests that want no icons.
class NullFileIcons final : public FileIcons {
public:
    [[nodiscard]] std::optional<QImage> iconForFile(const QString&, int) override { return std::nullopt; }
};
