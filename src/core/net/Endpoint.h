#pragma once

#include <QString>
#include <QUrl>
#include <optional>

// The rule for the web addresses the band's network modules ask: secure ones only, except plain http to this
// machine itself (a service of the user's own, or a test's).
namespace Endpoint {

[[nodiscard]] bool isAllowed(const QUrl& url);

// The address stored under the preference `key`, or nothing (with one log line naming the key) when it is
// not a usable address or breaks the rule.
[[nodiscard]] std::optional<QUrl> fromPreference(const QString& key, const QString& text);

} // namespace Endpoint
