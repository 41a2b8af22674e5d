#include "platform/linux/audio/PulseAudioInput.h"

#include "core/Logging.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>

namespace {

// The server's unit volume, "100%".
constexpr double kNormalVolume = 65536;
// How far a volume read back may stray from the one written: the server keeps whole steps per channel.
constexpr float kVolumeTolerance = 0.005F;

std::optional<float> loudestChannel(const QJsonObject& volume)
{
    std::optional<double> loudest;
    for (const QJsonValue& channel : volume) {
        const QJsonValue value = channel.toObject().value(u"value");
        if (value.isDouble())
            loudest = std::max(loudest.value_or(0), value.toDouble() / kNormalVolume);
    }
    if (!loudest)
        return std::nullopt;
    // A source may be boosted past the unit volume, and a broken answer may say anything; an input's volume
    // is read as 0 to 1.
    return static_cast<float>(std::min(*loudest, 1.0));
}

} // namespace

PulseAudioInput::PulseAudioInput(ProcessRunner& runner, QString pactl,
                                 std::shared_ptr<PactlSubscription> events, QObject* parent)
    : AudioInput(parent)
    , m_runner(runner)
    , m_pactl(std::move(pactl))
    , m_subscription(std::move(events))
{
    connect(m_subscription.get(), &PactlSubscription::eventLine, this, [this](const QString& line) {
        if (isInputEvent(line))
            Q_EMIT changed();
    });
    // What happened before the child listened went unseen.
    connect(m_subscription.get(), &PactlSubscription::listening, this, &AudioInput::changed);
}

std::optional<AudioInput::Input> PulseAudioInput::defaultInput()
{
    const QString name = run({QStringLiteral("get-default-source")}).value_or(QString()).trimmed();
    if (name.isEmpty() || name.endsWith(u".monitor")) {
        m_defaultIndex = noInput;
        return std::nullopt;
    }
    std::optional<qint64> index;
    std::optional<Input> input = source(name, &index);
    // Without the number every source's events count, as before the first read.
    m_defaultIndex = index.value_or(notRead);
    return input;
}

bool PulseAudioInput::setMuted(const QString& name, bool muted)
{
    if (!run({QStringLiteral("set-source-mute"), name, muted ? QStringLiteral("1") : QStringLiteral("0")}))
        return false;
    const std::optional<Input> after = source(name);
    return after && after->muted == muted;
}

bool PulseAudioInput::setVolume(const QString& name, float volume)
{
    const auto raw = static_cast<qint64>(std::lround(std::clamp(volume, 0.0F, 1.0F) * kNormalVolume));
    if (!run({QStringLiteral("set-source-volume"), name, QString::number(raw)}))
        return false;
    const std::optional<Input> after = source(name);
    return after && after->volume && std::abs(*after->volume - volume) <= kVolumeTolerance;
}

void PulseAudioInput::follow()
{
    if (!m_pactl.isEmpty())
        m_subscription->start();
}

std::optional<AudioInput::Input> PulseAudioInput::parse(const QString& name, const QString& sourcesJson,
                                                        std::optional<qint64>* index)
{
    const QJsonDocument document = QJsonDocument::fromJson(sourcesJson.toUtf8());
    for (const QJsonValue& entry : document.array()) {
        const QJsonObject source = entry.toObject();
        if (source.value(u"name").toString() != name)
            continue;
        if (const QJsonValue number = source.value(u"index"); index && number.isDouble())
            *index = number.toInteger();
        Input input{name, std::nullopt, loudestChannel(source.value(u"volume").toObject())};
        if (const QJsonValue mute = source.value(u"mute"); mute.isBool())
            input.muted = mute.toBool();
        return input;
    }
    return std::nullopt;
}

bool PulseAudioInput::isInputEvent(QStringView line) const
{
    if (line.contains(u" on server"))
        return true;
    // "Event 'change' on source #7"; "source-output" events are recordings coming and going.
    static constexpr QStringView onSource = u" on source #";
    const qsizetype at = line.indexOf(onSource);
    if (at < 0)
        return false;
    const qint64 index = m_defaultIndex;
    if (index == notRead)
        return true;
    bool isNumber = false;
    const qint64 source = line.mid(at + onSource.size()).trimmed().toLongLong(&isNumber);
    return isNumber && source == index;
}

std::optional<AudioInput::Input> PulseAudioInput::source(const QString& name, std::optional<qint64>* index)
{
    const std::optional<QString> sources =
        run({QStringLiteral("--format=json"), QStringLiteral("list"), QStringLiteral("sources")});
    if (!sources)
        return std::nullopt;
    std::optional<Input> input = parse(name, *sources, index);
    if (!input)
        qCWarning(lcPlatform).noquote() << "Marquetto: the sound server listed no source called" << name;
    return input;
}

std::optional<QString> PulseAudioInput::run(const QStringList& arguments)
{
    if (m_pactl.isEmpty())
        return std::nullopt;
    std::optional<QString> output = m_runner.capture(m_pactl, arguments);
    if (!output)
        qCWarning(lcPlatform).noquote() << "Marquetto: couldn't run" << m_pactl << arguments.join(u' ');
    return output;
}
