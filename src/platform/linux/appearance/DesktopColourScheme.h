#pragma once

#include "core/ProcessRunner.h"
#include "platform/linux/dbus/LazyDBusConnection.h"

#include <QDBusMessage>
#include <QDBusVariant>
#include <QObject>
#include <QProcess>
#include <chrono>
#include <functional>

// Whether the desktop prefers dark: the desktop portal's "color-scheme" appearance setting (1 is dark),
// followed through its SettingChanged signal; where no portal answers, GNOME's colour scheme setting, read
// with `gsettings` and followed by a `gsettings monitor` child. Anything unreadable is light.
//
// Main thread only; `changed` fires when the portal or the monitor reports a new colour scheme.
class DesktopColourScheme final : public QObject {
    Q_OBJECT
public:
    // `session` is the bus the portal is on; `gsettings` that program's path, empty where it is missing.
    DesktopColourScheme(LazyDBusConnection session, ProcessRunner& runner, QString gsettings,
                        std::chrono::milliseconds timeout, QObject* parent = nullptr);
    ~DesktopColourScheme() override;

    // Returns at once; `answer` runs later on the main thread.
    void read(std::function<void(bool)> answer);

    // The dark preference in a portal reply: the value may come wrapped in one or two variants.
    [[nodiscard]] static std::optional<bool> portalPrefersDark(const QDBusMessage& reply);

Q_SIGNALS:
    void changed();

private Q_SLOTS:
    void settingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    void readGnomeSetting(std::function<void(bool)> answer);
    void listen(const QDBusConnection& bus);
    void monitorGnomeSetting();

    LazyDBusConnection m_session;
    ProcessRunner& m_runner;
    QString m_gsettings;
    std::chrono::milliseconds m_timeout;
    bool m_noPortal = false;
    bool m_listening = false;
    QProcess m_monitor;
};
