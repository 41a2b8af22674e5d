#include "platform/linux/system/LinuxTileStateSources.h"

#include "core/BackgroundQueue.h"
#include "core/MainThread.h"

#include <QPointer>

namespace {

// BlueZ and the portal answer at once when they are there at all.
constexpr std::chrono::seconds kBusTimeout{2};

void scan(const std::shared_ptr<ProgramScanner>& scanner, const QStringList& paths,
          std::function<void(QSet<QString>)> answer)
{
    BackgroundQueue::run([scanner, paths, answer = std::move(answer)] {
        QSet<QString> running = scanner->running(paths);
        MainThread::post([answer, running = std::move(running)] { answer(running); });
    });
}

} // namespace

LinuxTileStateSources::LinuxTileStateSources(ProcessRunner& runner, Programs programs,
                                             std::shared_ptr<PactlSubscription> soundEvents,
                                             LazyDBusConnection system, LazyDBusConnection session,
                                             QObject* parent)
    : TileStateSources(parent)
    , m_scanner(std::make_shared<ProgramScanner>(programs.procRoot))
    , m_bluetooth(std::move(system), kBusTimeout)
    , m_output(runner, programs.pactl, std::move(soundEvents))
    , m_colourScheme(std::move(session), runner, programs.gsettings, kBusTimeout)
{
    connect(&m_output, &PactlOutputState::changed, this, &TileStateSources::outputChanged);
    connect(&m_colourScheme, &DesktopColourScheme::changed, this, &TileStateSources::darkModeChanged);
    m_checkTimer.setInterval(checkInterval);
    connect(&m_checkTimer, &QTimer::timeout, this, &LinuxTileStateSources::checkApplications);
}

void LinuxTileStateSources::readConnectedBluetooth(std::function<void(QSet<QString>)> answer)
{
    m_bluetooth.read(std::move(answer));
}

void LinuxTileStateSources::readOutput(std::function<void(Output)> answer)
{
    m_output.read(std::move(answer));
}

void LinuxTileStateSources::readDarkMode(std::function<void(bool)> answer)
{
    m_colourScheme.read(std::move(answer));
}

void LinuxTileStateSources::readRunningApplications(const QStringList& paths,
                                                    std::function<void(QSet<QString>)> answer)
{
    scan(m_scanner, paths, std::move(answer));
}

void LinuxTileStateSources::followApplications(const QStringList& paths)
{
    m_followed = paths;
    m_lastCheck.reset();
    if (paths.isEmpty())
        m_checkTimer.stop();
    else if (!m_checkTimer.isActive())
        m_checkTimer.start();
}

void LinuxTileStateSources::checkApplications()
{
    // A pass that takes longer than the interval must not pile up behind itself.
    if (m_checking || m_followed.isEmpty())
        return;
    m_checking = true;
    scan(m_scanner, m_followed, [self = QPointer(this), followed = m_followed](QSet<QString> running) {
        if (!self)
            return;
        self->m_checking = false;
        if (followed != self->m_followed)
            return;
        // Without a pass to compare with, whoever shows the state read it before this pass and may have
        // missed a launch or an exit since: the first pass after a change of the followed paths reports.
        const bool differs = !self->m_lastCheck || *self->m_lastCheck != running;
        self->m_lastCheck = std::move(running);
        if (differs)
            Q_EMIT self->applicationsChanged();
    });
}
