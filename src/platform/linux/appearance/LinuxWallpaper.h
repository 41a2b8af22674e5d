#pragma once

#include "core/ProcessRunner.h"
#include "platform/Wallpaper.h"
#include "platform/linux/appearance/DesktopWallpaper.h"

#include <atomic>
#include <memory>

class QSocketNotifier;
class XcbConnection;

// The wallpaper of the desktop that runs: GNOME's settings through `gsettings`, Plasma's desktop
// configuration file, Xfce's through `xfconf-query`; any other desktop has none we can find. A Plasma
// wallpaper package names one of its pictures. Workspace changes are changes of _NET_CURRENT_DESKTOP on the
// X root window, watched on a connection of its own; without X there are none.
class LinuxWallpaper final : public Wallpaper {
public:
    struct Setup {
        DesktopWallpaper::Desktop desktop = DesktopWallpaper::Desktop::unknown;
        QString gsettings;   // the program's path, empty where it is not installed
        QString xfconfQuery; // likewise
        QString configHome;  // where Plasma keeps its configuration
    };

    // `runner` must outlive this object; `x` may be null.
    LinuxWallpaper(ProcessRunner& runner, Setup setup, std::unique_ptr<XcbConnection> x,
                   QObject* parent = nullptr);
    ~LinuxWallpaper() override;

    [[nodiscard]] std::optional<QString> pictureFile(const QString& screen) const override;

    // The desktop's wallpaper service for this session.
    [[nodiscard]] static std::unique_ptr<Wallpaper> create(ProcessRunner& runner, const QString& configHome);

private:
    [[nodiscard]] std::optional<QString> gnomePicture() const;
    [[nodiscard]] std::optional<QString> plasmaPicture() const;
    [[nodiscard]] std::optional<QString> xfcePicture(const QString& screen) const;
    void readEvents();
    void checkWorkspace();

    ProcessRunner& m_runner;
    Setup m_setup;
    std::unique_ptr<XcbConnection> m_x;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::atomic<int> m_workspace = 0;
    bool m_checkQueued = false;
};
