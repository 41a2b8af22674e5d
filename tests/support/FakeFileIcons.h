#pragma once

#include "platform/FileIcons.h"

#include <QHash>

// Answers the icons the test gave for paths, and nothing for every other path.
class FakeFileIcons final : public FileIcons {
public:
    QHash<QString, QImage> icons;

    [[nodiscard]] std::optional<QImage> iconForFile(const QString& path, int pixelSize) override
    {
        const auto found = icons.constFind(path);
        if (found == icons.constEnd())
            return std::nullopt;
        return found->scaled(pixelSize, pixelSize);
    }
};
