#include "app/DeckControlServer.h"

#include "core/Logging.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace {

// A client that connects and says nothing is dropped rather than kept for ever.
constexpr int requestTimeoutMs = 10000;

} // namespace

DeckControlServer::DeckControlServer(Handler handler, QObject* parent)
    : QObject(parent)
    , m_handler(std::move(handler))
    , m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &DeckControlServer::accept);
}

DeckControlServer::~DeckControlServer() = default;

bool DeckControlServer::listen(const QString& socketPath)
{
    QLocalServer::removeServer(socketPath);
    if (m_server->listen(socketPath))
        return true;
    qCWarning(lcPlatform).noquote() << "Marquetto: cannot listen for marquetto-deck on" << socketPath << ":"
                                    << m_server->errorString();
    return false;
}

void DeckControlServer::accept()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { read(socket); });
        QTimer::singleShot(requestTimeoutMs, socket, &QLocalSocket::abort);
    }
}

void DeckControlServer::read(QLocalSocket* socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > DeckChannel::maxMessageBytes)
            socket->abort();
        return;
    }
    const auto request = DeckChannel::decodeRequest(socket->readLine(DeckChannel::maxMessageBytes + 1));
    const DeckChannel::Response response =
        request
            ? m_handler(*request)
            : DeckChannel::Response{2, {}, QStringLiteral("marquetto-deck: the deck did not understand\n")};
    socket->write(DeckChannel::encode(response));
    socket->disconnectFromServer();
}
