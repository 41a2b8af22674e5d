#include "ui/deck/DeckMenus.h"

#include "deck/EditMode.h"
#include "model/TileStore.h"
#include "platform/AlertPresenter.h"
#include "platform/MusicBridge.h"
#include "platform/ShortcutSetupFlow.h"

#include <QMenu>
#include <algorithm>

namespace {

// An action of the menu that runs `run` in the context of `context`.
template <typename Function>
QAction* addMenuAction(QMenu& menu, const QString& title, const QObject* context, Function run)
{
    QAction* action = menu.addAction(title);
    QObject::connect(action, &QAction::triggered, context, run);
    return action;
}

} // namespace

DeckMenus::DeckMenus(Services services, QObject* parent)
    : QObject(parent)
    , m_services(services)
{
}

std::unique_ptr<QMenu> DeckMenus::tileMenu(int page, int index)
{
    auto menu = std::make_unique<QMenu>();
    const Tile tile = m_services.store.tile(page, index);
    if (tile.action && tile.action->as<TileAction::NowPlaying>()) {
        MusicBridge& music = m_services.music;
        addMenuAction(*menu, QStringLiteral("Next Track"), this, [&music] { music.nextTrack(); });
        addMenuAction(*menu, QStringLiteral("Previous Track"), this, [&music] { music.previousTrack(); });
        menu->addSeparator();
    }
    addMenuAction(*menu, QStringLiteral("Edit Tile…"), this,
                  [this, page, index] { Q_EMIT editTileRequested(page, index); });
    if (!tile.isEmpty()) {
        addMenuAction(*menu, QStringLiteral("Clear Tile"), this,
                      [this, page, index] { m_services.store.set(Tile{}, page, index); });
    }
    return menu;
}

std::unique_ptr<QMenu> DeckMenus::deckMenu()
{
    auto menu = std::make_unique<QMenu>();
    TileStore& store = m_services.store;
    EditModeState& editMode = m_services.editMode;
    const bool editing = editMode.isEditing();
    addMenuAction(*menu, editing ? QStringLiteral("Done Editing") : QStringLiteral("Edit Layout"), this,
                  [&editMode, editing] { editMode.setEditing(!editing); });
    menu->addSeparator();
    addMenuAction(*menu, QStringLiteral("Add Page"), this, [&store] { store.addPage(); });

    const int pageCount = static_cast<int>(store.pages().size());
    QMenu* moveTo = menu->addMenu(QStringLiteral("Move Page To"));
    moveTo->setEnabled(pageCount > 1);
    for (int position = 0; position < pageCount; ++position) {
        QAction* entry = addMenuAction(*moveTo, QStringLiteral("Position %1").arg(position + 1), this,
                                       [&store, position] { store.movePage(store.currentPage(), position); });
        entry->setEnabled(position != store.currentPage());
    }
    QAction* remove = addMenuAction(*menu, QStringLiteral("Delete This Page"), this,
                                    [this] { confirmDeleteCurrentPage(); });
    remove->setEnabled(pageCount > 1);
    menu->addSeparator();
    addMenuAction(*menu, QStringLiteral("Export Deck…"), this, [this] { Q_EMIT exportDeckRequested(); });
    addMenuAction(*menu, QStringLiteral("Import Deck…"), this, [this] { Q_EMIT importDeckRequested(); });

    if (m_syncIsOn && m_setSync) {
        menu->addSeparator();
        const bool syncing = m_syncIsOn();
        QAction* sync = addMenuAction(*menu, QStringLiteral("Sync Deck…"), this,
                                      [setSync = m_setSync, syncing] { setSync(!syncing); });
        sync->setCheckable(true);
        sync->setChecked(syncing);
    }

    if (m_shortcutSetup) {
        const std::vector<ShortcutSetupFlow::Item> items = m_shortcutSetup->items();
        if (!items.empty())
            menu->addSeparator();
        for (const ShortcutSetupFlow::Item& item : items)
            addMenuAction(*menu, item.title, m_shortcutSetup, item.choose)->setEnabled(item.enabled);
    }

    if (m_extraItems) {
        menu->addSeparator();
        m_extraItems(*menu);
    }
    return menu;
}

void DeckMenus::confirmDeleteCurrentPage()
{
    TileStore& store = m_services.store;
    const auto page = static_cast<std::size_t>(store.currentPage());
    if (page >= store.pages().size())
        return;
    // Every tile of the page counts, also those a smaller grid no longer shows: they go with the page.
    const Page& tiles = store.pages()[page];
    const auto configured =
        std::count_if(tiles.begin(), tiles.end(), [](const Tile& tile) { return !tile.isEmpty(); });
    if (configured > 0) {
        const Alert alert{
            QStringLiteral("Delete this page?"),
            QStringLiteral("It has %1 configured tile%2. This can't be undone.")
                .arg(configured)
                .arg(configured == 1 ? QString() : QStringLiteral("s")),
            {QStringLiteral("Delete"), QStringLiteral("Cancel")},
        };
        if (m_services.alerts.present(alert) != 0)
            return;
    }
    store.deleteCurrentPage();
}
