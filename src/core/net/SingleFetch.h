#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <functional>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;

// Web requests made one at a time: a GET or a POST with a deadline for the whole answer, a cap on its size
// (no more than that is ever held) and a bounded number of redirects, each of which must keep to
// `Endpoint`'s rule. Nothing reaches the network until the first request.
//
// Main thread only. The answer handler runs on the main thread, once per request that started, after the
// request is over (so it may start the next one).
class SingleFetch final : public QObject {
    Q_OBJECT
public:
    struct Limits {
        std::chrono::milliseconds timeout;
        qint64 maxBytes = 0;
        int maxRedirects = 3;
    };
    // The body of a successful answer, or nothing when the request failed (the failure is logged).
    using Answer = std::function<void(std::optional<QByteArray> body)>;

    // `what` names the request in log lines ("public address").
    SingleFetch(QString what, Limits limits, QObject* parent = nullptr);
    ~SingleFetch() override;

    // Starts a request, unless one is still out: then nothing happens and the answer is false.
    bool get(const QUrl& url, Answer answer);
    // The same for a POST of `body`, sent as `contentType`.
    bool post(const QUrl& url, const QByteArray& contentType, const QByteArray& body, Answer answer);
    [[nodiscard]] bool isBusy() const { return m_reply != nullptr; }
    // What the deadline does: gives up on the request that is out, which then answers nothing.
    void abandon();

private:
    [[nodiscard]] QNetworkRequest request(const QUrl& url);
    void watch(QNetworkReply* reply, Answer answer);
    void refuse(const QString& reason);
    void finish();

    QString m_what;
    Limits m_limits;
    QNetworkAccessManager* m_network = nullptr;
    QNetworkReply* m_reply = nullptr;
    Answer m_answer;
    QTimer m_deadline;
    // Why the request was cut short, when it was.
    QString m_refusal;
};
