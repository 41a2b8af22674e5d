#pragma once

#include "core/Poller.h"
#include "core/net/SingleFetch.h"

#include <QObject>
#include <QString>
#include <chrono>
#include <optional>

class DeckSettings;

// The machine's public address, as the echo service at the `publicIPURL` preference answers it in plain
// text, asked at once and every five minutes while started. A failed request (no answer within the
// deadline, an error, a body that is no address, an address that breaks `Endpoint`'s rule) keeps the last
// address; only with none ever seen does the engine count as failed. One request at most is out at a time.
//
// Main thread only. `changed` fires when the address, the failure or the pending state changes.
class PublicIPEngine final : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::seconds interval{300};
    static constexpr std::chrono::seconds defaultTimeout{8};
    // Longer answers are not an address, whatever they hold.
    static constexpr qint64 maxAnswerBytes = 64;

    explicit PublicIPEngine(const DeckSettings& settings, std::chrono::milliseconds timeout = defaultTimeout,
                            QObject* parent = nullptr);

    // Asks at once and then on every tick; does nothing while already started.
    void start();
    // Stops asking; the address stays. A request already out still lands.
    void stop();
    [[nodiscard]] bool isRunning() const { return m_poller.isRunning(); }
    // What the timer does on each tick: asks, unless a request is still out.
    void fetch();
    // What the deadline of the request that is out does.
    void abandonRequest() { m_fetch.abandon(); }
    [[nodiscard]] bool isFetching() const { return m_fetch.isBusy(); }

    [[nodiscard]] const std::optional<QString>& ip() const { return m_ip; }
    [[nodiscard]] bool failed() const { return m_failed; }
    // Before the first answer of all.
    [[nodiscard]] bool isPending() const { return !m_ip && !m_failed; }
    // The module's value: the address, "—" when failed, "…" while the first answer is pending.
    [[nodiscard]] QString text() const;

    // The address in an echo service's answer: the body trimmed of white space, when it looks like an IPv4
    // address (four non-empty dot-separated parts) or holds a ":" (any IPv6 form).
    [[nodiscard]] static std::optional<QString> addressIn(const QByteArray& body);

Q_SIGNALS:
    void changed();

private:
    void apply(const std::optional<QString>& address);

    const DeckSettings& m_settings;
    SingleFetch m_fetch;
    Poller m_poller{interval, [this] { fetch(); }};
    std::optional<QString> m_ip;
    bool m_failed = false;
};
