#pragma once

#include "ui/settings/SettingsParts.h"

#include <QWidget>

class QCheckBox;
class QFormLayout;
class QLabel;
class QVBoxLayout;

// The settings' "Layout" tab: cloud sync, moving the deck as a file, and the layout backups. The backups are
// listed when the pane shows and again on `reloadBackups`.
//
// Main thread only.
class LayoutPane final : public QWidget {
    Q_OBJECT
public:
    explicit LayoutPane(const SettingsParts& parts, QWidget* parent = nullptr);

    // Lists the backups as they are now.
    void reloadBackups();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void addCloudSection(QVBoxLayout& pane);
    void followCloud();

    const SettingsParts& m_parts;
    QFormLayout* m_cloudForm = nullptr;
    QCheckBox* m_cloudSwitch = nullptr;
    QLabel* m_cloudStatus = nullptr;
    QLabel* m_cloudFolder = nullptr;
    QLabel* m_cloudFooter = nullptr;
    // Whether the synced folder was there when the pane last showed.
    bool m_driveWasThere = true;
    QFormLayout* m_backups = nullptr;
};
