#pragma once

#include "actions/ActionRunnerSource.h"
#include "commands/DeckChannel.h"
#include "model/Models.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class ActionRunner;
class Clock;
class ApplicationNames;
class CloudDeck;
class DeckRemote;
class DeckSettings;
class KeyboardShortcutSetup;
struct PlatformWordings;
class QIODevice;
class QTextStream;
class TileLibrary;
class TileStore;

// The commands of `marquetto-deck`, in one table that the companion and the running deck's channel share:
// while the deck runs, it carries out the commands marked for it, so that the deck on screen changes at once;
// the companion carries out the others, and all of them when no deck runs.
//
// A command answers its exit status: 0 on success, 1 when it failed (the reason is on `err`), 2 for bad
// usage. Main thread only.
namespace DeckCommands {

inline constexpr int success = 0;
inline constexpr int failure = 1;
inline constexpr int badUsage = 2;

// What a command works with.
struct Context {
    TileStore& store;
    // `band set` changes the band's modules.
    DeckSettings& settings;
    // What the desktop calls the applications of application tiles, for their labels.
    const ApplicationNames& names;
    // Asked for only when a command runs a tile, so other commands never build the runner.
    ActionRunnerSource runner;
    // The running deck when the command runs in it; nullptr in the companion, where the commands that need
    // the deck report that it is not running.
    DeckRemote* deck = nullptr;
    QIODevice& in;
    QTextStream& out;
    QTextStream& err;
    // This machine's ready-made tiles, for `presets`; the companion's alone, as the deck leaves that command
    // to it.
    const TileLibrary* library = nullptr;
    // Brings a picture into the icons folder in the normal form and answers the new file's name, or nothing
    // when nothing could be made of it. Empty where pictures cannot be imported.
    std::function<std::optional<QString>(const QString& path)> importIcon = {};
    // The icons folder and the clock, for the deck file; `export` fails without them.
    QString iconsDir = {};
    const Clock* clock = nullptr;
    // The texts that name this platform's places.
    const PlatformWordings* wordings = nullptr;
    // Whether a person answers questions on `in`.
    bool inIsTerminal = false;
    // Stores the vetted icons of the deck file's bytes in the icons folder and answers its pages pointing at
    // them; nothing when that failed. Empty where images cannot be vetted.
    std::function<std::optional<Pages>(const QByteArray& deckFile)> storeDeckIcons = {};
    // Hands a request to the running deck and answers its response, or nothing when it did not answer. Empty
    // when no deck runs; the companion then changes the files itself.
    std::function<std::optional<DeckChannel::Response>(const DeckChannel::Request& request)> sendToDeck = {};
    // Cloud sync of this process's deck, for `sync`; nullptr where there is none.
    CloudDeck* cloud = nullptr;
    // The desktop's own shortcuts, for `shortcuts`, and the companion they run; nullptr where there are none.
    KeyboardShortcutSetup* shortcutSetup = nullptr;
    QString companion = {};
};

// Carries out a command; `arguments` are those after its name.
using Handler = int (*)(Context& context, const QStringList& arguments);

struct Command {
    QString name;
    // Whether the running deck carries it out. The others are the companion's own work: they may wait,
    // which the deck never does on its main thread.
    bool runsInDeck = false;
    // Its lines of the usage text, after the program's name.
    QStringList usage;
    Handler handler = nullptr;
};

[[nodiscard]] const std::vector<Command>& table();
// The command of that name, or nullptr.
[[nodiscard]] const Command* find(const QString& name);
[[nodiscard]] QString usage();

// Carries out the command in this process, whichever side it belongs to.
int run(Context& context, const QStringList& arguments);
// Carries out the command as the running deck does: one the table does not hold, or holds for the companion
// alone, is refused as bad usage and nothing runs.
int runInDeck(Context& context, const QStringList& arguments);

// Writes "marquetto-deck: " and the message to `err`; answers `failure`.
int fail(Context& context, const QString& message);
// Writes the message, when there is one, and the usage text to `err`; answers `badUsage`.
int misuse(Context& context, const QString& message);

} // namespace DeckCommands
