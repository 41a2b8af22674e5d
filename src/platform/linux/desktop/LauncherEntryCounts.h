#pragma once

#include "platform/UnreadMessages.h"
#include "platform/Workspace.h"
#include "platform/linux/dbus/LazyDBusConnection.h"

#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QHash>
#include <QVariantMap>
#include <vector>

// Unread messages as the desktop's docks count them: the badges chat and mail applications publish with
// `com.canonical.Unity.LauncherEntry` `Update` signals on the session bus, summed over the applications whose
// badge is visible. An application that leaves the bus takes its badge with it. Counts that are negative,
// larger than `largestCount` or not integers, and visibilities that are not booleans, are ignored with one
// log line. Listening starts with the first `read`, which answers once it listens; readings never lack
// access.
class LauncherEntryCounts final : public UnreadMessages {
    Q_OBJECT
public:
    static constexpr qint64 largestCount = 100'000;

    // `workspace` outlives this object.
    LauncherEntryCounts(LazyDBusConnection session, Workspace& workspace, QObject* parent = nullptr);

    void read(QObject* context, std::function<void(Reading)> done) override;
    // Opens the application with the highest visible count, or the desktop's mail application when none has
    // one.
    void open() override;
    void openAccessSettings() override {}

    [[nodiscard]] int total() const;
    // The desktop file id in a badge's application address ("application://org.gnome.Evolution.desktop").
    [[nodiscard]] static std::optional<QString> desktopId(const QString& appUri);

    // What the properties of an `Update` signal from `appUri` say of its badge: the count and the visibility,
    // each only when given and usable.
    struct BadgeUpdate {
        std::optional<qint64> count;
        std::optional<bool> visible;
    };
    [[nodiscard]] static BadgeUpdate badgeUpdate(const QString& appUri, const QVariantMap& properties);

private Q_SLOTS:
    void update(const QString& appUri, const QVariantMap& properties, const QDBusMessage& message);

private:
    struct Badge {
        QString sender;
        qint64 count = 0;
        bool visible = false;
    };

    void listen(const QDBusConnection& bus);
    void forget(const QString& sender);

    LazyDBusConnection m_session;
    Workspace& m_workspace;
    QDBusServiceWatcher m_senders;
    bool m_listening = false;
    // Readings asked for before the first subscription, answered once it is made.
    std::vector<std::function<void()>> m_waiting;
    QHash<QString, Badge> m_badges; // by application address
};
