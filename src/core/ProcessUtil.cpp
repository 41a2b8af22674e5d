#include "ProcessUtil.h"

#include "core/ChildReaper.h"
#include "core/Logging.h"

#include <QByteArray>
#include <QStringDecoder>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// A file descriptor closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1)
        : m_fd(fd)
    {
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { reset(); }

    [[nodiscard]] int get() const { return m_fd; }
    void reset()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
};

// The argument vector of the child: the executable's path as argv[0], then the arguments, NUL-terminated.
class ArgumentVector {
public:
    ArgumentVector(const QString& executable, const QStringList& arguments)
    {
        m_storage.reserve(arguments.size() + 1);
        m_storage.push_back(executable.toLocal8Bit());
        for (const QString& argument : arguments)
            m_storage.push_back(argument.toLocal8Bit());
        for (QByteArray& text : m_storage)
            m_pointers.push_back(text.data());
        m_pointers.push_back(nullptr);
    }

    [[nodiscard]] const char* path() const { return m_storage.front().constData(); }
    [[nodiscard]] char* const* argv() const { return m_pointers.data(); }

private:
    std::vector<QByteArray> m_storage;
    std::vector<char*> m_pointers;
};

struct SpawnRequest {
    int standardOutput = -1; // the pipe's write end, or -1 for /dev/null
    bool ownSession = false;
};

// Starts the program and answers its process id, or logs why it could not be started.
std::optional<pid_t> spawn(const QString& executable, const QStringList& arguments, SpawnRequest request)
{
    const ArgumentVector args(executable, arguments);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (request.standardOutput >= 0)
        posix_spawn_file_actions_adddup2(&actions, request.standardOutput, STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    // The deck may ignore or block signals (SIGPIPE above all); a script must start with the defaults.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t noSignals;
    sigemptyset(&noSignals);
    sigset_t allSignals;
    sigfillset(&allSignals);
    posix_spawnattr_setsigmask(&attributes, &noSignals);
    posix_spawnattr_setsigdefault(&attributes, &allSignals);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (request.ownSession)
        flags |= POSIX_SPAWN_SETSID;
    posix_spawnattr_setflags(&attributes, flags);

    pid_t pid = 0;
    const int failure = posix_spawn(&pid, args.path(), &actions, &attributes, args.argv(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (failure != 0) {
        qCWarning(lcProcess).noquote() << "Marquetto: failed to run" << executable + QLatin1Char(':')
                                       << QString::fromLocal8Bit(std::strerror(failure));
        return std::nullopt;
    }
    return pid;
}

// Reads until the end of the stream; answers nothing when more than the limit arrived.
std::optional<QByteArray> readAll(int fd)
{
    QByteArray output;
    bool overflowed = false;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count == 0)
            break;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (!overflowed && output.size() + count <= ProcessUtil::maximumOutput)
            output.append(buffer, count);
        else
            overflowed = true;
    }
    if (overflowed)
        return std::nullopt;
    return output;
}

std::optional<QString> decodeUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

std::optional<QString> ProcessUtil::capture(const QString& executable, const QStringList& arguments)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        qCWarning(lcProcess).noquote() << "Marquetto: failed to run" << executable + QLatin1Char(':')
                                       << QString::fromLocal8Bit(std::strerror(errno));
        return std::nullopt;
    }
    Descriptor readEnd(ends[0]);
    Descriptor writeEnd(ends[1]);

    const std::optional<pid_t> pid = spawn(executable, arguments, {.standardOutput = writeEnd.get()});
    writeEnd.reset();
    if (!pid)
        return std::nullopt;

    const std::optional<QByteArray> output = readAll(readEnd.get());
    readEnd.reset();
    ChildReaper::reapNow(*pid);
    if (!output) {
        qCWarning(lcProcess).noquote() << "Marquetto: dropped the output of" << executable
                                       << "for being larger than" << maximumOutput << "bytes";
        return std::nullopt;
    }
    return decodeUtf8(*output);
}

void ProcessUtil::fireAndForget(const QString& executable, const QStringList& arguments)
{
    const std::optional<pid_t> pid = spawn(executable, arguments, {.ownSession = true});
    if (pid)
        ChildReaper::reapWhenDone(*pid);
}
