#pragma once

#include "FuzzCheck.h"
#include "FuzzHome.h"
#include "commands/DeckCommands.h"
#include "core/Preferences.h"
#include "model/ArtworkSource.h"
#include "model/Settings.h"
#include "model/StarterHint.h"
#include "model/TileStore.h"
#include "support/FakeApplicationNames.h"
#include "support/FakeClock.h"

#include <QBuffer>
#include <QTextStream>

// A deck on an empty home of its own, as the companion finds it on a first run, with the context its commands
// run in. Nothing in it reaches the desktop: asking for the action runner ends the run as a failure.
class FuzzDeck final {
public:
    explicit FuzzDeck(const QByteArray& input = {})
        : m_input(input)
    {
        m_in.setData(m_input);
        m_in.open(QIODevice::ReadOnly);
    }

    [[nodiscard]] TileStore& store() { return m_store; }
    [[nodiscard]] DeckSettings& settings() { return m_settings; }
    [[nodiscard]] DeckCommands::Context& context() { return m_context; }

private:
    class NoArtwork final : public ArtworkSource {
    public:
        [[nodiscard]] bool canFetchWithoutStartingPlayer() const override { return false; }
        void fetchArtwork(const QString&, const QString&, ArtworkHandler) override {}
        void fetchArtwork(const QString&, ArtworkHandler) override {}
    };

    static ActionRunner& noRunner()
    {
        fuzzFail("a command asked for the action runner, which reaches the desktop");
    }

    static const AppPaths& emptiedHome()
    {
        FuzzHome::shared().clear(FuzzHome::shared().path());
        return FuzzHome::shared().paths();
    }

    // Emptied before anything below reads it.
    const AppPaths& m_paths = emptiedHome();
    QByteArray m_input;
    QBuffer m_in;
    QString m_outText;
    QString m_errText;
    QTextStream m_out{&m_outText};
    QTextStream m_err{&m_errText};
    FakeClock m_clock;
    NoArtwork m_artwork;
    FakeApplicationNames m_names;
    Preferences m_preferences{m_paths.preferencesFile()};
    DeckSettings m_settings{m_preferences};
    StarterHint m_starterHint{m_preferences};
    TileStore m_store{
        {m_paths, m_settings, m_starterHint, m_clock, m_artwork, [](int) { return std::vector<Tile>(); }}};
    DeckCommands::Context m_context{
        .store = m_store,
        .settings = m_settings,
        .names = m_names,
        .runner = &FuzzDeck::noRunner,
        .in = m_in,
        .out = m_out,
        .err = m_err,
    };
};
