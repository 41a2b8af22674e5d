#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>
#include <vector>

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

    // The paths of the applications the user keeps in the dock, the dash or the panel, in their order there,
    // those that are installed.
    [[nodiscard]] virtual QStringList favouriteApplications() const = 0;

    // The paths of the desktop's default web browser, file manager, terminal, mail client and text editor
    // and of its settings, in that order, those that are installed.
    [[nodiscard]] virtual QStringList everydayApplications() const = 0;

    // Opens a file or folder (a file URL) with its default application, or a web address with the browser or
    // the application registered for its scheme. Returns at once.
    virtual void open(const QUrl& url) = 0;

    // Starts the application at this path and returns at once; answers false, with one log line, when the
    // path names no application that can be started.
    virtual bool launchApplication(const QString& applicationPath) = 0;

    // The processes running the application at this path.
    [[nodiscard]] virtual std::vector<qint64> runningProcessesOf(const QString& applicationPath) const = 0;

    // Opens the place where the user allows this program to restore and move other applications' windows,
    // where the desktop has one.
    virtual void openWindowAccessSettings() = 0;
};

// The answer of a desktop without any of these services: nothing is known.
class NullWorkspace final : public Workspace {
public:
    [[nodiscard]] std::optional<QString> applicationPath(const QString&) const override
    {
        return std::nullopt;
    }
    [[nodiscard]] QStringList favouriteApplications() const override { return {}; }
    [[nodiscard]] QStringList everydayApplications() const override { return {}; }
    void open(const QUrl&) override {}
    bool launchApplication(const QString&) override { return false; }
    [[nodiscard]] std::vector<qint64> runningProcessesOf(const QString&) const override { return {}; }
    void openWindowAccessSettings() override {}
};
