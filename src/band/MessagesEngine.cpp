#include "band/MessagesEngine.h"

MessagesEngine::MessagesEngine(UnreadMessages& source, QObject* parent)
    : QObject(parent)
    , m_source(source)
{
    connect(&m_source, &UnreadMessages::changed, this, [this] {
        if (isRunning())
            poll();
    });
}

void MessagesEngine::start()
{
    m_poller.start();
}

void MessagesEngine::stop()
{
    m_poller.stop();
}

void MessagesEngine::poll()
{
    m_source.read(this, [this](UnreadMessages::Reading reading) { apply(reading); });
}

void MessagesEngine::openMessages()
{
    m_source.open();
}

void MessagesEngine::openFullDiskAccessSettings()
{
    m_source.openAccessSettings();
}

void MessagesEngine::apply(UnreadMessages::Reading reading)
{
    using enum UnreadMessages::Reading::Kind;
    const bool needsAccess = reading.kind == noAccess;
    if (reading.kind == count && reading.count != m_unread) {
        m_unread = reading.count;
        Q_EMIT unreadChanged(m_unread);
    }
    if (needsAccess != m_needsAccess) {
        m_needsAccess = needsAccess;
        Q_EMIT needsAccessChanged(m_needsAccess);
    }
}
