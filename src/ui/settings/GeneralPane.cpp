#include "ui/settings/GeneralPane.h"

#include "model/Settings.h"
#include "platform/PlatformWordings.h"
#include "ui/editor/FormParts.h"
#include "ui/settings/SettingsForm.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

GeneralPane::GeneralPane(const SettingsParts& parts, QWidget* parent)
    : QWidget(parent)
    , m_parts(parts)
{
    using namespace SettingsForm;
    DeckSettings& settings = m_parts.settings;
    const SettingsCommands& commands = m_parts.commands;
    QVBoxLayout* pane = column(*this);

    QFormLayout* switches = section(*pane);
    m_launchAtLogin = switchRow(*switches, QStringLiteral("Launch at login"), "launchAtLogin",
                                m_parts.launchesAtLogin(), [this](bool on) {
                                    m_parts.commands.setLaunchAtLogin(on);
                                    // A failed switch is only logged; the box shows what really holds.
                                    m_launchAtLogin->setChecked(m_parts.launchesAtLogin());
                                });
    if (!m_parts.wordings.dockIconSwitch.isEmpty()) {
        QCheckBox* dockIcon =
            switchRow(*switches, m_parts.wordings.dockIconSwitch, "showDockIcon", settings.showDockIcon(),
                      [&settings](bool on) { settings.setShowDockIcon(on); });
        connect(&settings, &DeckSettings::showDockIconChanged, dockIcon, &QCheckBox::setChecked);
    }
    QCheckBox* clickSound =
        switchRow(*switches, QStringLiteral("Click sound"), "clickSound", settings.clickSoundEnabled(),
                  [&settings](bool on) { settings.setClickSoundEnabled(on); });
    connect(&settings, &DeckSettings::clickSoundEnabledChanged, clickSound, &QCheckBox::setChecked);

    m_restoreForm = section(*pane);
    QFormLayout* restore = m_restoreForm;
    m_restoreOn = new QLabel(QStringLiteral("On"));
    m_restoreOn->setObjectName(QStringLiteral("windowRestoreOn"));
    makeSecondary(*m_restoreOn);
    m_turnOnRestore =
        buttonRow(*restore, QStringLiteral("Restore minimized apps"), QStringLiteral("Turn On…"),
                  "enableWindowRestore", commands.enableWindowRestore);
    restore->addRow(QStringLiteral("Restore minimized apps"), m_restoreOn);
    m_restoreFooter = footer(*pane, m_parts.wordings.windowRestoreFooter);

    QFormLayout* rows = section(*pane);
    buttonRow(*rows, QStringLiteral("Keyboard shortcuts"), QStringLiteral("Show…"), "showShortcuts",
              commands.showShortcuts);
    buttonRow(*rows, QStringLiteral("Deck position"), QStringLiteral("Reset"), "resetDeckPosition",
              commands.resetDeckPosition);
    followWindowRestore();
}

void GeneralPane::showEvent(QShowEvent* event)
{
    followWindowRestore();
    QWidget::showEvent(event);
}

void GeneralPane::followWindowRestore()
{
    const bool on = m_parts.canRestoreWindows();
    m_restoreForm->setRowVisible(m_restoreOn, on);
    m_restoreForm->setRowVisible(m_turnOnRestore->parentWidget(), !on);
    m_restoreFooter->setVisible(!on);
}
