#pragma once

#include "platform/Location.h"
#include "platform/linux/dbus/LazyDBusConnection.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>
#include <vector>

class ProcessRunner;

// The location GeoClue 2 gives on the system bus at city accuracy: a client is made, started, and stopped
// again after its first position (or after `deadline` without one). The desktop's agent may ask the user
// first; its refusal answers `denied`, a bus without GeoClue `unavailable`. The location settings are GNOME's
// (`gnome-control-center location`) where that program is installed.
//
// Main thread only.
class GeoClueLocation final : public QObject, public Location {
    Q_OBJECT
public:
    static constexpr std::chrono::seconds defaultDeadline{60};
    // GeoClue's accuracy level for a city.
    static constexpr uint cityAccuracy = 4;

    // `controlCenter` is the gnome-control-center program, or empty where it is missing.
    GeoClueLocation(LazyDBusConnection bus, ProcessRunner& processes, QString controlCenter,
                    std::chrono::milliseconds deadline = defaultDeadline, QObject* parent = nullptr);

    void locate(std::function<void(Answer)> answer) override;
    [[nodiscard]] bool canOpenSettings() const override { return !m_controlCenter.isEmpty(); }
    void openSettings() override;

    // What the deadline does: the request that is out answers `failed`.
    void giveUp();

private Q_SLOTS:
    void locationUpdated(const QDBusObjectPath& previous, const QDBusObjectPath& current);

private:
    [[nodiscard]] std::chrono::milliseconds stepTimeout() const;
    // Sends `message` and goes on with its reply; an error ends the request.
    void then(const QDBusMessage& message, std::function<void(const QDBusMessage&)> next);
    void setClientProperty(const QString& name, const QVariant& value, std::function<void()> next);
    void startClient();
    void readPosition(const QDBusMessage& reply);
    void finish(Answer answer);

    LazyDBusConnection m_bus;
    ProcessRunner& m_processes;
    QString m_controlCenter;
    QTimer m_deadline;
    QString m_client;
    // Which request a reply belongs to: one given up on may still hear back.
    quint64 m_request = 0;
    std::vector<std::function<void(Answer)>> m_waiting;
};
