#pragma once

#include "ui/settings/SettingsParts.h"

#include <QWidget>

class QComboBox;

// The settings' "Appearance" tab: tile size, grid, glass, motion, the band and compact mode. Each control
// follows its preference, whoever changes it.
//
// Main thread only.
class AppearancePane final : public QWidget {
    Q_OBJECT
public:
    explicit AppearancePane(const SettingsParts& parts, QWidget* parent = nullptr);

private:
    void followGrid();

    const SettingsParts& m_parts;
    QComboBox* m_grid = nullptr;
};
