#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

class GlobalHotKeys;
class MainMenu;
class ShortcutSetupFlow;
struct PlatformWordings;

// The read-only list of the deck's keyboard and mouse shortcuts: an action on the left, its key caps on the
// right.
class ShortcutsView final : public QWidget {
    Q_OBJECT
public:
    struct Row {
        QString action;
        QStringList keys;
    };

    static constexpr int width = 360;

    explicit ShortcutsView(std::vector<Row> rows, QWidget* parent = nullptr);

    // The deck's own keys, written with the platform's key caps, or the ones the desktop bound for it when
    // it binds them itself.
    [[nodiscard]] static std::vector<Row> rows(const PlatformWordings& wordings, const GlobalHotKeys* keys);
    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    [[nodiscard]] double rowHeight() const;

    std::vector<Row> m_rows;
};

// The one "Keyboard Shortcuts" window, shown again and brought forward when it exists.
//
// Main thread only.
class ShortcutsWindowController final {
public:
    ShortcutsWindowController() = default;
    // Closes the window with its owner.
    ~ShortcutsWindowController();
    ShortcutsWindowController(const ShortcutsWindowController&) = delete;
    ShortcutsWindowController& operator=(const ShortcutsWindowController&) = delete;

    // The main menu's shortcuts serve the window when it is given; `keys` says what the desktop bound; the
    // items of setting up the desktop's own shortcuts sit below the list when `shortcutSetup` offers them.
    // All of them outlive the window.
    void show(const PlatformWordings& wordings, const MainMenu* mainMenu = nullptr,
              const GlobalHotKeys* keys = nullptr, ShortcutSetupFlow* shortcutSetup = nullptr);

private:
    QPointer<QWidget> m_window;
};
