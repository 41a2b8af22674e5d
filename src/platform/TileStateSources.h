#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The desktop state that tiles light up for: running applications, connected Bluetooth devices, the default
// sound output and the dark appearance.
//
// Main thread only. Every read returns at once and calls its `answer` exactly once, later, on the main
// thread; the caller guards anything `answer` captures against its own destruction. A read that fails, or a
// service that is missing or vanishes while answering, answers the off value (empty set, false, no id).
// The signals say that the desktop reported a change by itself; whoever shows the state reads it again.
class TileStateSources : public QObject {
    Q_OBJECT
public:
    struct Output {
        bool muted = false;
        std::optional<QString> defaultUID; // the default output's persistent identifier
        bool operator==(const Output&) const = default;
    };

    // What the desktop reports by itself through the signals below. What it does not report is read again
    // every few seconds while a tile shows it; running applications are always reported.
    struct Reports {
        bool output = false;
        bool darkMode = false;
    };

    using QObject::QObject;

    [[nodiscard]] virtual Reports reports() const { return {}; }

    // Lower-case addresses of the paired devices that are connected.
    virtual void readConnectedBluetooth(std::function<void(QSet<QString>)> answer) = 0;
    virtual void readOutput(std::function<void(Output)> answer) = 0;
    virtual void readDarkMode(std::function<void(bool)> answer) = 0;
    // Those of `paths` (application paths, as the workspace knows them) whose application runs, each spelled
    // as given.
    virtual void readRunningApplications(const QStringList& paths,
                                         std::function<void(QSet<QString>)> answer) = 0;
    // The application paths to watch for launches and exits; empty stops the watch.
    virtual void followApplications(const QStringList& paths) = 0;

Q_SIGNALS:
    // One of the followed applications started or ended.
    void applicationsChanged();
    // The default output or its mute changed.
    void outputChanged();
    void darkModeChanged();
};

// A desktop without any of these: everything reads off.
class NullTileStateSources final : public TileStateSources {
    Q_OBJECT
public:
    using TileStateSources::TileStateSources;

    // Nothing here ever changes.
    [[nodiscard]] Reports reports() const override { return {.output = true, .darkMode = true}; }
    void readConnectedBluetooth(std::function<void(QSet<QString>)> answer) override;
    void readOutput(std::function<void(Output)> answer) override;
    void readDarkMode(std::function<void(bool)> answer) override;
    void readRunningApplications(const QStringList& paths,
                                 std::function<void(QSet<QString>)> answer) override;
    void followApplications(const QStringList&) override {}
};
