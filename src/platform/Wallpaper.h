#pragma once

#include <QObject>
#include <QString>
#include <optional>

// The picture on the desktop behind the deck, and the user's moves between workspaces (each workspace may
// show a picture of its own).
class Wallpaper : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~Wallpaper() override = default;

    // The picture file shown on the screen named `screen` (the windowing system's name of its output, empty
    // when unknown) on the current workspace, or nothing when the desktop's wallpaper cannot be found. May
    // run a program or read the desktop's configuration: call it on a background thread. Safe from any
    // thread.
    [[nodiscard]] virtual std::optional<QString> pictureFile(const QString& screen) const = 0;
    // Whether this desktop has a wallpaper we know how to find at all; one that has not never will.
    [[nodiscard]] virtual bool isFindable() const { return true; }

Q_SIGNALS:
    // The user switched to another workspace; fires on the main thread.
    void workspaceChanged();
};

// A desktop whose wallpaper cannot be found.
class NoWallpaper final : public Wallpaper {
public:
    using Wallpaper::Wallpaper;
    [[nodiscard]] std::optional<QString> pictureFile(const QString&) const override { return std::nullopt; }
    [[nodiscard]] bool isFindable() const override { return false; }
};
