#pragma once

#include <QString>
#include <optional>

// The time since boot as the kernel reports it in `uptime` under the proc folder, for the uptime module.
// Main thread; one small read each time it is asked.
class SystemUptime final {
public:
    explicit SystemUptime(QString procFolder = QStringLiteral("/proc"));

    // Seconds since boot, or nothing when the file is missing or does not begin with a number of seconds
    // (logged once).
    [[nodiscard]] std::optional<double> seconds();
    // The module's value: the uptime in the band's format, or "…" while it cannot be read.
    [[nodiscard]] QString text();

private:
    QString m_file;
    bool m_failureLogged = false;
};
