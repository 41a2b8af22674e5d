#pragma once

#include "platform/DeckFilePanels.h"

// Deck file panels as Qt file dialogs that show deck files alone, brought to the front although the deck
// never takes focus otherwise.
class QtDeckFilePanels final : public DeckFilePanels {
public:
    [[nodiscard]] std::optional<QString> chooseSaveFile(const QString& suggestedName,
                                                        const QString& message) override;
    [[nodiscard]] std::optional<QString> chooseOpenFile() override;
};
