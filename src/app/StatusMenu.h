#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

class QAction;
class QMenu;

// The deck's menu in the system tray, or in the deck's own context menu on a desktop without a tray. Its
// check marks and the summon title are brought up to date each time a menu showing its items opens
// (`refresh`), and so are the web site and update items, which show only while their address is set.
//
// Main thread only.
class StatusMenu final : public QObject {
    Q_OBJECT
public:
    // What the items do, and the state they show.
    struct Handlers {
        std::function<void()> toggleSummon;
        std::function<void(int index)> runTile;
        std::function<void()> toggleEditMode;
        std::function<void()> togglePin;
        std::function<void()> toggleCompact;
        std::function<void()> openSettings;
        // Opens the page of "Check for Updates…" or "Visit …".
        std::function<void(const QUrl&)> openPage;
        // The addresses of "Check for Updates…" and "Visit …", as they are set ("" when not).
        std::function<QString()> updatesAddress;
        std::function<QString()> websiteAddress;
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
    // The web page at this address: an http or https address naming a host; nothing otherwise.
    [[nodiscard]] static std::optional<QUrl> pageAddress(const QString& text);
    QAction* add(const QString& title, std::function<void()> handler);
    QAction* addPage(std::function<QString()> address);
    // Shows the web page items whose address is set, the web site under its host's name.
    void showPages();

    Handlers m_handlers;
    std::unique_ptr<QMenu> m_menu;
    QAction* m_summonItem = nullptr;
    QAction* m_editItem = nullptr;
    QAction* m_pinItem = nullptr;
    QAction* m_compactItem = nullptr;
    QAction* m_saveProblemItem = nullptr;
    QAction* m_updatesItem = nullptr;
    QAction* m_websiteItem = nullptr;
};
