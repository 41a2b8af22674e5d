#pragma once

#include <QObject>
#include <QStringList>

// Collects what Marquetto logs while it exists instead of printing it, from any thread. Other programs'
// messages (Qt's own) go on to the handler that was there before.
class LogCapture final : public QObject {
    Q_OBJECT
public:
    LogCapture();
    ~LogCapture() override;
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    [[nodiscard]] QStringList lines() const;
    // Waits, a few seconds at most, until `count` lines have been logged in all.
    [[nodiscard]] bool waitForLines(qsizetype count);

Q_SIGNALS:
    void logged();

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message);

    QtMessageHandler m_previous = nullptr;
    QStringList m_lines;
};
