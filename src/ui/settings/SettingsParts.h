#pragma once

#include "model/DeckOptions.h"
#include "model/LayoutBackups.h"

#include <functional>
#include <vector>

class CloudDeck;
class DeckSettings;
class PhosphorFont;
class QWidget;
struct PlatformWordings;

// What the settings window's buttons and switches do beyond writing a preference: the deck-level commands
// and the windows and previews they open.
struct SettingsCommands {
    std::function<void(bool on)> setLaunchAtLogin;
    std::function<void(int columns, int rows)> setGrid;
    std::function<void(TileSizeOption size)> setTileSize;
    std::function<void(bool show)> setShowBand;
    std::function<void()> enableWindowRestore;
    std::function<void(const LayoutBackups::BackupEntry& entry)> restoreBackup;
    std::function<void()> exportDeck;
    std::function<void()> importDeck;
    std::function<void(bool on)> setCloudDeck;
    std::function<void()> chooseCloudFolder;
    std::function<void()> showShortcuts;
    std::function<void()> customizeBand;
    std::function<void()> seeDealNow;
    std::function<void()> previewTransition;
    std::function<void()> resetDeckPosition;
};

// What the settings window shows and where its controls go. Everything must outlive the window.
struct SettingsParts {
    DeckSettings& settings;
    CloudDeck& cloud;
    const PlatformWordings& wordings;
    PhosphorFont& font;
    // Whether the session starts the deck at login now.
    std::function<bool()> launchesAtLogin;
    // Whether app tiles can bring minimized windows forward here.
    std::function<bool()> canRestoreWindows;
    // Whether the synced folder is there.
    std::function<bool()> cloudDriveExists;
    // The layout backups, newest first.
    std::function<std::vector<LayoutBackups::BackupEntry>()> backups;
    // Makes the content of the "Feedback" tab.
    std::function<QWidget*()> feedback;
    SettingsCommands commands;
};
