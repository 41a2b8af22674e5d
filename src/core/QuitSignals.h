#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP, which a session that ends or a terminal that closes sends, into a quit of
// the application's event loop: what waits to be saved is saved and every file, socket and child is let go as
// on any other quit. A second signal while that quit runs ends the program at once. One at a time.
class QuitSignals final : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

private:
    QSocketNotifier* m_notifier = nullptr;
};
