#include "actions/ActionRunner.h"

#include "core/BackgroundQueue.h"
#include "core/ProcessUtil.h"
#include "platform/Programs.h"
#include "support/ActionMachinery.h"
#include "support/TempHome.h"

#include <QSignalSpy>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

namespace {

using Call = FakeProcessRunner::Call;

TileAction script(const QString& source, bool isAppleScript = false)
{
    return {TileAction::RunScript{source, isAppleScript}};
}

TileAction system(SystemAction action)
{
    return {TileAction::RunSystemAction{action}};
}

TileAction scene(std::vector<TileAction> steps)
{
    return {TileAction::Sequence{std::move(steps)}};
}

class ActionRunnerTest : public TempHome {
protected:
    Preferences m_preferences{m_paths.preferencesFile()};
    ActionMachinery m_machine{m_preferences};
    ActionRunner& m_runner = m_machine.runner;
};

TEST_F(ActionRunnerTest, ProgramsAreStartedWithTheirExactCommandLines)
{
    m_runner.execute(script(QStringLiteral("say \"hi\"; echo $HOME"), true));
    m_runner.execute(script(QStringLiteral("echo 'it''s' \"$(date)\"")));
    m_runner.execute({TileAction::RunShortcut{QStringLiteral("Morning; rm -rf ~")}});
    m_runner.execute({TileAction::PlayPlaylist{QStringLiteral("Road \"Trip\" \\ 2")}});
    QSignalSpy toggled(&m_runner, &ActionRunner::nowPlayingToggled);
    m_runner.execute({TileAction::NowPlaying{}});

    const std::vector<Call> expected{
        {Programs::osascript(), {QStringLiteral("-e"), QStringLiteral("say \"hi\"; echo $HOME")}},
        {Programs::scriptShell(), {QStringLiteral("-c"), QStringLiteral("echo 'it''s' \"$(date)\"")}},
        {Programs::shortcuts(), {QStringLiteral("run"), QStringLiteral("Morning; rm -rf ~")}},
    };
    EXPECT_EQ(m_machine.processes.calls(), expected);
    EXPECT_EQ(m_machine.music.requests,
              (QStringList{QStringLiteral("play-playlist:Road \"Trip\" \\ 2"), QStringLiteral("playpause")}));
    EXPECT_EQ(toggled.count(), 1);
}

TEST_F(ActionRunnerTest, WebAddressesAreTrimmedAndGivenASchemeWhenTheyHaveNone)
{
    const struct {
        const char* typed;
        const char* opened;
    } cases[] = {
        {"  example.org/path?q=1 \n", "https://example.org/path?q=1"},
        {"mailto:someone@example.org", "mailto:someone@example.org"},
        {"http://intranet:8080/", "http://intranet:8080/"},
        {"\tfile:///tmp/x.txt", "file:///tmp/x.txt"},
    };
    for (const auto& c : cases) {
        m_machine.workspace.opened.clear();
        m_runner.execute({TileAction::OpenURL{QString::fromUtf8(c.typed)}});
        ASSERT_EQ(m_machine.workspace.opened.size(), 1u) << c.typed;
        EXPECT_EQ(m_machine.workspace.opened.front().toString(), QString::fromUtf8(c.opened)) << c.typed;
    }
    m_machine.workspace.opened.clear();
    m_runner.execute({TileAction::OpenURL{QStringLiteral("   ")}});
    m_runner.execute({TileAction::OpenURL{QStringLiteral("https://")}});
    EXPECT_TRUE(m_machine.workspace.opened.empty());
}

TEST_F(ActionRunnerTest, OtherCasesHandOverToTheirServices)
{
    m_runner.execute({TileAction::OpenFile{QStringLiteral("/home/u/My \"Notes\".txt")}});
    ASSERT_EQ(m_machine.workspace.opened.size(), 1u);
    EXPECT_EQ(m_machine.workspace.opened.front().toLocalFile(), QStringLiteral("/home/u/My \"Notes\".txt"));

    m_runner.execute({TileAction::Snippet{QStringLiteral("äöü\n")}});
    EXPECT_EQ(m_machine.clipboard.copied, QStringList{QStringLiteral("äöü\n")});

    m_runner.execute({TileAction::PlayAlbum{QStringLiteral("Blue"), QStringLiteral("Joni")}});
    EXPECT_EQ(m_machine.music.requests, QStringList{QStringLiteral("play:Blue/Joni")});

    m_runner.execute(system(SystemAction::darkModeToggle));
    m_runner.execute(system(SystemAction::volumeDown));
    EXPECT_EQ(m_machine.controls.log,
              (QStringList{QStringLiteral("toggleDarkMode"), QStringLiteral("volumeDown")}));

    m_machine.audioSystem.deviceList = {{7, QStringLiteral("usb-dac"), QStringLiteral("DAC"), true}};
    m_runner.execute({TileAction::AudioOutput{QStringLiteral("usb-dac"), QStringLiteral("DAC")}});
    m_runner.execute({TileAction::AudioOutput{QStringLiteral("gone"), QStringLiteral("Gone")}});
    m_machine.bluetoothService.connected.insert(QStringLiteral("AA:BB"), false);
    m_runner.execute({TileAction::ConnectBluetooth{QStringLiteral("AA:BB"), QStringLiteral("Buds")}});
    BackgroundQueue::waitForDone();
    EXPECT_EQ(m_machine.audioSystem.log.entries(), QStringList{QStringLiteral("default 7")});
    EXPECT_EQ(m_machine.bluetoothService.log.entries(), QStringList{QStringLiteral("connect AA:BB")});
}

TEST_F(ActionRunnerTest, SceneRunsItsStepsInOrderWithPausesAndAwaitsPrograms)
{
    QStringList timeline;
    m_machine.scenes.timeline = &timeline;
    m_machine.workspace.running.clear();
    const TileAction steps = scene({
        {TileAction::LaunchApp{QStringLiteral("/usr/share/applications/editor.desktop")}},
        script(QStringLiteral("make")),
        scene({script(QStringLiteral("nested"))}),
        {TileAction::OpenURL{QStringLiteral("example.org")}},
    });
    QSignalSpy inFlight(&m_runner, &ActionRunner::sceneInFlightChanged);
    m_runner.execute(steps);

    EXPECT_EQ(m_machine.workspace.launched,
              QStringList{QStringLiteral("/usr/share/applications/editor.desktop")});
    // The script is awaited, the nested scene skipped without a pause of its own, and nothing follows the
    // last step.
    EXPECT_EQ(
        m_machine.processes.calls(),
        (std::vector<Call>{{Programs::scriptShell(), {QStringLiteral("-c"), QStringLiteral("make")}, true}}));
    EXPECT_EQ(timeline, QStringList(2, QStringLiteral("pause 250")));
    ASSERT_EQ(m_machine.workspace.opened.size(), 1u);
    ASSERT_EQ(inFlight.count(), 2);
    EXPECT_FALSE(m_runner.isSceneInFlight());
}

TEST_F(ActionRunnerTest, SleepEndsTheSceneAndShortcutsAreAwaited)
{
    QStringList timeline;
    m_machine.scenes.timeline = &timeline;
    m_runner.execute(scene({{TileAction::RunShortcut{QStringLiteral("Dim")}},
                            system(SystemAction::sleep),
                            system(SystemAction::volumeUp)}));
    EXPECT_EQ(
        m_machine.processes.calls(),
        (std::vector<Call>{{Programs::shortcuts(), {QStringLiteral("run"), QStringLiteral("Dim")}, true}}));
    EXPECT_EQ(m_machine.controls.log, QStringList{QStringLiteral("sleep")});
    EXPECT_EQ(timeline, QStringList{QStringLiteral("pause 250")});
}

TEST_F(ActionRunnerTest, ASecondSceneIsDroppedWhileOneRunsButSingleActionsStillRun)
{
    m_machine.scenes.holdJobs = true;
    const TileAction first = scene({script(QStringLiteral("first"))});
    m_runner.execute(first);
    EXPECT_TRUE(m_runner.isSceneInFlight());
    m_runner.execute(scene({script(QStringLiteral("second"))}));
    m_runner.execute(script(QStringLiteral("single")));
    m_machine.scenes.runPending();

    const std::vector<Call> calls = m_machine.processes.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].arguments.last(), QStringLiteral("single"));
    EXPECT_EQ(calls[1].arguments.last(), QStringLiteral("first"));
    EXPECT_FALSE(m_runner.isSceneInFlight());

    m_runner.execute(first);
    m_machine.scenes.runPending();
    EXPECT_EQ(m_machine.processes.calls().size(), 3u);
}

} // namespace

namespace {

// The real scene queue and real programs: a script that hangs holds its scene, never the main thread.
TEST_F(ActionRunnerTest, AHangingSceneKeepsOtherScenesOutButNeverTheMainThread)
{
    ProcessUtil processes;
    ThreadSceneQueue queue;
    ActionRunner runner({processes, m_machine.workspace, m_machine.apps, m_machine.systemActions,
                         m_machine.music, m_machine.audio, m_machine.bluetooth, m_machine.clipboard, queue});
    const QString pidFile = m_dir.filePath(QStringLiteral("pid"));
    QSignalSpy inFlight(&runner, &ActionRunner::sceneInFlightChanged);

    runner.execute(
        scene({script(QStringLiteral("echo $$ > '%1.tmp' && mv '%1.tmp' '%1' && exec sleep 60").arg(pidFile)),
               {TileAction::OpenURL{QStringLiteral("example.org")}}}));
    runner.execute(scene({{TileAction::OpenURL{QStringLiteral("dropped.example")}}}));
    runner.execute({TileAction::OpenFile{QStringLiteral("/tmp")}});
    ASSERT_TRUE(QTest::qWaitFor([&] { return exists(pidFile); }, 5000));
    EXPECT_TRUE(runner.isSceneInFlight());
    ASSERT_EQ(m_machine.workspace.opened.size(), 1u);
    EXPECT_EQ(m_machine.workspace.opened.front(), QUrl::fromLocalFile(QStringLiteral("/tmp")));

    // Once the script ends, the scene goes on to its next step, on the main thread, and then ends.
    ::kill(readFile(pidFile).trimmed().toInt(), SIGTERM);
    ASSERT_TRUE(inFlight.wait(5000) || inFlight.count() == 2);
    EXPECT_FALSE(runner.isSceneInFlight());
    ASSERT_EQ(m_machine.workspace.opened.size(), 2u);
    EXPECT_EQ(m_machine.workspace.opened.back(), QUrl(QStringLiteral("https://example.org")));
}

} // namespace
