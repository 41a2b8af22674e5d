#include "FuzzCheck.h"
#include "FuzzReader.h"
#include "platform/linux/audio/PactlOutputState.h"
#include "platform/linux/audio/PulseAudioInput.h"
#include "platform/linux/audio/PulseAudioSystem.h"
#include "support/FakeProcessRunner.h"

#include <cstdio>
#include <cstdlib>

namespace {

const QString pactl = QStringLiteral("/usr/bin/pactl");

[[noreturn]] void fail(const char* problem)
{
    std::fprintf(stderr, "%s\n", problem);
    std::abort();
}

// The percentage the deck asked the sound server to set, from the last volume command it ran.
std::optional<int> volumeSet(const FakeProcessRunner& runner)
{
    for (const FakeProcessRunner::Call& call : runner.calls()) {
        if (call.arguments.value(0) == u"set-sink-volume") {
            QString percent = call.arguments.value(2);
            if (!percent.endsWith(u'%'))
                fail("a volume set without its percent sign");
            percent.chop(1);
            return percent.toInt();
        }
    }
    return std::nullopt;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    quietQtMessages();
    return 0;
}

// What `pactl` prints, to every reader of it: a device name (the default sink or source), a zero byte, what
// `get-sink-volume` and `subscribe` print, a zero byte, and the JSON of `list sinks` or `list sources`.
// A volume the deck sets stays within 0 and 100 percent; an input's volume within 0 and 1.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzReader in(data, size);
    const QString name = QString::fromUtf8(in.terminated());
    const QString lines = QString::fromUtf8(in.terminated());
    const QString json = QString::fromUtf8(in.rest());

    FakeProcessRunner runner;
    runner.answer(pactl + QStringLiteral(" --format=json list sinks"), json);
    runner.answer(pactl + QStringLiteral(" get-default-sink"), name);
    runner.answer(pactl + QStringLiteral(" get-sink-volume @DEFAULT_SINK@"), lines);
    PulseAudioSystem audio(runner, pactl);
    static_cast<void>(audio.devices());
    static_cast<void>(audio.defaultOutputDevice());
    audio.changeOutputVolume(10);
    if (const std::optional<int> percent = volumeSet(runner); percent && (*percent < 0 || *percent > 100))
        fail("a volume set outside 0 to 100 percent");

    static_cast<void>(PactlOutputState::parse(name, json));
    if (const std::optional<AudioInput::Input> input = PulseAudioInput::parse(name, json);
        input && input->volume && !(*input->volume >= 0 && *input->volume <= 1))
        fail("an input volume outside 0 to 1");
    const PulseAudioInput microphone(runner, pactl, std::make_shared<PactlSubscription>(pactl));
    for (const QStringView line : QStringView(lines).split(u'\n')) {
        static_cast<void>(PactlOutputState::isOutputEvent(line));
        static_cast<void>(microphone.isInputEvent(line));
    }
    return 0;
}
