#pragma once

#include "core/AppPaths.h"

#include <QLockFile>
#include <memory>

// One deck per user: the running deck holds a lock; a second launch asks it to summon the deck and exits.
class SingleInstance final {
public:
    explicit SingleInstance(const AppPaths& paths);

    // True when this process is now the deck. Otherwise the running deck has been asked to come forward (and
    // to open `deckFile`, when given), or, while a deck that is quitting still holds the lock, this process
    // waited for it and took over.
    [[nodiscard]] bool becomeTheDeck(const QString& deckFile = {});

private:
    AppPaths m_paths;
    std::unique_ptr<QLockFile> m_lock;
};
