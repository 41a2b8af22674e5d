#pragma once

#include <QString>
#include <QStringList>

// A systemd user scope of the test's own, as a desktop's launcher makes one for each program it starts and
// names it after the program's desktop entry, "app-ID-N.scope" under "user@UID.service": the desktop portal
// takes a program's app id from the scope it runs in. Made in the cgroup v2 hierarchy, which only root may
// change, and removed when it goes, once the programs in it have ended.
class AppScope final {
public:
    explicit AppScope(const QString& appId);
    ~AppScope();
    AppScope(const AppScope&) = delete;
    AppScope& operator=(const AppScope&) = delete;

    // False, with `error()` saying why, when the scope could not be made.
    [[nodiscard]] bool isReady() const { return m_error.isEmpty(); }
    [[nodiscard]] const QString& error() const { return m_error; }
    // The file a process writes "0" into to move itself into the scope.
    [[nodiscard]] QString processesFile() const;

private:
    QStringList m_made; // the folders made, outermost first
    QString m_error;
};
