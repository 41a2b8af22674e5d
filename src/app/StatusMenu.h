#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMenu;

// The deck's menu in the system tray, or in the deck's own context menu on a desktop without a tray. Its
// check marks and the summon title are brought up to date each time a menu showing its items opens
// (`refresh`).
//
// Main thread only.
class StatusMenu final : public QObject {
    Q_OBJECT
public:
    static constexpr auto websiteName = "marquetto.app";
    static constexpr auto websiteAddress = "https://marquetto.app";
    static constexpr auto releasesAddress = "https://marquetto.app/releases";

    // What the items do, and the state they show.
    struct Handlers {
        std::function<void()> toggleSummon;
        std::function<void(int index)> runTile;
        std::function<void()> toggleEditMode;
        std::function<void()> togglePin;
        std::function<void()> toggleCompact;
        std::function<void()> openSettings;
        std::function<void()> checkForUpdates;
        std::function<void()> openWebsite;
        std::function<void()> restart;
        std::function<void()> quit;
        std::function<bool()> isSummoned;
        std::function<bool()> isEditing;
        std::function<bool()> isPinned;
        std::function<bool()> isCompact;
        // Why the layout is not saved, shown as a line at the top; empty while it is.
        std::function<QString()> saveProblem;
    };

    explicit StatusMenu(Handlers handlers, QObject* parent = nullptr);
    ~StatusMenu() override;

    [[nodiscard]] QMenu* menu() const { return m_menu.get(); }
    // Appends the items to another menu too; they are refreshed whenever that menu opens.
    void showIn(QMenu& menu);
    void refresh();

private:
    QAction* add(const QString& title, std::function<void()> handler);

    Handlers m_handlers;
    std::unique_ptr<QMenu> m_menu;
    QAction* m_summonItem = nullptr;
    QAction* m_editItem = nullptr;
    QAction* m_pinItem = nullptr;
    QAction* m_compactItem = nullptr;
    QAction* m_saveProblemItem = nullptr;
};
