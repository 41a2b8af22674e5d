#pragma once

#include <QList>
#include <QObject>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QWidget;

// The application, File and Edit menus, with Control where a Mac uses Command. Linux desktops have no menu
// bar of the application's own, so the menus are not shown; their shortcuts serve each of the deck's windows.
//
// Main thread only.
class MainMenu final : public QObject {
    Q_OBJECT
public:
    // `openSettings` is empty while there is no settings window; its item is then disabled.
    MainMenu(std::function<void()> openSettings, std::function<void()> quit, QObject* parent = nullptr);
    ~MainMenu() override;

    // The application menu (untitled), "File" and "Edit", in this order.
    [[nodiscard]] QList<QMenu*> menus() const;
    // Makes the shortcuts work while `window` is active.
    void serve(QWidget* window) const;

private:
    QAction* add(QMenu& menu, const QString& title, const QKeySequence& keys, std::function<void()> handler);
    void sendToFocus(const char* slot) const;

    std::unique_ptr<QMenu> m_application;
    std::unique_ptr<QMenu> m_file;
    std::unique_ptr<QMenu> m_edit;
};
