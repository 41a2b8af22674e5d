#pragma once

#include "ui/settings/SettingsParts.h"

#include <QObject>
#include <memory>

class FirstPaint;
class MainMenu;
class SettingsView;

// Keeps the deck's one settings window: made on the first `show` and kept when closed, so later calls bring
// the same window forward.
//
// Main thread only. What `parts` refers to must outlive the controller.
class SettingsWindowController final : public QObject {
    Q_OBJECT
public:
    explicit SettingsWindowController(SettingsParts parts, QObject* parent = nullptr);
    ~SettingsWindowController() override;

    // The main menu's shortcuts serve the window once it is made.
    void setMainMenu(const MainMenu* mainMenu) { m_mainMenu = mainMenu; }
    // Opens the window in front and active, on the tab titled `tab` (in any case) when there is one, else on
    // the tab it showed last.
    void show(const QString& tab = {});
    [[nodiscard]] bool isOpen() const;
    // The title of the tab shown, or of the one the window will show; empty before the window is made.
    [[nodiscard]] QString currentTab() const;
    // Lists the backups again, when the window has been made.
    void reloadBackups();
    // The window, once it has been shown.
    [[nodiscard]] SettingsView* view() const { return m_view.get(); }

private:
    SettingsParts m_parts;
    const MainMenu* m_mainMenu = nullptr;
    std::unique_ptr<SettingsView> m_view;
    // Times an opening to its first paint, when that is asked for in the log rules.
    std::unique_ptr<FirstPaint> m_firstPaint;
};
