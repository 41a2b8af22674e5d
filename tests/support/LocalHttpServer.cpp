#include "LocalHttpServer.h"

#include <QTcpSocket>

namespace {

QByteArray response(int status, const QByteArray& headers, const QByteArray& body)
{
    return "HTTP/1.1 " + QByteArray::number(status) + " Scripted\r\n" + headers +
           "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
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
    // The clients under test send no body: the request is complete at its blank line.
    if (!socket->peek(64 * 1024).contains("\r\n\r\n"))
        return;
    const QByteArray request = socket->readAll();
    const QString target = QString::fromLatin1(request.split(' ').value(1));
    m_targets << target;
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
