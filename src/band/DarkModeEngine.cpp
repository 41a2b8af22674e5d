#include "DarkModeEngine.h"

#include <QPointer>

DarkModeEngine::DarkModeEngine(TileStateSources& sources, SystemControls& controls, QObject* parent)
    : QObject(parent)
    , m_sources(sources)
    , m_controls(controls)
{
    m_recheck.setSingleShot(true);
    m_recheck.setInterval(recheckDelay);
    connect(&m_recheck, &QTimer::timeout, this, &DarkModeEngine::recheck);
    connect(&m_sources, &TileStateSources::darkModeChanged, this, &DarkModeEngine::refresh);
}

void DarkModeEngine::refresh()
{
    m_sources.readDarkMode([guard = QPointer(this), read = ++m_latestRead](bool dark) {
        if (guard && guard->m_latestRead == read)
            guard->publish(dark);
    });
}

void DarkModeEngine::toggle()
{
    ++m_latestRead;
    m_controls.toggleDarkMode();
    publish(!m_dark);
    m_recheck.start();
}

void DarkModeEngine::recheck()
{
    m_recheck.stop();
    refresh();
}

void DarkModeEngine::publish(bool dark)
{
    if (dark == m_dark)
        return;
    m_dark = dark;
    Q_EMIT darkChanged(dark);
}
