#pragma once

#include "platform/HotKeys.h"
#include "platform/linux/dbus/LazyDBusConnection.h"

#include <QDBusMessage>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <memory>
#include <optional>

class QDBusServiceWatcher;
struct PortalShortcut;

// Global keys that the desktop binds for the program through the desktop portal's global shortcuts, the way
// to have them on Wayland, where no program may grab keys: one session for the life of the object, and the
// keys registered in one turn of the event loop bound in one request. The session is made with the keys
// registered by then: Plasma binds those and answers them there (a later binding without a parent window
// binds nothing on Plasma and opens its shortcut settings instead); other portals bind on request. The
// desktop may ask the user first and bind other keys than the ones asked for, or only some of them;
// `triggers()` says what it bound. A portal that refuses, stays silent or leaves the bus leaves the keys off
// with a log line, and nothing else changes.
//
// Main thread only.
class PortalGlobalShortcuts final : public GlobalHotKeys {
    Q_OBJECT
public:
    // How long a request may wait for its answer; binding may show the user a dialog first.
    static constexpr std::chrono::seconds answerTimeout{30};

    explicit PortalGlobalShortcuts(LazyDBusConnection bus, QObject* parent = nullptr);
    ~PortalGlobalShortcuts() override;

    // The version of the global shortcuts portal on `bus`; none when there is no such portal or it does not
    // answer within `timeout`. Waits for the answer.
    [[nodiscard]] static std::optional<unsigned> offeredVersion(const QDBusConnection& bus,
                                                                std::chrono::milliseconds timeout);

    // Queues the key for binding; false only once the portal has turned the keys off.
    bool registerKey(std::uint32_t keyCode, std::uint32_t modifiers, std::uint32_t id,
                     const HotKeyName& name) override;
    [[nodiscard]] HotKeyMechanism mechanism() const override { return HotKeyMechanism::portal; }
    [[nodiscard]] std::map<std::uint32_t, QString> triggers() const override { return m_triggers; }

    // Binds every key registered so far; runs from the zero-time timer that registrations start.
    void bindRegistered();
    // Gives up the request in flight; runs when it has waited `answerTimeout`.
    void answerTimedOut();

private Q_SLOTS:
    void handleResponse(const QDBusMessage& message);
    void handleActivated(const QDBusMessage& message);
    void handleShortcutsChanged(const QDBusMessage& message);

private:
    enum class Step { idle, creatingSession, binding, bound, off };
    struct Key {
        std::uint32_t keyCode = 0;
        std::uint32_t modifiers = 0;
        HotKeyName name;
    };

    void createSession();
    void bind();
    [[nodiscard]] QVariant shortcutsToBind() const;
    void request(Step step, const QString& method, QDBusMessage call, const QString& token);
    void listenTo(const QString& requestPath);
    void stopListening();
    void takeSession(const QVariantMap& results);
    void takeBound(const QVariantMap& results);
    // A binding answers for every key; a change names only the keys that changed.
    enum class Update { all, listed };
    void setTriggers(const QList<PortalShortcut>& bound, Update update);
    void turnOff(const QString& why);
    [[nodiscard]] std::optional<std::uint32_t> idOf(const QString& shortcutId) const;
    [[nodiscard]] bool isOurs(const QVariant& sessionHandle) const;

    LazyDBusConnection m_bus;
    QTimer m_bindTimer;
    QTimer m_answerTimer;
    Step m_step = Step::idle;
    // Keys registered while the session was made or a binding was in flight are bound once it is answered.
    bool m_bindAgain = false;
    QString m_method;           // of the request in flight, for the log
    QStringList m_requestPaths; // where the request in flight may answer
    QString m_session;
    std::map<std::uint32_t, Key> m_keys; // by id
    std::map<std::uint32_t, QString> m_triggers;
    std::unique_ptr<QDBusServiceWatcher> m_portalWatch;
};
