#pragma once

#include <QString>
#include <optional>

// The names the desktop gives applications, for the labels and tooltips of application tiles: "Files" for
// ".../org.gnome.Nautilus.desktop". Answers from memory after the first question about a path, so views may
// ask while painting. Main thread only.
class ApplicationNames {
public:
    virtual ~ApplicationNames() = default;
    // The application's own name, or nothing when the desktop knows none (the label then comes from the
    // path).
    [[nodiscard]] virtual std::optional<QString> nameOf(const QString& applicationPath) const = 0;
};

// A desktop that names no application: every application is known by its path.
class NoApplicationNames final : public ApplicationNames {
public:
    [[nodiscard]] std::optional<QString> nameOf(const QString&) const override { return std::nullopt; }
};
