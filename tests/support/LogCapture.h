#pragma once

#include <QMutex>
#include <QMutexLocker>
#include <QStringList>
#include <QtGlobal>

// Collects the log lines written while it exists, from any thread, instead of printing them.
class LogCapture {
public:
    LogCapture()
        : m_previous(qInstallMessageHandler(&LogCapture::collect))
    {
        current() = this;
    }
    ~LogCapture()
    {
        qInstallMessageHandler(m_previous);
        current() = nullptr;
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    [[nodiscard]] QStringList lines() const
    {
        QMutexLocker lock(&m_mutex);
        return m_lines;
    }

private:
    static LogCapture*& current()
    {
        static LogCapture* capture = nullptr;
        return capture;
    }
    static void collect(QtMsgType, const QMessageLogContext&, const QString& message)
    {
        if (LogCapture* capture = current()) {
            QMutexLocker lock(&capture->m_mutex);
            capture->m_lines << message;
        }
    }

    QtMessageHandler m_previous = nullptr;
    mutable QMutex m_mutex;
    QStringList m_lines;
};
