#include "app/SingleInstance.h"

#include "commands/DeckChannel.h"

#include <QDeadlineTimer>
#include <QThread>

namespace {

// A restart starts the new deck a second after the old one began to quit; quitting takes far less than this.
constexpr std::chrono::seconds takeOverWait{5};

} // namespace

SingleInstance::SingleInstance(const AppPaths& paths)
    : m_paths(paths)
    , m_lock(std::make_unique<QLockFile>(DeckChannel::lockPath(paths)))
{
    // A lock left by a deck that crashed is taken over at once.
    m_lock->setStaleLockTime(0);
}

bool SingleInstance::becomeTheDeck(const QString& deckFile)
{
    QStringList reopen{QStringLiteral("reopen")};
    if (!deckFile.isEmpty())
        reopen.append(deckFile);
    const QDeadlineTimer deadline(takeOverWait);
    while (!m_lock->tryLock()) {
        if (DeckChannel::send(m_paths, {reopen, {}}, std::chrono::seconds(2)))
            return false;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
    return true;
}
