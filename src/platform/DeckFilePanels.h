#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// The panels in which the user picks where a deck file goes and which one to bring in; both show deck files
// alone. The deck shows real dialogs; tests answer in advance.
//
// Main thread only; each call is modal.
class DeckFilePanels {
public:
    // The name every deck file ends in, after its dot.
    static constexpr QStringView fileExtension = u"marquetto";

    virtual ~DeckFilePanels() = default;

    // The path to save the deck to, offered as `suggestedName` with `message` above it; nothing when the
    // user dismissed the panel.
    [[nodiscard]] virtual std::optional<QString> chooseSaveFile(const QString& suggestedName,
                                                                const QString& message) = 0;
    // The one deck file to open; nothing when the user dismissed the panel.
    [[nodiscard]] virtual std::optional<QString> chooseOpenFile() = 0;
};
