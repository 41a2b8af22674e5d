#pragma once

#include "platform/FileIcons.h"

#include <QColor>
#include <QStringList>

// Answers every path with a square of one colour, or with nothing when `hasIcons` is off, and records
// what it was asked.
class FakeFileIcons final : public FileIcons {
public:
    bool hasIcons = true;
    QColor colour = Qt::blue;
    QStringList asked;

    [[nodiscard]] std::optional<QImage> iconForFile(const QString& path, int pixelSize) override
    {
        asked << path;
        if (!hasIcons)
            return std::nullopt;
        QImage image(pixelSize, pixelSize, QImage::Format_ARGB32_Premultiplied);
        image.fill(colour);
        return image;
    }
};
