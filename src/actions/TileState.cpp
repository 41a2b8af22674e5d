#include "TileState.h"

#include "core/Overloaded.h"
#include "model/TileStore.h"

#include <QDir>
#include <QPointer>

namespace {

QString standardized(const QString& path)
{
    return QDir::cleanPath(path);
}

} // namespace

TileStateProvider::TileStateProvider(TileStateSources& sources, const TileStore& store, QObject* parent)
    : QObject(parent)
    , m_sources(sources)
    , m_store(store)
{
    m_pollTimer.setInterval(pollInterval);
    connect(&m_pollTimer, &QTimer::timeout, this, &TileStateProvider::poll);
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(refreshDelay);
    connect(&m_refreshTimer, &QTimer::timeout, this, &TileStateProvider::readAll);
}

void TileStateProvider::start()
{
    if (m_started)
        return;
    m_started = true;
    connect(&m_store, &TileStore::pagesChanged, this, &TileStateProvider::storeChanged);
    connect(&m_sources, &TileStateSources::applicationsChanged, this, &TileStateProvider::readApplications);
    connect(&m_sources, &TileStateSources::outputChanged, this, [this] {
        if (m_needs.output)
            readOutput();
    });
    connect(&m_sources, &TileStateSources::darkModeChanged, this, [this] {
        if (m_needs.darkMode)
            readDarkMode();
    });
    m_needs = needsOfStore();
    m_sources.followApplications(m_needs.applicationPaths);
    readApplications();
    readAll();
    pollWhileNeeded();
}

void TileStateProvider::refreshSoon()
{
    m_refreshTimer.start();
}

std::optional<bool> TileStateProvider::isActive(const std::optional<TileAction>& action) const
{
    if (!action)
        return std::nullopt;
    return std::visit(
        Overloaded{
            [this](const TileAction::LaunchApp& app) -> std::optional<bool> {
                return m_runningApps.contains(standardized(app.path));
            },
            [this](const TileAction::RunSystemAction& system) -> std::optional<bool> {
                if (system.action == SystemAction::muteToggle)
                    return m_output.muted;
                if (system.action == SystemAction::darkModeToggle)
                    return m_darkMode;
                return std::nullopt;
            },
            [this](const TileAction::ConnectBluetooth& device) -> std::optional<bool> {
                return m_connectedBluetooth.contains(device.address.toLower());
            },
            [this](const TileAction::AudioOutput& output) -> std::optional<bool> {
                return m_output.defaultUID == output.deviceUID;
            },
            [this](const TileAction::NowPlaying&) -> std::optional<bool> { return m_musicPlaying; },
            [](const auto&) -> std::optional<bool> { return std::nullopt; },
        },
        action->value);
}

void TileStateProvider::setMusicPlaying(bool playing)
{
    publish(m_musicPlaying, playing);
}

void TileStateProvider::poll()
{
    read(polledNeeds());
}

void TileStateProvider::readAll()
{
    read(m_needs);
}

void TileStateProvider::read(const Needs& needs)
{
    if (needs.bluetooth)
        readBluetooth();
    if (needs.output)
        readOutput();
    if (needs.darkMode)
        readDarkMode();
}

TileStateProvider::Needs TileStateProvider::polledNeeds() const
{
    // What the desktop reports by itself is not asked for again.
    const TileStateSources::Reports reported = m_sources.reports();
    Needs polled;
    polled.bluetooth = m_needs.bluetooth;
    polled.output = m_needs.output && !reported.output;
    polled.darkMode = m_needs.darkMode && !reported.darkMode;
    return polled;
}

TileStateProvider::Needs TileStateProvider::needsOfStore() const
{
    Needs needs;
    QSet<QString> seen;
    for (const Page& page : m_store.pages()) {
        for (const Tile& tile : page) {
            if (!tile.action)
                continue;
            if (const auto* app = tile.action->as<TileAction::LaunchApp>()) {
                const QString path = standardized(app->path);
                if (!seen.contains(path)) {
                    seen.insert(path);
                    needs.applicationPaths << path;
                }
            } else if (tile.action->as<TileAction::ConnectBluetooth>()) {
                needs.bluetooth = true;
            } else if (tile.action->as<TileAction::AudioOutput>()) {
                needs.output = true;
            } else if (const auto* system = tile.action->as<TileAction::RunSystemAction>()) {
                needs.output = needs.output || system->action == SystemAction::muteToggle;
                needs.darkMode = needs.darkMode || system->action == SystemAction::darkModeToggle;
            }
        }
    }
    return needs;
}

void TileStateProvider::storeChanged()
{
    const Needs before = m_needs;
    m_needs = needsOfStore();
    if (m_needs.applicationPaths != before.applicationPaths) {
        m_sources.followApplications(m_needs.applicationPaths);
        readApplications();
    }
    // A tile that starts needing a value shows it at once rather than at the next poll.
    if (m_needs.bluetooth && !before.bluetooth)
        readBluetooth();
    if (m_needs.output && !before.output)
        readOutput();
    if (m_needs.darkMode && !before.darkMode)
        readDarkMode();
    pollWhileNeeded();
}

void TileStateProvider::pollWhileNeeded()
{
    // A deck without tiles whose state must be polled sleeps.
    const Needs polled = polledNeeds();
    if (!(polled.bluetooth || polled.output || polled.darkMode))
        m_pollTimer.stop();
    else if (!m_pollTimer.isActive())
        m_pollTimer.start();
}

void TileStateProvider::readApplications()
{
    if (m_needs.applicationPaths.isEmpty()) {
        publish(m_runningApps, QSet<QString>());
        return;
    }
    m_sources.readRunningApplications(
        m_needs.applicationPaths,
        [self = QPointer(this), read = m_applicationReads.issue()](QSet<QString> running) {
            if (self && self->m_applicationReads.accept(read))
                self->publish(self->m_runningApps, std::move(running));
        });
}

void TileStateProvider::readBluetooth()
{
    m_sources.readConnectedBluetooth(
        [self = QPointer(this), read = m_bluetoothReads.issue()](QSet<QString> connected) {
            if (self && self->m_bluetoothReads.accept(read))
                self->publish(self->m_connectedBluetooth, std::move(connected));
        });
}

void TileStateProvider::readOutput()
{
    m_sources.readOutput(
        [self = QPointer(this), read = m_outputReads.issue()](TileStateSources::Output output) {
            if (self && self->m_outputReads.accept(read))
                self->publish(self->m_output, std::move(output));
        });
}

void TileStateProvider::readDarkMode()
{
    m_sources.readDarkMode([self = QPointer(this), read = m_darkModeReads.issue()](bool dark) {
        if (self && self->m_darkModeReads.accept(read))
            self->publish(self->m_darkMode, dark);
    });
}

template <typename Value>
void TileStateProvider::publish(Value& current, Value value)
{
    if (current == value)
        return;
    current = std::move(value);
    Q_EMIT changed();
}
