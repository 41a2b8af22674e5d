#pragma once

#include "FakeDevices.h"
#include "FakeMusicBridge.h"
#include "FakeProcessRunner.h"
#include "FakeSceneQueue.h"
#include "FakeWindows.h"
#include "FakeWorkspace.h"
#include "actions/ActionChain.h"
#include "platform/macos/MacWordings.h"

// The deck's action chain wired to fakes of every service it reaches, for tests. It speaks the Mac's
// wordings, which the tests pin to the letter.
struct ActionMachinery {
    static constexpr qint64 ownPid = 4242;

    explicit ActionMachinery(Preferences& preferences)
        : chain({processes, workspace, windows, preferences, alerts, macWordings(), music, audioSystem,
                 bluetoothService, controls, clipboard, scenes, ownPid})
    {
    }

    FakeProcessRunner processes;
    FakeWorkspace workspace;
    FakeWindows windows;
    FakeAudioSystem audioSystem;
    FakeBluetooth bluetoothService;
    FakeSystemControls controls;
    FakeClipboard clipboard;
    FakeAlertPresenter alerts;
    FakeMusicBridge music;
    FakeSceneQueue scenes;

    ActionChain chain;
    AudioOutput& audio = chain.audio;
    BluetoothConnector& bluetooth = chain.bluetooth;
    SystemActions& systemActions = chain.systemActions;
    AppActivator& apps = chain.apps;
    ActionRunner& runner = chain.runner;
};
