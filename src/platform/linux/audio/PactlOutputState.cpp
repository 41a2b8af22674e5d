#include "platform/linux/audio/PactlOutputState.h"

#include "core/BackgroundQueue.h"
#include "core/Logging.h"
#include "core/MainThread.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>

PactlOutputState::PactlOutputState(ProcessRunner& runner, QString pactl,
                                   std::shared_ptr<PactlSubscription> events, QObject* parent)
    : QObject(parent)
    , m_runner(runner)
    , m_pactl(std::move(pactl))
    , m_subscription(std::move(events))
{
    connect(m_subscription.get(), &PactlSubscription::eventLine, this, &PactlOutputState::readEvent);
    // Events missed while the child was away leave the last values uncertain.
    connect(m_subscription.get(), &PactlSubscription::ended, this, [this] { m_last.reset(); });
    connect(m_subscription.get(), &PactlSubscription::listening, this, &PactlOutputState::queryAfterEvent);
}

void PactlOutputState::read(std::function<void(Output)> answer)
{
    if (m_pactl.isEmpty()) {
        MainThread::answerLater(this, std::move(answer), Output());
        return;
    }
    follow();
    if (m_last && m_subscription->isRunning()) {
        MainThread::answerLater(this, std::move(answer), *m_last);
        return;
    }
    query([this, answer = std::move(answer)](Output output) {
        if (m_subscription->isRunning())
            m_last = output;
        answer(output);
    });
}

TileStateSources::Output PactlOutputState::parse(const QString& defaultSink, const QString& sinksJson)
{
    const QString name = defaultSink.trimmed();
    if (name.isEmpty())
        return {};
    const QJsonDocument document = QJsonDocument::fromJson(sinksJson.toUtf8());
    for (const QJsonValue& entry : document.array()) {
        const QJsonObject sink = entry.toObject();
        if (sink.value(u"name").toString() == name)
            return {sink.value(u"mute").toBool(), name};
    }
    return {};
}

bool PactlOutputState::isOutputEvent(QStringView line)
{
    // "Event 'change' on sink #53"; "sink-input" events are streams coming and going.
    return line.contains(u" on sink #") || line.contains(u" on server");
}

void PactlOutputState::follow()
{
    m_subscription->start();
}

void PactlOutputState::readEvent(const QString& line)
{
    if (isOutputEvent(line))
        queryAfterEvent();
}

void PactlOutputState::queryAfterEvent()
{
    // A burst of events (a device plugged in changes several things) needs one query after the last.
    if (m_queryingAfterEvent) {
        m_eventWhileQuerying = true;
        return;
    }
    m_queryingAfterEvent = true;
    query([this](Output output) {
        m_queryingAfterEvent = false;
        const bool differs = m_last != output;
        m_last = output;
        if (differs)
            Q_EMIT changed();
        if (std::exchange(m_eventWhileQuerying, false))
            queryAfterEvent();
    });
}

void PactlOutputState::query(std::function<void(Output)> done)
{
    BackgroundQueue::run([&runner = m_runner, pactl = m_pactl, self = QPointer(this), done = std::move(done),
                          issued = m_queries.issue()] {
        const std::optional<QString> defaultSink =
            runner.capture(pactl, {QStringLiteral("get-default-sink")});
        const std::optional<QString> sinks = runner.capture(
            pactl, {QStringLiteral("--format=json"), QStringLiteral("list"), QStringLiteral("sinks")});
        if (!defaultSink || !sinks)
            qCWarning(lcPlatform).noquote() << "Marquetto: couldn't run" << pactl;
        const Output output = parse(defaultSink.value_or(QString()), sinks.value_or(QString()));
        MainThread::post(
            self, [done, output, issued](PactlOutputState& state) { done(state.newest(issued, output)); });
    });
}

TileStateSources::Output PactlOutputState::newest(quint64 issued, const Output& output)
{
    // Queries run side by side: one that began before a change may end after one that began after it.
    return m_queries.accept(issued) ? output : m_last.value_or(output);
}
