#include "core/net/SingleFetch.h"

#include "core/Logging.h"
#include "core/net/Endpoint.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

SingleFetch::SingleFetch(QString what, Limits limits, QObject* parent)
    : QObject(parent)
    , m_what(std::move(what))
    , m_limits(limits)
{
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(m_limits.timeout);
    connect(&m_deadline, &QTimer::timeout, this, &SingleFetch::abandon);
}

SingleFetch::~SingleFetch()
{
    // Aborting answers at once; nobody is left to hear it.
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

bool SingleFetch::get(const QUrl& url, Answer answer)
{
    if (m_reply)
        return false;
    const QNetworkRequest get = request(url);
    watch(m_network->get(get), std::move(answer));
    return true;
}

bool SingleFetch::post(const QUrl& url, const QByteArray& contentType, const QByteArray& body, Answer answer)
{
    if (m_reply)
        return false;
    QNetworkRequest post = request(url);
    post.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
    watch(m_network->post(post, body), std::move(answer));
    return true;
}

QNetworkRequest SingleFetch::request(const QUrl& url)
{
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(m_limits.maxRedirects);
    return request;
}

void SingleFetch::watch(QNetworkReply* reply, Answer answer)
{
    m_answer = std::move(answer);
    m_refusal.clear();
    m_reply = reply;
    // Past the cap the connection stops being read, so a huge answer is never held whole.
    reply->setReadBufferSize(m_limits.maxBytes + 1);
    connect(reply, &QNetworkReply::redirected, this, [this, reply](const QUrl& target) {
        if (Endpoint::isAllowed(target))
            Q_EMIT reply->redirectAllowed();
        else
            refuse(QStringLiteral("redirected to an address that is not https"));
    });
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
        if (reply->bytesAvailable() > m_limits.maxBytes)
            refuse(QStringLiteral("the answer is longer than %1 bytes").arg(m_limits.maxBytes));
    });
    connect(reply, &QNetworkReply::finished, this, &SingleFetch::finish);
    m_deadline.start();
}

void SingleFetch::abandon()
{
    refuse(QStringLiteral("no answer within %1 ms").arg(m_limits.timeout.count()));
}

void SingleFetch::refuse(const QString& reason)
{
    if (!m_reply || !m_refusal.isEmpty())
        return;
    m_refusal = reason;
    m_reply->abort();
}

void SingleFetch::finish()
{
    m_deadline.stop();
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    if (!reply)
        return;
    reply->deleteLater();
    std::optional<QByteArray> body;
    if (!m_refusal.isEmpty()) {
        qCWarning(lcBand).noquote() << "Marquetto:" << m_what << "request to" << reply->request().url().host()
                                    << "given up:" << m_refusal;
    } else if (reply->error() != QNetworkReply::NoError) {
        qCWarning(lcBand).noquote() << "Marquetto:" << m_what << "request to" << reply->request().url().host()
                                    << "failed:" << reply->errorString();
    } else if (reply->bytesAvailable() > m_limits.maxBytes) {
        qCWarning(lcBand).noquote() << "Marquetto:" << m_what << "answer is longer than" << m_limits.maxBytes
                                    << "bytes; ignored";
    } else {
        body = reply->readAll();
    }
    // Taken out first: the handler may start the next request.
    const Answer answer = std::exchange(m_answer, {});
    if (answer)
        answer(std::move(body));
}
