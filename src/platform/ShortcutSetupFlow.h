#pragma once

#include "platform/KeyboardShortcutSetup.h"

#include <QObject>
#include <functional>
#include <vector>

class AlertPresenter;

// "Set Up Keyboard Shortcuts…" and "Remove Keyboard Shortcuts", offered where the deck cannot hear its keys
// itself but can set up the desktop's own shortcuts, and the alerts that say what they did. The deck's menu
// and the Keyboard Shortcuts window show `items()`.
//
// Main thread only; the desktop's settings are read and written on the background queue. `changed` fires
// once a look at what is installed, a set-up or a removal has finished.
class ShortcutSetupFlow final : public QObject {
    Q_OBJECT
public:
    struct Services {
        KeyboardShortcutSetup& setup; // outlives the flow
        AlertPresenter& alerts;       // outlives the flow
        // The companion the shortcuts run; asked on the background queue, as it looks at the disk.
        std::function<QString()> companion;
        // Whether this session needs the desktop's own shortcuts.
        std::function<bool()> offered;
    };
    struct Item {
        QString title;
        bool enabled = true; // false while a change runs
        std::function<void()> choose;
    };

    explicit ShortcutSetupFlow(Services services, QObject* parent = nullptr);

    // Nothing when not offered; "Remove Keyboard Shortcuts" only once ours were found. The first call looks
    // for ours.
    [[nodiscard]] std::vector<Item> items();
    [[nodiscard]] bool isInstalled() const { return m_installed; }
    // Looks again which of ours are there.
    void refresh();
    void setUp();
    void remove();

Q_SIGNALS:
    void changed();

private:
    void finish(bool installed);

    Services m_services;
    bool m_installed = false;
    bool m_busy = false;
    bool m_looked = false;
};
