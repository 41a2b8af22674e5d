#pragma once

#include "core/ReadOrder.h"
#include "model/Models.h"
#include "platform/TileStateSources.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>
#include <chrono>
#include <optional>

class TileStore;

// The live state behind the tiles' lights: which applications run, which Bluetooth devices are connected,
// the default output and its mute, the dark appearance and whether music plays. Only what some tile of the
// store can show is read. Running applications, and whatever else the sources report by themselves, follow
// their reports; the rest is polled every 5 s while some tile shows it. Everything shown is read again 0.6 s
// after `refreshSoon`.
//
// Main thread only. `changed` fires once for every answer that changes a published value, never for one that
// changes nothing.
class TileStateProvider final : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds pollInterval{5000};
    static constexpr std::chrono::milliseconds refreshDelay{600};

    TileStateProvider(TileStateSources& sources, const TileStore& store, QObject* parent = nullptr);

    // Begins tracking; later calls do nothing.
    void start();
    // Polls once, 0.6 s from now; calls within that time share the one poll.
    void refreshSoon();
    // On or off for a tile with this action, or nothing when such a tile has no light.
    [[nodiscard]] std::optional<bool> isActive(const std::optional<TileAction>& action) const;
    void setMusicPlaying(bool playing);

    // The poll timer's handler: reads Bluetooth, and the output and the appearance where the sources do not
    // report them, each where a tile shows it.
    void poll();

    [[nodiscard]] const QSet<QString>& runningApps() const { return m_runningApps; }
    [[nodiscard]] const QSet<QString>& connectedBluetooth() const { return m_connectedBluetooth; }
    [[nodiscard]] bool isMuted() const { return m_output.muted; }
    [[nodiscard]] const std::optional<QString>& defaultOutputUID() const { return m_output.defaultUID; }
    [[nodiscard]] bool isDarkMode() const { return m_darkMode; }
    [[nodiscard]] bool isMusicPlaying() const { return m_musicPlaying; }
    [[nodiscard]] const QTimer& pollTimer() const { return m_pollTimer; }
    [[nodiscard]] const QTimer& refreshTimer() const { return m_refreshTimer; }

Q_SIGNALS:
    void changed();

private:
    // What the store's tiles can show.
    struct Needs {
        QStringList applicationPaths;
        bool bluetooth = false;
        bool output = false;
        bool darkMode = false;
    };
    [[nodiscard]] Needs needsOfStore() const;
    void storeChanged();
    // The needs that the sources do not report by themselves.
    [[nodiscard]] Needs polledNeeds() const;
    void pollWhileNeeded();
    void readAll();
    void read(const Needs& needs);
    void readApplications();
    void readBluetooth();
    void readOutput();
    void readDarkMode();
    template <typename Value>
    void publish(Value& current, Value value);

    TileStateSources& m_sources;
    const TileStore& m_store;
    Needs m_needs;
    bool m_started = false;
    QTimer m_pollTimer;
    QTimer m_refreshTimer;
    ReadOrder m_applicationReads;
    ReadOrder m_bluetoothReads;
    ReadOrder m_outputReads;
    ReadOrder m_darkModeReads;
    QSet<QString> m_runningApps;
    QSet<QString> m_connectedBluetooth;
    TileStateSources::Output m_output;
    bool m_darkMode = false;
    bool m_musicPlaying = false;
};
