#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

// An HTTP/1.1 server on 127.0.0.1 at a port of its own, on the test's thread, answering each path as the test
// scripted it. Unscripted paths answer 404. Every request's target (path and query) is recorded, and every
// request in full.
class LocalHttpServer final : public QObject {
    Q_OBJECT
public:
    struct Request {
        QByteArray method;
        QString target;
        QByteArray contentType;
        QByteArray body;
    };

    LocalHttpServer();

    // The address of `path` on this server, with plain http.
    [[nodiscard]] QUrl url(const QString& path) const;

    void answer(const QString& path, const QByteArray& body, int status = 200,
                const QByteArray& contentType = "text/plain");
    void redirect(const QString& path, const QUrl& target);
    // Reads the request and never answers it.
    void stall(const QString& path);

    [[nodiscard]] const QStringList& targets() const { return m_targets; }
    [[nodiscard]] const QList<Request>& requests() const { return m_requests; }

Q_SIGNALS:
    void requested();

private:
    struct Script {
        QByteArray response; // empty: never answered
    };
    void serve(QTcpSocket* socket);

    QTcpServer m_server;
    QHash<QString, Script> m_scripts;
    QStringList m_targets;
    QList<Request> m_requests;
};
