#include "ui/paint/SymbolCatalogue.h"

#include "ui/paint/PhosphorFont.h"
#include "ui/paint/SymbolGlyphs.h"

#include <QThreadPool>

SymbolCatalogue::SymbolCatalogue(Filter filter)
    : m_filter(std::move(filter))
{
}

SymbolCatalogue::~SymbolCatalogue()
{
    if (m_started)
        filterOnce();
}

SymbolCatalogue::Filter SymbolCatalogue::againstResources()
{
    // Whether a symbol is available depends on the glyph map alone, so the filtering reads the map into a
    // font of its own that never registers the font file: that part needs the main thread.
    return [glyphMap = PhosphorFont::glyphMapInResources()] {
        PhosphorFont mapOnly({}, glyphMap);
        return SymbolGlyphs::availableSymbols(mapOnly);
    };
}

void SymbolCatalogue::warmUp()
{
    if (m_started.exchange(true))
        return;
    QThreadPool::globalInstance()->start([this] { filterOnce(); });
}

QStringList SymbolCatalogue::names()
{
    m_started = true;
    filterOnce();
    return m_names;
}

void SymbolCatalogue::filterOnce()
{
    std::call_once(m_filtered, [this] { m_names = m_filter(); });
}
