#pragma once

#include "actions/ActionRunner.h"
#include "actions/AppActivator.h"
#include "actions/AudioOutput.h"
#include "actions/BluetoothConnect.h"
#include "actions/SystemActions.h"
#include "actions/WindowSnap.h"

// Everything a tile's action reaches, wired once to the runner that runs it: the sound outputs, Bluetooth,
// the windows, the system actions and the applications. The deck's root builds one on the platform's
// services; tests build one on fakes.
//
// Main thread only.
struct ActionChain {
    struct Services {
        ProcessRunner& processes;
        Workspace& workspace;
        Windows& windows;
        Preferences& preferences;
        AlertPresenter& alerts;
        const PlatformWordings& wordings;
        MusicBridge& music;
        AudioSystem& audio;
        Bluetooth& bluetooth;
        SystemControls& controls;
        Clipboard& clipboard;
        SceneQueue& scenes;
        // This program, whose own windows a snap leaves alone.
        qint64 ownPid = 0;
        bool waylandSession = false;
    };

    explicit ActionChain(const Services& services);

    AudioOutput audio;
    BluetoothConnector bluetooth;
    WindowSnap snap;
    SystemActions systemActions;
    AppActivator apps;
    ActionRunner runner;
};
