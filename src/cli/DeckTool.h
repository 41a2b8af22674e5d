#pragma once

#include <QByteArray>
#include <QStringList>
#include <optional>

class QIODevice;
class QTextStream;
class TileStore;
class DeckSettings;

// The commands of `marquetto-deck`, run against a store and settings the caller made. Answers the exit
// status: 0 on success, 1 when the command failed (the reason is on `err`), 2 for bad usage.
class DeckTool {
public:
    static constexpr int success = 0;
    static constexpr int failure = 1;
    static constexpr int badUsage = 2;

    DeckTool(TileStore& store, const DeckSettings& settings, QIODevice& in, QTextStream& out,
             QTextStream& err);

    int run(const QStringList& arguments);

    [[nodiscard]] static QString usage();

private:
    int print();
    int set(const QStringList& arguments);
    int listBackups();
    int restore(const QString& path);
    int page(const QStringList& arguments);
    [[nodiscard]] std::optional<QByteArray> readInput();
    int fail(const QString& message);
    int misuse(const QString& message);
    // Writes what the command changed at once instead of waiting for the store's debounce.
    int saved();

    TileStore& m_store;
    const DeckSettings& m_settings;
    QIODevice& m_in;
    QTextStream& m_out;
    QTextStream& m_err;
};
