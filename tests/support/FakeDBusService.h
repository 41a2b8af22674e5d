#pragma once

#include <QDBusConnection>
#include <QHash>
#include <QMutex>
#include <QObject>
#include <QThread>
#include <QVariantList>
#include <memory>
#include <optional>
#include <vector>

// A service of the test's making on a private bus. It answers the calls the test scripted from a thread of
// its own, so the code under test may block the main thread waiting for it, and records every call.
class FakeDBusService final : public QObject {
    Q_OBJECT
public:
    struct Call {
        QString path;
        QString method; // interface and member: "org.bluez.Device1.Connect"
        QVariantList arguments;
        QString sender; // the caller's unique name
    };

    // Owns `serviceName` on `connection` and handles every object path.
    FakeDBusService(QDBusConnection connection, const QString& serviceName);
    ~FakeDBusService() override;

    // Calls the test did not script get an error reply.
    void answer(const QString& path, const QString& method, const QVariantList& replyArguments = {});
    void neverAnswer(const QString& path, const QString& method);
    // Emits a signal from the service's own connection.
    void emitSignal(const QString& path, const QString& interface, const QString& name,
                    const QVariantList& arguments);

    [[nodiscard]] std::vector<Call> callsTo(const QString& method) const;
    // Waits, a few seconds at most, until `method` has been called `count` times in all.
    [[nodiscard]] bool waitForCalls(const QString& method, std::size_t count);
    // Returns once `client` has received and handled every reply the service sent so far. Asynchronous calls
    // still waiting for their replies when a test ends would outlive it.
    void settle(const QDBusConnection& client);

Q_SIGNALS:
    void called();

private:
    class Objects;

    QDBusConnection m_connection;
    QString m_serviceName;
    QThread m_thread;
    std::unique_ptr<Objects> m_objects;
    mutable QMutex m_mutex;
    QHash<QString, std::optional<QVariantList>> m_answers; // by path and method; nothing: never answered
    std::vector<Call> m_calls;
};
