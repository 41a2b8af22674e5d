#include "ActionRunner.h"

#include "core/BackgroundQueue.h"
#include "core/Logging.h"
#include "core/Overloaded.h"
#include "platform/Programs.h"

#include <QUrl>

namespace {

struct Command {
    QString executable;
    QStringList arguments;
};

Command commandFor(const TileAction::RunShortcut& shortcut)
{
    return {Programs::shortcuts(), {QStringLiteral("run"), shortcut.name}};
}

// The source goes to the interpreter as one argument, unchanged.
Command commandFor(const TileAction::RunScript& script)
{
    if (script.isAppleScript)
        return {Programs::osascript(), {QStringLiteral("-e"), script.source}};
    return {Programs::scriptShell(), {QStringLiteral("-c"), script.source}};
}

} // namespace

ActionRunner::ActionRunner(Services services, QObject* parent)
    : QObject(parent)
    , m_services(services)
{
}

std::optional<QUrl> ActionRunner::webAddress(const QString& urlString)
{
    QString text = urlString.trimmed();
    const QUrl parsed(text, QUrl::StrictMode);
    if (!parsed.isValid() || parsed.scheme().isEmpty())
        text.prepend(QStringLiteral("https://"));
    QUrl url(text, QUrl::StrictMode);
    // "https://" alone parses, but names no place to go.
    const bool isWeb = url.scheme() == u"https" || url.scheme() == u"http";
    if (!url.isValid() || (isWeb && url.host().isEmpty()))
        return std::nullopt;
    return url;
}

void ActionRunner::execute(const TileAction& action)
{
    ProcessRunner& processes = m_services.processes;
    std::visit(
        Overloaded{
            [&](const TileAction::LaunchApp& launch) { m_services.apps.launch(launch.path); },
            [&](const TileAction::OpenFile& file) {
                m_services.workspace.open(QUrl::fromLocalFile(file.path));
            },
            [&](const TileAction::OpenURL& web) {
                if (const std::optional<QUrl> url = webAddress(web.urlString))
                    m_services.workspace.open(*url);
            },
            [&](const TileAction::PlayPlaylist& playlist) { m_services.music.playPlaylist(playlist.name); },
            [&](const TileAction::PlayAlbum& album) { m_services.music.play(album.name, album.artist); },
            [&](const TileAction::NowPlaying&) {
                m_services.music.playPause();
                Q_EMIT nowPlayingToggled();
            },
            [&](const TileAction::RunSystemAction& system) { m_services.systemActions.run(system.action); },
            [&](const TileAction::RunShortcut& shortcut) {
                const Command command = commandFor(shortcut);
                processes.fireAndForget(command.executable, command.arguments);
            },
            [&](const TileAction::RunScript& script) {
                const Command command = commandFor(script);
                processes.fireAndForget(command.executable, command.arguments);
            },
            [&](const TileAction::Sequence& scene) { runScene(scene.steps); },
            [&](const TileAction::ConnectBluetooth& device) { m_services.bluetooth.toggle(device.address); },
            [&](const TileAction::AudioOutput& output) { switchAudioOutput(output.deviceUID); },
            [&](const TileAction::Snippet& snippet) { m_services.clipboard.setText(snippet.text); },
        },
        action.value);
}

void ActionRunner::switchAudioOutput(const QString& deviceUid)
{
    // The sound server may take a moment to answer; the main thread never waits for it.
    BackgroundQueue::run([&audio = m_services.audio, deviceUid] {
        if (const std::optional<quint32> id = audio.deviceID(deviceUid))
            audio.makeDefaultOutput(*id);
    });
}

void ActionRunner::runScene(const std::vector<TileAction>& steps)
{
    if (m_sceneInFlight)
        return;
    m_sceneInFlight = true;
    Q_EMIT sceneInFlightChanged(true);

    SceneQueue& queue = m_services.scenes;
    queue.submit([this, &queue, steps] {
        for (std::size_t index = 0; index < steps.size(); ++index) {
            const TileAction& step = steps[index];
            if (step.as<TileAction::Sequence>())
                continue;
            runSceneStep(step);
            const auto* system = step.as<TileAction::RunSystemAction>();
            if (system && system->action == SystemAction::sleep)
                break;
            if (index + 1 < steps.size())
                queue.pause(pauseBetweenSteps);
        }
        queue.postToMainThread([this] {
            m_sceneInFlight = false;
            Q_EMIT sceneInFlightChanged(false);
        });
    });
}

void ActionRunner::runSceneStep(const TileAction& step)
{
    // Shortcuts and scripts are awaited, so that the next step starts after they have finished.
    std::optional<Command> awaited;
    if (const auto* shortcut = step.as<TileAction::RunShortcut>())
        awaited = commandFor(*shortcut);
    else if (const auto* script = step.as<TileAction::RunScript>())
        awaited = commandFor(*script);
    if (awaited)
        (void)m_services.processes.capture(awaited->executable, awaited->arguments);
    else
        m_services.scenes.runOnMainThread([this, &step] { execute(step); });
}
