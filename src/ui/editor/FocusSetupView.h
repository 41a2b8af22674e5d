#pragma once

#include <QStringList>
#include <QWidget>

class FocusEngine;
class PhosphorFont;
class QVBoxLayout;
class Workspace;
struct PlatformWordings;

// The content of the Do Not Disturb setup window: whether a click on the band's moon can switch Do Not
// Disturb, and, where shortcuts must be installed first, how to install them. Follows `shortcutReady`.
class FocusSetupView final : public QWidget {
    Q_OBJECT
public:
    static constexpr int shortcutFileSpacingMs = 600;
    static constexpr int recheckAfterAddingMs = 4000;

    // `shortcutFiles` are the ready-made shortcut files that exist; the rest outlive the view.
    FocusSetupView(FocusEngine& engine, PhosphorFont& font, Workspace& workspace,
                   const PlatformWordings& wordings, QStringList shortcutFiles, QWidget* parent = nullptr);

private:
    void rebuild();
    void addShortcuts();

    FocusEngine& m_engine;
    PhosphorFont& m_font;
    Workspace& m_workspace;
    const PlatformWordings& m_wordings;
    QStringList m_shortcutFiles;
    QWidget* m_content = nullptr;
    QVBoxLayout* m_layout = nullptr;
};
