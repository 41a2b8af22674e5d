#pragma once

#include <QStringList>
#include <atomic>
#include <functional>
#include <mutex>

// The symbols the symbol picker offers: the fixed catalogue less those the icon font has no glyph for, worked
// out once for the life of the process. The deck warms it up at start-up so that the first picker opens
// without waiting for it.
//
// Thread-safe.
class SymbolCatalogue final {
public:
    // Answers the available symbols; runs at most once, on whichever thread asks first.
    using Filter = std::function<QStringList()>;

    explicit SymbolCatalogue(Filter filter);
    // Waits for a warm-up under way, which works on this object.
    ~SymbolCatalogue();
    SymbolCatalogue(const SymbolCatalogue&) = delete;
    SymbolCatalogue& operator=(const SymbolCatalogue&) = delete;

    // The filter against the glyph map in the resources folder.
    [[nodiscard]] static Filter againstResources();

    // Starts the filtering on a thread of the global pool; does nothing once started.
    void warmUp();
    // The available symbols in catalogue order: waits for a warm-up under way, or filters now when none was
    // started.
    [[nodiscard]] QStringList names();

private:
    void filterOnce();

    Filter m_filter;
    std::atomic_bool m_started = false;
    std::once_flag m_filtered;
    QStringList m_names;
};
