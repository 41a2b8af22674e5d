#include "LogCapture.h"

#include <QDeadlineTimer>
#include <QMutex>
#include <QMutexLocker>
#include <QSignalSpy>

namespace {

// Guards the active capture and its lines: a message may be logged on any thread while the test ends.
QMutex& activeMutex()
{
    static QMutex mutex;
    return mutex;
}

LogCapture* active = nullptr;

} // namespace

LogCapture::LogCapture()
{
    QMutexLocker lock(&activeMutex());
    active = this;
    m_previous = qInstallMessageHandler(&LogCapture::handle);
}

LogCapture::~LogCapture()
{
    QMutexLocker lock(&activeMutex());
    qInstallMessageHandler(m_previous);
    active = nullptr;
}

QStringList LogCapture::lines() const
{
    QMutexLocker lock(&activeMutex());
    return m_lines;
}

bool LogCapture::waitForLines(qsizetype count)
{
    QSignalSpy spy(this, &LogCapture::logged);
    const QDeadlineTimer deadline(5000);
    while (lines().size() < count) {
        if (!spy.wait(static_cast<int>(deadline.remainingTime())))
            return false;
    }
    return true;
}

void LogCapture::handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    QMutexLocker lock(&activeMutex());
    if (!active)
        return;
    if (!QLatin1String(context.category).startsWith(QLatin1String("marquetto."))) {
        if (active->m_previous)
            active->m_previous(type, context, message);
        return;
    }
    active->m_lines << message;
    // The test's spies live on the main thread.
    QMetaObject::invokeMethod(
        active, [capture = active] { Q_EMIT capture->logged(); }, Qt::QueuedConnection);
}
