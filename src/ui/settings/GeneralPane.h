#pragma once

#include "ui/settings/SettingsParts.h"

#include <QWidget>

class QCheckBox;
class QFormLayout;
class QLabel;
class QPushButton;

// The settings' "General" tab: launching at login, the click sound, restoring minimized apps, the shortcuts
// window and the deck's position. Whether app tiles can restore windows is asked again each time the pane
// shows.
//
// Main thread only.
class GeneralPane final : public QWidget {
    Q_OBJECT
public:
    explicit GeneralPane(const SettingsParts& parts, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void followWindowRestore();

    const SettingsParts& m_parts;
    QCheckBox* m_launchAtLogin = nullptr;
    QFormLayout* m_restoreForm = nullptr;
    QLabel* m_restoreOn = nullptr;
    QPushButton* m_turnOnRestore = nullptr;
    QLabel* m_restoreFooter = nullptr;
};
