#include "core/QuitSignals.h"

#include "core/Logging.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <array>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array quitSignals{SIGTERM, SIGINT, SIGHUP};

// The handler's end of the pipe; written from the signal handler, which may do little else.
volatile sig_atomic_t writeEnd = -1;
volatile sig_atomic_t quitting = 0;

void handle(int signal)
{
    if (quitting) {
        // The quit asked for before has not ended: the default action of the signal, at once.
        ::signal(signal, SIG_DFL);
        ::raise(signal);
        return;
    }
    quitting = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
}

} // namespace

QuitSignals::QuitSignals(QObject* parent)
    : QObject(parent)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        qCWarning(lcProcess) << "Marquetto: no pipe for the quit signals; they end the deck at once";
        return;
    }
    writeEnd = ends[1];
    quitting = 0;
    m_notifier = new QSocketNotifier(ends[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        while (::read(static_cast<int>(m_notifier->socket()), &byte, 1) > 0) {
        }
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = &handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : quitSignals)
        ::sigaction(signal, &action, nullptr);
}

QuitSignals::~QuitSignals()
{
    if (!m_notifier)
        return;
    for (const int signal : quitSignals)
        ::signal(signal, SIG_DFL);
    ::close(static_cast<int>(m_notifier->socket()));
    ::close(writeEnd);
    writeEnd = -1;
}
