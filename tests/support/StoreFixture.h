#pragma once

#include "FakeClock.h"
#include "FakeMusicBridge.h"
#include "TempHome.h"
#include "core/Preferences.h"
#include "model/Settings.h"
#include "model/StarterHint.h"
#include "model/TileStore.h"

#include <QMetaEnum>
#include <memory>
#include <ostream>

inline void PrintTo(TileStore::ChangeOrigin origin, std::ostream* out)
{
    *out << QMetaEnum::fromType<TileStore::ChangeOrigin>().valueToKey(static_cast<int>(origin));
}

// A temporary home with the objects a tile store needs. Files can be laid out before `makeStore()` loads
// them.
class StoreFixture : public TempHome {
protected:
    FakeClock m_clock;
    FakeMusicBridge m_music;
    std::vector<Tile> m_starterTiles;
    int m_starterLimitAsked = -1;
    std::unique_ptr<Preferences> m_preferences;
    std::unique_ptr<DeckSettings> m_settings;
    std::unique_ptr<StarterHint> m_starterHint;
    std::unique_ptr<TileStore> m_store;

    TileStore& makeStore();
    // A tile whose action is a snippet of the given text, easy to tell apart in assertions.
    [[nodiscard]] static Tile snippetTile(const QString& text);
    [[nodiscard]] QStringList backupNames() const;
};
