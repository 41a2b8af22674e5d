#pragma once

#include "commands/DeckChannel.h"

#include <QObject>
#include <functional>

class QLocalServer;
class QLocalSocket;

// The running deck's end of the companion's channel: answers each request with what the handler makes of it.
//
// Main thread only; the handler runs on the main thread.
class DeckControlServer final : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<DeckChannel::Response(const DeckChannel::Request&)>;

    DeckControlServer(Handler handler, QObject* parent = nullptr);
    ~DeckControlServer() override;

    // Listens on `socketPath`, replacing a socket file a previous deck left behind. The caller holds the
    // deck's lock, so no live deck listens there.
    bool listen(const QString& socketPath);

private:
    void accept();
    void read(QLocalSocket* socket);

    Handler m_handler;
    QLocalServer* m_server = nullptr;
};
