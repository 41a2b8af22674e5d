#include "platform/qt/QtDeckFilePanels.h"

#include <QFileDialog>
#include <QStandardPaths>

namespace {

std::optional<QString> chosenFile(QFileDialog& dialog)
{
    dialog.setNameFilter(QStringLiteral("Marquetto decks (*.%1)").arg(DeckFilePanels::fileExtension));
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

} // namespace

std::optional<QString> QtDeckFilePanels::chooseSaveFile(const QString& suggestedName, const QString& message)
{
    QFileDialog dialog(nullptr, message,
                       QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + u'/' +
                           suggestedName);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without the extension still makes a deck file.
    dialog.setDefaultSuffix(DeckFilePanels::fileExtension.toString());
    return chosenFile(dialog);
}

std::optional<QString> QtDeckFilePanels::chooseOpenFile()
{
    QFileDialog dialog(nullptr, QStringLiteral("Import Deck"),
                       QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return chosenFile(dialog);
}
