#pragma once

#include "ui/settings/SettingsParts.h"

#include <QTabWidget>

class LayoutPane;

// The settings' tabs, in their fixed order: "General", "Appearance", "Layout" and "Feedback", each with its
// symbol.
//
// Main thread only. `parts` must outlive the view.
class SettingsView final : public QTabWidget {
    Q_OBJECT
public:
    explicit SettingsView(const SettingsParts& parts, QWidget* parent = nullptr);

    // The tab titled `title`, in any case; false, with nothing changed, when there is none.
    bool showTab(const QString& title);
    [[nodiscard]] QString currentTitle() const;
    [[nodiscard]] LayoutPane& layoutPane() const { return *m_layout; }

private:
    LayoutPane* m_layout = nullptr;
};
