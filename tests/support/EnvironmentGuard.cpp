#include "EnvironmentGuard.h"

#include <QtGlobal>
#include <algorithm>

EnvironmentGuard::~EnvironmentGuard()
{
    restore();
}

void EnvironmentGuard::set(const char* name, const QByteArray& value)
{
    remember(name);
    qputenv(name, value);
}

void EnvironmentGuard::unset(const char* name)
{
    remember(name);
    qunsetenv(name);
}

void EnvironmentGuard::restore()
{
    for (auto saved = m_saved.rbegin(); saved != m_saved.rend(); ++saved) {
        if (saved->second)
            qputenv(saved->first.constData(), *saved->second);
        else
            qunsetenv(saved->first.constData());
    }
    m_saved.clear();
}

void EnvironmentGuard::remember(const char* name)
{
    const bool known = std::any_of(m_saved.begin(), m_saved.end(),
                                   [name](const auto& saved) { return saved.first == name; });
    if (known)
        return;
    m_saved.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
}
