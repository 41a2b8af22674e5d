#pragma once

#include "core/BackgroundQueue.h"
#include "core/ProcessRunner.h"
#include "platform/Trash.h"

#include <functional>
#include <sys/types.h>
#include <unistd.h>

// The desktop's Trash as file managers on Linux share it: the home Trash in the data folder and a
// ".Trash-UID" or ".Trash/UID" folder at the top of each other local file system. The file manager opens and
// empties it through `gio`; without `gio` we empty the folders ourselves.
class XdgTrash final : public Trash {
public:
    using Job = std::function<void()>;
    using JobRunner = std::function<void(Job)>;

    // `gio` is that program's path, empty where it is not installed. `mounts` lists the mounted file systems
    // as /proc/self/mounts does. Work that blocks goes to `background`; the trash must outlive it.
    XdgTrash(ProcessRunner& runner, QString gio, QString dataHome,
             QString mounts = QStringLiteral("/proc/self/mounts"), uid_t uid = ::getuid(),
             JobRunner background = &BackgroundQueue::run);

    [[nodiscard]] Locations locations() const override;
    void open() override;
    void empty() override;

private:
    void removeContents() const;

    ProcessRunner& m_runner;
    QString m_gio;
    QString m_dataHome;
    QString m_mounts;
    uid_t m_uid;
    JobRunner m_background;
};
