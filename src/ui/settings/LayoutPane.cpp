#include "ui/settings/LayoutPane.h"

#include "commands/DeckLevelCommands.h"
#include "model/Settings.h"
#include "platform/PlatformWordings.h"
#include "sync/CloudDeck.h"
#include "ui/editor/FormParts.h"
#include "ui/settings/SettingsForm.h"

#include <QCheckBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

LayoutPane::LayoutPane(const SettingsParts& parts, QWidget* parent)
    : QWidget(parent)
    , m_parts(parts)
{
    using namespace SettingsForm;
    const SettingsCommands& commands = m_parts.commands;
    QVBoxLayout* pane = column(*this);
    addCloudSection(*pane);

    QFormLayout* transfer = section(*pane, QStringLiteral("Move or share your deck"));
    buttonRow(*transfer, {}, QStringLiteral("Import Deck…"), "importDeck", commands.importDeck);
    buttonRow(*transfer, {}, QStringLiteral("Export Deck…"), "exportDeck", commands.exportDeck);
    footer(*pane,
           QStringLiteral("One file with your tiles, pages and custom icons. Use it to move your deck to "
                          "another %1, or to share it.")
               .arg(m_parts.wordings.computer));

    m_backups = section(*pane, QStringLiteral("Backups"));
    m_backups->parentWidget()->setObjectName(QStringLiteral("backups"));
    footer(*pane, QStringLiteral("Marquetto keeps your last 10 layouts automatically. Restoring backs up the "
                                 "current one first."));
}

void LayoutPane::addCloudSection(QVBoxLayout& pane)
{
    using namespace SettingsForm;
    const PlatformWordings& wordings = m_parts.wordings;
    CloudDeck& cloud = m_parts.cloud;
    m_cloudForm = section(pane, QStringLiteral("Same deck on every %1").arg(wordings.computer));
    m_cloudSwitch = switchRow(*m_cloudForm, wordings.cloudSwitch, "cloudDeck", cloud.isOn(), [this](bool on) {
        m_parts.commands.setCloudDeck(on);
        // Switching on may ask first, or not happen at all; the switch shows what holds until it does.
        m_cloudSwitch->setChecked(m_parts.cloud.isOn());
    });
    if (wordings.cloudFolderIsChosen) {
        m_cloudFolder = new QLabel;
        m_cloudFolder->setObjectName(QStringLiteral("cloudFolder"));
        m_cloudFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_cloudFolder->setWordWrap(true);
        makeSecondary(*m_cloudFolder);
        m_cloudForm->addRow(QStringLiteral("Folder"), m_cloudFolder);
        buttonRow(*m_cloudForm, {}, QStringLiteral("Choose…"), "chooseCloudFolder",
                  m_parts.commands.chooseCloudFolder);
        connect(&m_parts.settings, &DeckSettings::cloudDeckFolderChanged, this, &LayoutPane::followCloud);
    }
    m_cloudStatus = new QLabel;
    m_cloudStatus->setObjectName(QStringLiteral("cloudStatus"));
    m_cloudStatus->setWordWrap(true);
    m_cloudForm->addRow(QStringLiteral("Status"), m_cloudStatus);
    m_cloudFooter = footer(pane, {});
    connect(&cloud, &CloudDeck::isOnChanged, this, &LayoutPane::followCloud);
    connect(&cloud, &CloudDeck::statusChanged, this, &LayoutPane::followCloud);
    followCloud();
}

void LayoutPane::showEvent(QShowEvent* event)
{
    m_driveWasThere = m_parts.cloudDriveExists();
    followCloud();
    reloadBackups();
    QWidget::showEvent(event);
}

void LayoutPane::followCloud()
{
    const CloudDeck& cloud = m_parts.cloud;
    const PlatformWordings& wordings = m_parts.wordings;
    m_cloudSwitch->setChecked(cloud.isOn());
    m_cloudForm->setRowVisible(m_cloudStatus, cloud.isOn() && !cloud.status().isEmpty());
    m_cloudStatus->setText(cloud.status());
    if (m_cloudFolder) {
        const QString folder = m_parts.settings.cloudDeckFolder();
        m_cloudFolder->setText(folder.isEmpty() ? QStringLiteral("None chosen")
                                                : QDir::toNativeSeparators(folder));
    }
    const bool reachable = wordings.cloudFolderIsChosen || m_driveWasThere || cloud.isOn();
    m_cloudSwitch->setEnabled(reachable);
    m_cloudFooter->setText(reachable ? wordings.cloudFooter : wordings.cloudDriveMissingFooter);
}

void LayoutPane::reloadBackups()
{
    while (m_backups->rowCount() > 0)
        m_backups->removeRow(0);
    const std::vector<LayoutBackups::BackupEntry> entries = m_parts.backups();
    if (entries.empty()) {
        auto* none = new QLabel(QStringLiteral("No backups yet."));
        none->setObjectName(QStringLiteral("noBackups"));
        makeSecondary(*none);
        m_backups->addRow(none);
        return;
    }
    for (const LayoutBackups::BackupEntry& entry : entries) {
        QPushButton* restore = formButton(QStringLiteral("Restore"));
        restore->setObjectName(QStringLiteral("restoreBackup"));
        connect(restore, &QPushButton::clicked, this,
                [this, entry] { m_parts.commands.restoreBackup(entry); });
        m_backups->addRow(DeckCommands::mediumDateTime(entry.date, QLocale()),
                          lineOf(QBoxLayout::RightToLeft, {restore}));
    }
}
