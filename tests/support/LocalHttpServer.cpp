#include "LocalHttpServer.h"

#include <QTcpSocket>

namespace {

QByteArray response(int status, const QByteArray& headers, const QByteArray& body)
{
    return "HTTP/1.1 " + QByteArray::number(status) + " Scripted\r\n" + headers +
           "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

// The value of the header `name` in the request head, or nothing when it has none.
QByteArray header(const QByteArray& head, const QByteArray& name)
{
    for (const QByteArray& line : head.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

} // namespace

LocalHttpServer::LocalHttpServer()
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        }
    });
}

QUrl LocalHttpServer::url(const QString& path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
}

void LocalHttpServer::answer(const QString& path, const QByteArray& body, int status,
                             const QByteArray& contentType)
{
    m_scripts.insert(path, {response(status, "Content-Type: " + contentType + "\r\n", body)});
}

void LocalHttpServer::redirect(const QString& path, const QUrl& target)
{
    m_scripts.insert(path, {response(302, "Location: " + target.toEncoded() + "\r\n", {})});
}

void LocalHttpServer::stall(const QString& path)
{
    m_scripts.insert(path, {});
}

void LocalHttpServer::serve(QTcpSocket* socket)
{
    // The request is complete at its blank line plus the body its Content-Length announces.
    const QByteArray peeked = socket->peek(64 * 1024);
    const qsizetype headEnd = peeked.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return;
    const QByteArray head = peeked.left(headEnd);
    const qint64 length = header(head, "Content-Length").toLongLong();
    if (socket->bytesAvailable() < headEnd + 4 + length)
        return;
    socket->read(headEnd + 4);
    const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
    const QString target = QString::fromLatin1(requestLine.value(1));
    m_targets << target;
    m_requests.append({requestLine.value(0), target, header(head, "Content-Type"), socket->read(length)});
    const QString path = QUrl(target).path();
    const auto script = m_scripts.constFind(path);
    if (script == m_scripts.constEnd())
        socket->write(response(404, {}, "not found"));
    else if (!script->response.isEmpty())
        socket->write(script->response);
    else
        return;
    socket->disconnectFromHost();
    Q_EMIT requested();
}
