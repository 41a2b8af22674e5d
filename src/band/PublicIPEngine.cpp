#include "PublicIPEngine.h"

#include "core/net/Endpoint.h"
#include "model/Settings.h"

#include <QPointer>
#include <algorithm>

PublicIPEngine::PublicIPEngine(const DeckSettings& settings, std::chrono::milliseconds timeout,
                               QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_fetch(QStringLiteral("public address"), {timeout, maxAnswerBytes})
{
}

void PublicIPEngine::start()
{
    m_poller.start();
}

void PublicIPEngine::stop()
{
    m_poller.stop();
}

void PublicIPEngine::fetch()
{
    if (m_fetch.isBusy())
        return;
    const std::optional<QUrl> url =
        Endpoint::fromPreference(QStringLiteral("publicIPURL"), m_settings.publicIPURL());
    if (!url) {
        apply(std::nullopt);
        return;
    }
    m_fetch.get(*url, [self = QPointer(this)](const std::optional<QByteArray>& body) {
        if (self)
            self->apply(body ? addressIn(*body) : std::nullopt);
    });
}

QString PublicIPEngine::text() const
{
    if (m_ip)
        return *m_ip;
    return m_failed ? QStringLiteral("—") : QStringLiteral("…");
}

std::optional<QString> PublicIPEngine::addressIn(const QByteArray& body)
{
    if (body.size() > maxAnswerBytes)
        return std::nullopt;
    const QString text = QString::fromUtf8(body).trimmed();
    if (text.contains(u'.')) {
        const QStringList parts = text.split(u'.');
        if (parts.size() != 4 ||
            std::any_of(parts.cbegin(), parts.cend(), [](const QString& part) { return part.isEmpty(); }))
            return std::nullopt;
        return text;
    }
    if (text.contains(u':'))
        return text;
    return std::nullopt;
}

void PublicIPEngine::apply(const std::optional<QString>& address)
{
    const std::optional<QString> ip = address ? address : m_ip;
    const bool failed = !ip;
    if (ip == m_ip && failed == m_failed)
        return;
    m_ip = ip;
    m_failed = failed;
    Q_EMIT changed();
}
