#pragma once

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

// One shortcut as the global shortcuts portal passes it, the D-Bus struct (sa{sv}): its id and its
// properties ("description", "preferred_trigger" one way, "trigger_description" back).
struct PortalShortcut {
    QString id;
    QVariantMap properties;

    // Makes lists of shortcuts known to QtDBus; idempotent, any thread.
    static void registerType();
};

using PortalShortcuts = QList<PortalShortcut>;

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut);

Q_DECLARE_METATYPE(PortalShortcut)
