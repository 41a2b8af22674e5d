#pragma once

#include <QObject>
#include <QStringList>
#include <memory>

class FocusEngine;
class FocusSetupView;
class PhosphorFont;
class Workspace;
struct PlatformWordings;

// Keeps the one "Do Not Disturb Setup" window: made on the first `show()`, centred then, and kept when
// closed, so later calls bring the same window forward.
//
// Main thread only. Everything handed in outlives the controller.
class FocusSetupWindowController final : public QObject {
    Q_OBJECT
public:
    FocusSetupWindowController(FocusEngine& engine, PhosphorFont& font, Workspace& workspace,
                               const PlatformWordings& wordings, QString resourcesDir,
                               QObject* parent = nullptr);
    ~FocusSetupWindowController() override;

    void show();
    [[nodiscard]] FocusSetupView* view() const { return m_view.get(); }

    // The ready-made shortcut files among the resources in `resourcesDir`.
    [[nodiscard]] static QStringList shortcutFiles(const QString& resourcesDir);

private:
    FocusEngine& m_engine;
    PhosphorFont& m_font;
    Workspace& m_workspace;
    const PlatformWordings& m_wordings;
    QString m_resourcesDir;
    std::unique_ptr<FocusSetupView> m_view;
};
