#pragma once

#include "FakeDBusService.h"
#include "platform/linux/hotkeys/PortalShortcut.h"

#include <map>

// The desktop portal's global shortcuts on a private bus, answering as the portal does: each request through
// the Response signal of the request object its caller expects. Methods not scripted get an error reply.
class FakeShortcutsPortal final {
public:
    static const QString path;
    static const QString createSession; // interface and member, as `FakeDBusService` records calls
    static const QString bindShortcuts;
    static const QString sessionPath;

    explicit FakeShortcutsPortal(QDBusConnection connection);

    [[nodiscard]] FakeDBusService& service() { return m_service; }
    // Scripts `version`, CreateSession and BindShortcuts.
    void offer();
    // Waits for the next call of `method` the test has not waited for yet.
    [[nodiscard]] bool waitForNext(const QString& method);
    // Waits for the next call of `method` and sends the request's Response.
    [[nodiscard]] bool respond(const QString& method, uint code, const QVariantMap& results = {});
    [[nodiscard]] bool createTheSession();
    // Answers the next CreateSession as Plasma's portal does: it binds the shortcuts the session is made with
    // and lists what it bound in the answer.
    [[nodiscard]] bool createTheSessionBinding(const PortalShortcuts& bound);
    [[nodiscard]] bool bind(const PortalShortcuts& bound);
    // Emits `name` (Activated, ShortcutsChanged) from the portal object.
    void emitShortcutSignal(const QString& name, const QVariantList& arguments);

    [[nodiscard]] static PortalShortcut bound(const QString& id, const QString& trigger);

private:
    FakeDBusService m_service;
    std::map<QString, std::size_t> m_waitedFor; // calls by method
};
