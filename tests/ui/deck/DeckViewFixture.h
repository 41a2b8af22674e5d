#pragma once

#include "actions/NowPlaying.h"
#include "actions/TileState.h"
#include "band/BandEngines.h"
#include "deck/DealEngine.h"
#include "deck/DealIn.h"
#include "deck/EditMode.h"
#include "deck/PanelChrome.h"
#include "icons/IconFinish.h"
#include "icons/IconResolver.h"
#include "model/StarterHint.h"
#include "platform/CalendarStore.h"
#include "platform/DoNotDisturb.h"
#include "platform/Location.h"
#include "platform/UnreadMessages.h"
#include "platform/macos/MacWordings.h"
#include "support/FakeAlertSound.h"
#include "support/FakeApplicationNames.h"
#include "support/FakeDevices.h"
#include "support/FakeFileIcons.h"
#include "support/FakeReduceMotion.h"
#include "support/FakeTileStateSources.h"
#include "support/FakeWorkspace.h"
#include "support/SteppedFrameClock.h"
#include "support/StoreFixture.h"
#include "ui/deck/DeckView.h"
#include "ui/deck/NowPlayingArtwork.h"
#include "ui/deck/PanelRootView.h"
#include "ui/paint/DeckPaint.h"
#include "ui/paint/PhosphorFont.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <cmath>
#include <functional>

// A deck view on a temporary home with fake platform services and a frame clock the test steps.
struct MenuEntry {
    QString title;
    bool enabled = true;
    bool operator==(const MenuEntry&) const = default;
};

inline void PrintTo(const MenuEntry& entry, std::ostream* out)
{
    *out << '"' << entry.title.toStdString() << '"' << (entry.enabled ? "" : " (disabled)");
}

inline std::vector<MenuEntry> entries(const QMenu& menu)
{
    std::vector<MenuEntry> result;
    for (const QAction* action : menu.actions())
        result.push_back({action->isSeparator() ? QString() : action->text(), action->isEnabled()});
    return result;
}

inline QAction* actionNamed(const QMenu& menu, const QString& title)
{
    for (QAction* action : menu.actions()) {
        if (action->text() == title)
            return action;
    }
    return nullptr;
}

inline Tile builderTile(const QString& label, const QString& colour)
{
    Tile tile;
    tile.label = label;
    tile.icon = TileIcon{TileIcon::Builder{colour, QStringLiteral("star")}};
    tile.action = TileAction{TileAction::OpenURL{QStringLiteral("https://example.org/")}};
    return tile;
}

class DeckViewTest : public StoreFixture {
protected:
    FakeFileIcons m_fileIcons;
    FakeAlertPresenter m_alerts;
    SteppedFrameClock m_frames;
    std::unique_ptr<EditModeState> m_editMode;
    TileHoverState m_hover;
    IconFinish m_finish;
    PhosphorFont m_font{QStringLiteral("/nonexistent/font.ttf"), QStringLiteral("/nonexistent/map.json")};
    std::unique_ptr<IconResolver> m_icons;
    FakeApplicationNames m_names;
    FakeReduceMotion m_reduceMotion;
    std::unique_ptr<DealEngine> m_deal;
    FakeTileStateSources m_stateSources;
    std::unique_ptr<TileStateProvider> m_tileState;
    std::unique_ptr<NowPlayingModel> m_nowPlaying;
    std::unique_ptr<NowPlayingArtwork> m_artwork;
    NoVitalsCounters m_counters;
    NullSystemStatus m_status;
    NullTrash m_trash;
    FakeAlertSound m_alertSound;
    FakeSystemControls m_controls;
    FakeClipboard m_clipboard;
    FakeAudioInput m_audioInput;
    FakeSleepInhibitor m_sleepInhibitor;
    NullLocation m_location;
    FakeWorkspace m_bandWorkspace;
    NullCalendarStore m_calendars;
    NoUnreadMessages m_unread;
    NoDoNotDisturb m_doNotDisturb;
    std::unique_ptr<BandEngines> m_band;
    std::unique_ptr<DeckView> m_view;

    DeckView& makeView(int columns = 3, TileSizeOption size = TileSizeOption::regular)
    {
        makeStore();
        m_settings->setGridColumns(columns);
        m_settings->setTileSize(size);
        m_icons = std::make_unique<IconResolver>(m_paths.iconsDir(), m_fileIcons, m_clock);
        m_editMode = std::make_unique<EditModeState>(*m_store);
        m_deal = std::make_unique<DealEngine>(DealEngine::Services{*m_settings, m_clock, m_reduceMotion});
        m_tileState = std::make_unique<TileStateProvider>(m_stateSources, *m_store);
        m_nowPlaying = std::make_unique<NowPlayingModel>(m_music, *m_store);
        m_artwork = std::make_unique<NowPlayingArtwork>(*m_nowPlaying);
        m_band = std::make_unique<BandEngines>(BandEngines::Services{
            m_clock, *m_settings, m_counters, m_status, m_trash, m_alertSound, m_controls, m_clipboard,
            m_audioInput, m_sleepInhibitor, m_stateSources, m_location, m_bandWorkspace, m_calendars,
            m_unread, m_doNotDisturb, m_paths.home});
        m_view = std::make_unique<DeckView>(DeckView::Services{
            *m_store, *m_settings, m_names, *m_starterHint, *m_editMode, m_hover, *m_icons, m_finish, m_font,
            m_music, m_alerts, m_frames, *m_deal, *m_tileState, *m_artwork, *m_band, macWordings()});
        m_view->resize(m_view->sizeHint());
        return *m_view;
    }

    [[nodiscard]] QImage rendered() const
    {
        QImage image(m_view->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        m_view->render(&image);
        return image;
    }

    void mouse(QEvent::Type type, QPointF position, Qt::MouseButtons buttons)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, position, m_view->mapToGlobal(position), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(m_view.get(), &event);
    }

    [[nodiscard]] QRectF slot(int index) const { return m_view->deckGeometry().slotRect(index); }

    // Steps the frame clock until the deck stops moving; the seconds that took.
    double runFrames()
    {
        double seconds = 0;
        for (int frame = 0; frame < 600 && m_view->isAnimating(); ++frame) {
            m_frames.step(1.0 / 60);
            seconds += 1.0 / 60;
        }
        return seconds;
    }

    [[nodiscard]] bool showsRedAt(int index) const
    {
        return rendered().pixelColor(slot(index).center().toPoint() - QPoint(0, 20)).red() > 150;
    }
};
