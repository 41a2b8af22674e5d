#pragma once

#include "FakeDevices.h"
#include "FakeMusicBridge.h"
#include "FakeProcessRunner.h"
#include "FakeSceneQueue.h"
#include "FakeWindows.h"
#include "FakeWorkspace.h"
#include "actions/ActionRunner.h"
#include "platform/macos/MacWordings.h"

// An action runner wired to fakes of every service it reaches, for tests. It speaks the Mac's wordings, which
// the tests pin to the letter.
struct ActionMachinery {
    static constexpr qint64 ownPid = 4242;

    explicit ActionMachinery(Preferences& preferences)
        : apps({workspace, windows, preferences, alerts, macWordings()})
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

    AudioOutput audio{audioSystem};
    BluetoothConnector bluetooth{bluetoothService};
    WindowSnap snap{windows, ownPid};
    SystemActions systemActions{controls, snap};
    AppActivator apps;
    ActionRunner runner{
        {processes, workspace, apps, systemActions, music, audio, bluetooth, clipboard, scenes}};
};
