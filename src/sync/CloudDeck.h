#pragma once

#include "core/SerialQueue.h"
#include "model/TileStore.h"
#include "sync/CloudReading.h"
#include "sync/CloudTexts.h"
#include "transfer/DeckTransfer.h"

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class AlertPresenter;
class Clock;
class DeckSettings;
class StarterHint;
class WakeWatch;
struct PlatformWordings;

// Keeps the deck (pages, tiles, grid and custom icons) the same on every machine of the user through one deck
// file in a folder that a sync client keeps the same everywhere. Each pass reads the file, compares
// fingerprints with those remembered from the last agreement and then uploads the local deck, applies the
// shared one (backing up the layout it replaces) or leaves both alone. Passes never overlap.
//
// Main thread only; file work runs on a serial queue of its own. `isOnChanged` and `statusChanged` fire when
// those values change; `passFinished` after every pass.
class CloudDeck final : public QObject {
    Q_OBJECT

public:
    // The answer to the switch-on question.
    enum class Side {
        cloud, // use the shared deck
        local, // keep this machine's
    };
    // How an upload ended.
    enum class Upload {
        written,
        tooLarge, // larger than any reader takes: nothing was written
        failed,
    };
    // Asks the switch-on question; nothing means cancel.
    using Chooser = std::function<std::optional<Side>(const Alert& question)>;

    struct Services {
        TileStore& store;
        DeckSettings& settings;
        StarterHint& starterHint;
        const Clock& clock;
        AlertPresenter& alerts;
        const PlatformWordings& wordings;
        QString iconsDir;
        DeckTransfer::Vet vet;
        // The synced folder now: the chosen folder, or on a Mac its iCloud Drive.
        std::function<QString()> driveRoot;
        std::function<std::unique_ptr<WakeWatch>()> createWakeWatch;
        // Safe on any thread.
        std::function<QString()> machineName;
    };

    static constexpr std::chrono::seconds period{30};
    static constexpr std::chrono::seconds editDelay{2};
    static constexpr std::chrono::seconds startDelay{3};

    explicit CloudDeck(Services services, QObject* parent = nullptr);
    ~CloudDeck() override;

    [[nodiscard]] bool isOn() const { return m_isOn; }
    [[nodiscard]] const QString& status() const { return m_status; }
    [[nodiscard]] bool isRunning() const { return m_running; }
    [[nodiscard]] bool isTurningOn() const { return m_turningOn; }
    [[nodiscard]] bool isSendPending() const { return m_pendingSend.isActive(); }
    [[nodiscard]] QString localFingerprint() const;

    // At start-up: when on, watch and pass `startDelay` later.
    void startIfOn();
    // The user's switch. On: reads the folder, asks `choose` when both sides hold different decks, shows
    // why through the alerts when the folder cannot be used, then turns on; `done` is called on every ending,
    // with whether sync is on. Ignored while a switch-on runs. Off: `turnOff`.
    void setCloudDeck(bool on, Chooser choose = {}, std::function<void(bool)> done = {});
    void turnOn(Side keeping, const CloudRemote& from);
    void turnOff();
    // Asks for a pass.
    void check();
    // Reads the folder on the queue and hands what it found to `done` on the main thread.
    void inspect(std::function<void(CloudRemote)> done);

    // Whether the tile may run. A script that came with a synced deck is off until the user allows the
    // held scripts, which this asks for with an alert.
    [[nodiscard]] bool mayRun(const Tile& tile);
    // Turns on every script that came with a synced deck.
    void allowScripts();

    // Whether the user is editing the deck, which holds an update back.
    void setEditingCheck(std::function<bool()> isEditing) { m_isEditing = std::move(isEditing); }
    // Rebuilds the panel after an applied deck changed the grid.
    void setPanelRebuild(std::function<void()> rebuild) { m_rebuildPanel = std::move(rebuild); }

    // The debounce timer's handler: the pass after the last edit.
    void sendDue();
    // The queue the file work runs on, the storing of the shared deck's icons included: for other icon work
    // that must keep to its order, and for tests to wait on.
    [[nodiscard]] SerialQueue& queue() { return m_queue; }

Q_SIGNALS:
    void isOnChanged(bool on);
    void statusChanged(const QString& status);
    void passFinished();

private:
    void startWatching();
    void stopWatching();
    void pagesChanged(TileStore::ChangeOrigin origin);
    void reconcile(const CloudRemote& remote);
    void record(const CloudRemote& remote);
    void send();
    void sent(Upload upload, qint64 revision, const QString& print);
    void apply(const CloudRemote& remote);
    void replaceWith(const CloudRemote& remote, Pages pages, const QString& printAtDecision);
    void keepSharedAsBackup(const CloudRemote& remote);
    // Shows how many tiles' scripts are held, `sourceName` being where they came from when known; true
    // when none is held any more.
    bool askToAllowScripts(const QString& sourceName);
    void answerSwitch(const CloudRemote& remote, const Chooser& choose);
    // The layout could not be written: the pass ends without recording an agreement.
    void layoutNotSaved();
    void finish();
    void raiseRevision(qint64 seen);
    void setOn(bool on);
    void setStatus(const QString& status, bool passing);
    void settleIfPassing();
    [[nodiscard]] bool localIsReal();
    [[nodiscard]] QString deviceID();
    [[nodiscard]] CloudTexts texts() const;
    [[nodiscard]] double editTime() const;

    Services m_services;
    bool m_isOn = false;
    QString m_status;
    bool m_statusIsPassing = false;
    bool m_running = false;
    bool m_again = false;
    bool m_applying = false;
    bool m_turningOn = false;
    bool m_watching = false;
    std::optional<bool> m_localIsReal;
    mutable std::optional<QString> m_localPrint;
    // The local deck that was last found too large to share.
    QString m_tooLargePrint;
    std::function<bool()> m_isEditing = [] { return false; };
    std::function<void()> m_rebuildPanel = [] {};
    QTimer m_timer;
    QTimer m_pendingSend;
    QTimer m_firstPass;
    std::unique_ptr<WakeWatch> m_wake;
    // Used by the queue's jobs alone; declared before the queue, whose destructor waits for them.
    std::shared_ptr<CloudReading> m_reading = std::make_shared<CloudReading>();
    SerialQueue m_queue;
};
