#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The desktop's knowledge of applications. An application identifier is a bundle identifier on macOS and a
// desktop file id ("org.gnome.Nautilus.desktop") on Linux; an application path is the bundle or the
// ".desktop" file.
//
// Implementations may block briefly (they read files or ask a settings program); call them from the main
// thread only where a short wait is acceptable, such as building the starter deck on a first launch.
class Workspace {
public:
    virtual ~Workspace() = default;

    // Where the application with this identifier is installed, or nothing when the desktop does not know it.
    [[nodiscard]] virtual std::optional<QString> applicationPath(const QString& applicationId) const = 0;

    // The identifiers of the applications the user keeps in the dock or the dash, in their order there.
    [[nodiscard]] virtual QStringList favouriteApplications() const = 0;
};

// The answer of a desktop without any of these services: nothing is known.
class NullWorkspace final : public Workspace {
public:
    [[nodiscard]] std::optional<QString> applicationPath(const QString&) const override
    {
        return std::nullopt;
    }
    [[nodiscard]] QStringList favouriteApplications() const override { return {}; }
};
