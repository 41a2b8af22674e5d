#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QStringList>
#include <functional>
#include <optional>

class QIODevice;
class QTextStream;
class ActionRunner;
class TileStore;
class DeckSettings;

// What the running deck offers the companion beyond its store: its window's state, the summon and its tiles.
class DeckRemote {
public:
    virtual ~DeckRemote() = default;
    // {"currentPage", "isSummoned", "isCompact", "isExpanded", "isEditing", "frame": [x, y, w, h]}, the frame
    // in screen coordinates with the origin at the top left.
    [[nodiscard]] virtual QJsonObject state() const = 0;
    virtual void toggleSummon() = 0;
    // Runs the slot of the current page as its hot key does; false when the slot is empty.
    virtual bool fire(int index) = 0;
};

// The commands of `marquetto-deck`, run against a store and settings the caller made. Answers the exit
// status: 0 on success, 1 when the command failed (the reason is on `err`), 2 for bad usage.
class DeckTool {
public:
    static constexpr int success = 0;
    static constexpr int failure = 1;
    static constexpr int badUsage = 2;

    // The runner is asked for only when a command runs a tile, so other commands never build it.
    using RunnerSource = std::function<ActionRunner&()>;

    // Without a deck (nullptr) the commands that need the running deck report that it is not running.
    DeckTool(TileStore& store, const DeckSettings& settings, RunnerSource runner, QIODevice& in,
             QTextStream& out, QTextStream& err, DeckRemote* deck = nullptr);

    // Whether the running deck, when there is one, must carry out the command instead of this process.
    [[nodiscard]] static bool belongsToRunningDeck(const QStringList& arguments);

    int run(const QStringList& arguments);

    [[nodiscard]] static QString usage();

    // Everything `in` gives until it closes, or nothing once that would exceed `limit` bytes.
    [[nodiscard]] static std::optional<QByteArray> readAll(QIODevice& in, qint64 limit);

private:
    int print();
    int set(const QStringList& arguments);
    int listBackups();
    int restore(const QString& path);
    int page(const QStringList& arguments);
    // Runs the slot's action and returns once its effect has started, or a scene's last step has run.
    int runTile(const QStringList& arguments);
    int state();
    int summon();
    int fire(const QStringList& arguments);
    [[nodiscard]] bool deckIsRunning();

    struct Slot {
        int page = 0;
        int index = 0;
    };
    // The slot named by the arguments, or nothing with `status` set to the exit status already reported.
    [[nodiscard]] std::optional<Slot> findSlot(const QString& pageText, const QString& indexText,
                                               int& status);
    [[nodiscard]] std::optional<QByteArray> readInput();
    int fail(const QString& message);
    int misuse(const QString& message);
    // Writes what the command changed at once instead of waiting for the store's debounce.
    int saved();

    TileStore& m_store;
    const DeckSettings& m_settings;
    RunnerSource m_runner;
    QIODevice& m_in;
    QTextStream& m_out;
    QTextStream& m_err;
    DeckRemote* m_deck = nullptr;
};
