#include "platform/linux/audio/PulseAudioSystem.h"

#include "core/Logging.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <algorithm>
#include <limits>

namespace {

QString defaultSink()
{
    return QStringLiteral("@DEFAULT_SINK@");
}

// pactl 16 writes "(null)" for any text its JSON writer cannot encode, which is every text with a
// non-ASCII character in it; a real device is never called that.
QString description(const QJsonValue& value)
{
    const QString text = value.toString();
    return text == u"(null)" ? QString() : text;
}

std::optional<std::vector<AudioSystem::Device>> parseSinks(const QString& json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    std::vector<AudioSystem::Device> devices;
    for (const QJsonValue& entry : document.array()) {
        const QJsonObject sink = entry.toObject();
        const qint64 index = sink.value(u"index").toInteger(-1);
        const QString name = sink.value(u"name").toString();
        // Without its number a sink cannot be chosen, and without its name it cannot be stored.
        if (index < 0 || index > std::numeric_limits<quint32>::max() || name.isEmpty())
            continue;
        devices.push_back({static_cast<quint32>(index), name, description(sink.value(u"description")), true});
    }
    return devices;
}

// "Volume: front-left: 32768 /  50% / -18.06 dB,   front-right: 20971 /  32% / -29.69 dB". The words are
// translated with the locale; the percentages between slashes are not. The loudest channel stands for the
// sink, as a volume control shows it.
std::optional<int> loudestChannelPercent(const QString& text)
{
    static const QRegularExpression percent(QStringLiteral("/\\s*(\\d{1,6})%\\s*/"));
    std::optional<int> loudest;
    for (const QRegularExpressionMatch& match : percent.globalMatch(text))
        loudest = std::max(loudest.value_or(0), match.captured(1).toInt());
    return loudest;
}

} // namespace

PulseAudioSystem::PulseAudioSystem(ProcessRunner& runner, QString pactl)
    : m_runner(runner)
    , m_pactl(std::move(pactl))
{
}

std::vector<AudioSystem::Device> PulseAudioSystem::devices() const
{
    const std::optional<QString> output =
        query({QStringLiteral("--format=json"), QStringLiteral("list"), QStringLiteral("sinks")});
    // Without a sound server pactl prints nothing here, only its complaint on standard error.
    if (!output || output->trimmed().isEmpty())
        return {};
    std::optional<std::vector<Device>> sinks = parseSinks(*output);
    if (!sinks) {
        qCWarning(lcPlatform).noquote() << "Marquetto: unexpected sink list from" << m_pactl;
        return {};
    }
    return std::move(*sinks);
}

std::optional<quint32> PulseAudioSystem::defaultOutputDevice() const
{
    const std::optional<QString> output = query({QStringLiteral("get-default-sink")});
    if (!output)
        return std::nullopt;
    const QString name = output->trimmed();
    if (name.isEmpty())
        return std::nullopt;
    for (const Device& device : devices()) {
        if (device.uid == name)
            return device.id;
    }
    return std::nullopt;
}

void PulseAudioSystem::setDefaultOutputDevice(quint32 id)
{
    for (const Device& device : devices()) {
        if (device.id == id) {
            command({QStringLiteral("set-default-sink"), device.uid});
            return;
        }
    }
}

void PulseAudioSystem::changeOutputVolume(int percent)
{
    const std::optional<QString> output = query({QStringLiteral("get-sink-volume"), defaultSink()});
    if (!output || output->trimmed().isEmpty())
        return;
    const std::optional<int> current = loudestChannelPercent(*output);
    if (!current) {
        qCWarning(lcPlatform).noquote() << "Marquetto: unexpected volume from" << m_pactl;
        return;
    }
    // The sound server lets a volume go past 100; a step up leaves such a volume where the user put it.
    const qint64 target = std::clamp<qint64>(qint64{*current} + percent, 0, std::max(*current, 100));
    if (target == *current)
        return;
    command({QStringLiteral("set-sink-volume"), defaultSink(), QString::number(target) + u'%'});
}

void PulseAudioSystem::toggleOutputMute()
{
    command({QStringLiteral("set-sink-mute"), defaultSink(), QStringLiteral("toggle")});
}

std::optional<QString> PulseAudioSystem::query(const QStringList& arguments) const
{
    if (m_pactl.isEmpty()) {
        std::call_once(m_missingReported, [] {
            qCWarning(lcPlatform) << "Marquetto: no pactl program; sound outputs and volume are unavailable";
        });
        return std::nullopt;
    }
    std::optional<QString> output = m_runner.capture(m_pactl, arguments);
    if (!output)
        qCWarning(lcPlatform).noquote() << "Marquetto: couldn't run" << m_pactl << arguments.join(u' ');
    return output;
}

void PulseAudioSystem::command(const QStringList& arguments) const
{
    // pactl prints nothing after a change; whether it took shows in the next question.
    static_cast<void>(query(arguments));
}
