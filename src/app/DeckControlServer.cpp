#include "app/DeckControlServer.h"

#include "core/Logging.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <sys/socket.h>

namespace {

// A client that connects and says nothing is dropped rather than kept for ever.
constexpr int requestTimeoutMs = 10000;

// The client sends one line and then only waits for the answer, so an end of stream behind it means the
// client gave up: it has told its user the command failed.
bool clientHasGone(const QLocalSocket& socket)
{
    if (socket.state() != QLocalSocket::ConnectedState)
        return true;
    char next = 0;
    return ::recv(static_cast<int>(socket.socketDescriptor()), &next, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
}

bool isStale(const DeckChannel::Request& request, const QLocalSocket& socket)
{
    return (request.deadline && *request.deadline <= std::chrono::steady_clock::now()) ||
           clientHasGone(socket);
}

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
    if (request && isStale(*request, *socket)) {
        qCWarning(lcPlatform).noquote() << "Marquetto: dropped" << request->arguments.value(0)
                                        << "from marquetto-deck, which had stopped waiting for it";
        socket->abort();
        return;
    }
    const DeckChannel::Response response =
        request
            ? m_handler(*request)
            : DeckChannel::Response{2, {}, QStringLiteral("marquetto-deck: the deck did not understand\n")};
    socket->write(DeckChannel::encode(response));
    socket->disconnectFromServer();
}
