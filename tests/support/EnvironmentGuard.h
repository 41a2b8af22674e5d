#pragma once

#include <QByteArray>
#include <optional>
#include <utility>
#include <vector>

// Changes environment variables for as long as it lives and gives each its first value back (set or unset)
// when it goes, also when a failed assertion ended the test early.
class EnvironmentGuard final {
public:
    EnvironmentGuard() = default;
    ~EnvironmentGuard();
    EnvironmentGuard(const EnvironmentGuard&) = delete;
    EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;

    void set(const char* name, const QByteArray& value);
    void unset(const char* name);
    // Gives back what was changed so far; the guard can be used again afterwards.
    void restore();

private:
    void remember(const char* name);

    std::vector<std::pair<QByteArray, std::optional<QByteArray>>> m_saved;
};
