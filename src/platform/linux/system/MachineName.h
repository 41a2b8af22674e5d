#pragma once

#include <QString>

// The name the user gave this machine: "PRETTY_HOSTNAME" of systemd's machine-info file, else the host name.
namespace MachineName {

// Safe on any thread.
[[nodiscard]] QString read(const QString& machineInfoPath);

} // namespace MachineName
