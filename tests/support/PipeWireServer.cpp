#include "support/PipeWireServer.h"

#include "support/Eventually.h"
#include "support/TestPrograms.h"

#include <QDeadlineTimer>
#include <QThread>

namespace {

const QStringList programs{QStringLiteral("pipewire"), QStringLiteral("wireplumber"),
                           QStringLiteral("pipewire-pulse"), QStringLiteral("pactl")};

} // namespace

PipeWireServer::PipeWireServer(QString home)
    : m_home(std::move(home))
{
}

PipeWireServer::~PipeWireServer()
{
    // The PulseAudio service and the session manager go before the server they talk to.
    for (auto program = m_programs.rbegin(); program != m_programs.rend(); ++program)
        TestPrograms::stop(**program);
}

QStringList PipeWireServer::missingPrograms()
{
    return TestPrograms::missing(programs);
}

bool PipeWireServer::start()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        return fail(QStringLiteral("no runtime folder: start a PrivateSession first"));
    // The session's own server, where PipeWire and its PulseAudio service put their sockets.
    m_environment.unset("PIPEWIRE_REMOTE");
    m_environment.set("PULSE_SERVER", "unix:" + runtime + "/pulse/native");
    for (const QString& name : {programs[0], programs[1], programs[2]}) {
        if (!startProgram(name))
            return false;
    }
    return waitForPulseService();
}

bool PipeWireServer::restartPulseService()
{
    if (m_programs.size() != 3)
        return fail(QStringLiteral("the server was not started"));
    TestPrograms::stop(*m_programs.back());
    m_programs.pop_back();
    return startProgram(programs[2]) && waitForPulseService();
}

bool PipeWireServer::startProgram(const QString& name)
{
    auto& program = m_programs.emplace_back(std::make_unique<QProcess>());
    return TestPrograms::start(*program, m_home, name) || fail(name + QStringLiteral(" did not start"));
}

bool PipeWireServer::waitForPulseService()
{
    const QDeadlineTimer deadline(std::chrono::seconds(10));
    while (!pactl({QStringLiteral("info")})) {
        if (deadline.hasExpired())
            return fail(QStringLiteral("PipeWire's PulseAudio service never answered"));
        QThread::msleep(50);
    }
    return true;
}

std::optional<QString> PipeWireServer::pactl(const QStringList& arguments) const
{
    return TestPrograms::run(m_home, QStringLiteral("pactl"), arguments);
}

// Loading the module answers before the node is on the server: a name asked for at once may not be found yet.
bool PipeWireServer::addSink(const QString& name, const QString& description) const
{
    return pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                  QStringLiteral("sink_name=") + name,
                  QStringLiteral("sink_properties=device.description=") + description})
               .has_value() &&
           eventually([&] { return lists(QStringLiteral("sinks"), name); });
}

bool PipeWireServer::addSource(const QString& name, const QString& description) const
{
    // PipeWire's null sink of the source class is a source with no monitor.
    return pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                  QStringLiteral("sink_name=") + name, QStringLiteral("media.class=Audio/Source/Virtual"),
                  QStringLiteral("sink_properties=device.description=") + description})
               .has_value() &&
           eventually([&] { return lists(QStringLiteral("sources"), name); });
}

bool PipeWireServer::lists(const QString& kind, const QString& name) const
{
    const QString listing =
        pactl({QStringLiteral("list"), QStringLiteral("short"), kind}).value_or(QString());
    for (const QString& line : listing.split(u'\n')) {
        if (line.section(u'\t', 1, 1) == name)
            return true;
    }
    return false;
}

bool PipeWireServer::fail(const QString& why)
{
    m_error = why;
    return false;
}
