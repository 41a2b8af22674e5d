#pragma once

#include "actions/AppActivator.h"
#include "actions/AudioOutput.h"
#include "actions/BluetoothConnect.h"
#include "actions/SceneQueue.h"
#include "actions/SystemActions.h"
#include "core/ProcessRunner.h"
#include "model/Models.h"
#include "platform/Clipboard.h"
#include "platform/MusicBridge.h"
#include "platform/Workspace.h"

#include <QObject>

// Turns a tile's action into its effect on the machine. Scenes run their steps one after another on the
// scene queue, and only one scene runs at a time.
class ActionRunner final : public QObject {
    Q_OBJECT

public:
    struct Services {
        ProcessRunner& processes;
        Workspace& workspace;
        AppActivator& apps;
        SystemActions& systemActions;
        MusicBridge& music;
        AudioOutput& audio;
        BluetoothConnector& bluetooth;
        Clipboard& clipboard;
        SceneQueue& scenes;
    };

    static constexpr std::chrono::milliseconds pauseBetweenSteps{250};

    explicit ActionRunner(Services services, QObject* parent = nullptr);

    // Starts the action's effect and returns; never waits for an external program. Main thread only.
    void execute(const TileAction& action);

    [[nodiscard]] bool isSceneInFlight() const { return m_sceneInFlight; }

    // The address a web tile opens: trimmed, with "https://" in front when it names no scheme; nothing
    // when even that is no address.
    [[nodiscard]] static std::optional<QUrl> webAddress(const QString& urlString);

Q_SIGNALS:
    // A scene was accepted (true) or has run its last step (false).
    void sceneInFlightChanged(bool inFlight);
    // The play/pause tile was pressed; what is playing is about to change.
    void nowPlayingToggled();

private:
    void runScene(const std::vector<TileAction>& steps);
    // Runs one step on the scene queue: programs are awaited, everything else runs on the main thread.
    void runSceneStep(const TileAction& step);
    void switchAudioOutput(const QString& deviceUid);

    Services m_services;
    bool m_sceneInFlight = false;
};
