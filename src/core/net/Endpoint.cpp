#include "core/net/Endpoint.h"

#include "core/Logging.h"

#include <QDebug>
#include <QHostAddress>

namespace {

bool isLoopback(const QString& host)
{
    if (host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

} // namespace

bool Endpoint::isAllowed(const QUrl& url)
{
    if (!url.isValid() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    return scheme == u"https" || (scheme == u"http" && isLoopback(url.host()));
}

std::optional<QUrl> Endpoint::fromPreference(const QString& key, const QString& text)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (isAllowed(url))
        return url;
    // Quoted and cut short: the text was typed by hand and may be long.
    qCWarning(lcBand).noquote() << "Marquetto: preference" << key
                                << "is not an https address (or http to this machine):"
                                << QDebug::toString(text.left(80)) << "- not asked";
    return std::nullopt;
}
