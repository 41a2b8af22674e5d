#pragma once

#include "platform/DeckFilePanels.h"

#include <QStringList>

// Answers every panel with the path set in advance (nothing: dismissed) and keeps what it was asked.
class FakeDeckFilePanels final : public DeckFilePanels {
public:
    std::optional<QString> answer;
    QStringList asked;

    [[nodiscard]] std::optional<QString> chooseSaveFile(const QString& suggestedName,
                                                        const QString& message) override
    {
        asked << suggestedName + u'|' + message;
        return answer;
    }
    [[nodiscard]] std::optional<QString> chooseOpenFile() override
    {
        asked << QStringLiteral("open");
        return answer;
    }
};
