#include "StoreFixture.h"

#include "transfer/IconCleanup.h"

#include <QDir>

TileStore& StoreFixture::makeStore()
{
    m_store.reset();
    m_preferences = std::make_unique<Preferences>(m_paths.preferencesFile());
    m_settings = std::make_unique<DeckSettings>(*m_preferences);
    m_starterHint = std::make_unique<StarterHint>(*m_preferences);
    m_store = std::make_unique<TileStore>(TileStore::Services{
        m_paths,
        *m_settings,
        *m_starterHint,
        m_clock,
        m_music,
        [this](int limit) {
            m_starterLimitAsked = limit;
            return m_starterTiles;
        },
        [this] { IconCleanup::holdIfIconsRemain(m_paths); },
    });
    return *m_store;
}

Tile StoreFixture::snippetTile(const QString& text)
{
    Tile tile;
    tile.action = TileAction{TileAction::Snippet{text}};
    return tile;
}

QStringList StoreFixture::backupNames() const
{
    return QDir(m_paths.backupsDir()).entryList(QDir::Files, QDir::Name);
}
