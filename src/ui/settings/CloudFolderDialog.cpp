#include "ui/settings/CloudFolderDialog.h"

#include "sync/CloudFolder.h"

#include <QFileDialog>
#include <QInputDialog>

std::optional<QString> chooseCloudFolder(QWidget* parent, const QString& home)
{
    const QString other = QStringLiteral("Choose Another Folder…");
    QStringList items = CloudFolder::offeredFolders(home);
    if (!items.isEmpty()) {
        items << other;
        bool chosen = false;
        const QString item = QInputDialog::getItem(
            parent, QStringLiteral("Sync Deck"),
            QStringLiteral("Keep the deck the same on each computer through this synced folder:"), items, 0,
            false, &chosen);
        if (!chosen)
            return std::nullopt;
        if (item != other)
            return item;
    }
    const QString folder = QFileDialog::getExistingDirectory(
        parent, QStringLiteral("Choose the folder your sync client keeps the same on each computer"), home);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}
