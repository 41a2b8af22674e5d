#pragma once

#include <QDBusConnection>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

// A D-Bus connection made the first time it is used: reaching the system bus costs start-up time that most
// runs of the deck never need to pay. Copies share the one connection; safe to use from any thread.
class LazyDBusConnection final {
public:
    using Connect = std::function<QDBusConnection()>;

    explicit LazyDBusConnection(Connect connect);
    // A connection already made (a private bus, or one that is known to be missing); implicit, so that it
    // stands wherever a lazy one is asked for.
    LazyDBusConnection(QDBusConnection connection);

    [[nodiscard]] const QDBusConnection& get() const;

private:
    struct Made {
        Connect connect;
        std::once_flag once;
        std::optional<QDBusConnection> connection;
    };
    std::shared_ptr<Made> m_made;
};
