#pragma once

#include "actions/AudioOutput.h"
#include "actions/BluetoothConnect.h"
#include "deck/EditorState.h"

#include <QStringList>
#include <QWidget>
#include <optional>
#include <span>
#include <vector>

class InstalledApplications;
class MusicBridge;
class ProcessRunner;
class QComboBox;
class QLabel;
class QListWidget;
class QStackedWidget;
struct PlatformWordings;

// The action part of the tile editor and of the scene step sheet: a picker of the offered kinds and the
// chosen kind's fields, bound to an editor state that it changes as the user types and picks. A kind's
// fields are built when the kind is first shown, and the lists they offer (playlists, albums, shortcuts,
// devices) are asked for then; an answer that arrives after the form is gone is dropped.
//
// Main thread only. `changed` fires after every change the user makes to the state.
class ActionForm final : public QWidget {
    Q_OBJECT
public:
    struct Services {
        MusicBridge& music;
        ProcessRunner& processes;
        AudioSystem& audio;
        Bluetooth& bluetooth;
        const ApplicationNames& names;
        const InstalledApplications& applications;
        const PlatformWordings& wordings;
    };

    // The state's own kind is offered too when `kinds` lacks it, so that nothing loaded is lost.
    ActionForm(Services services, EditorState& state, std::span<const ActionKind> kinds,
               QWidget* parent = nullptr);

    // Shows the state's kind and fields again, after the state changed elsewhere (a preset was applied).
    void reload();

Q_SIGNALS:
    void changed();

private:
    void showKind(ActionKind kind);
    void followKindPickerInTabOrder(QWidget& page);
    [[nodiscard]] QWidget* makePage(ActionKind kind);
    [[nodiscard]] QWidget* makeAppPage();
    [[nodiscard]] QWidget* makeFilePage();
    [[nodiscard]] QWidget* makeUrlPage();
    [[nodiscard]] QWidget* makePlaylistPage();
    [[nodiscard]] QWidget* makeAlbumPage();
    [[nodiscard]] QWidget* makeSystemPage();
    [[nodiscard]] QWidget* makeBluetoothPage();
    [[nodiscard]] QWidget* makeAudioOutputPage();
    [[nodiscard]] QWidget* makeSnippetPage();
    [[nodiscard]] QWidget* makeShortcutPage();
    [[nodiscard]] QWidget* makeScriptPage();
    [[nodiscard]] QWidget* makeScenePage();

    void chooseApplication();
    void showApplication();
    void chooseFilePath(bool folder);
    void showAlbumMatches();
    void showSceneSteps();
    // Opens the step sheet on the step at `at`, or on a new step.
    void editStep(std::optional<int> at);
    void edited();

    Services m_services;
    EditorState& m_state;
    std::vector<ActionKind> m_kinds;
    QComboBox* m_kindPicker = nullptr;
    QStackedWidget* m_pages = nullptr;
    // The page of each kind once built, by the kind's value.
    std::vector<QWidget*> m_built;

    QLabel* m_appPath = nullptr;
    QLabel* m_filePath = nullptr;
    QLabel* m_albumStatus = nullptr;
    QLabel* m_albumChosen = nullptr;
    QListWidget* m_albumList = nullptr;
    QListWidget* m_steps = nullptr;
    QComboBox* m_playlists = nullptr;
    QComboBox* m_shortcuts = nullptr;
    QComboBox* m_bluetoothDevices = nullptr;
    QComboBox* m_outputs = nullptr;

    std::optional<QStringList> m_playlistNames;
    std::optional<QStringList> m_shortcutNames;
    std::optional<std::vector<Bluetooth::Device>> m_pairedDevices;
    std::optional<std::vector<AudioOutput::Device>> m_outputDevices;
    bool m_albumsLoaded = false;
};
