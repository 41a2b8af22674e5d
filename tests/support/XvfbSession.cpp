#include "XvfbSession.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

// Windows get the focus when they appear, icons go without animation, and nothing reserves screen space.
const char rcXml[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy></placement>
  <theme><name>Clearlooks</name><animateIconify>no</animateIconify></theme>
  <desktops><number>1</number></desktops>
  <margins><top>0</top><bottom>0</bottom><left>0</left><right>0</right></margins>
</openbox_config>
)";

constexpr int pollMilliseconds = 5;
constexpr int probeRetryMilliseconds = 250;

void finish(std::unique_ptr<QProcess>& process)
{
    if (process && process->state() != QProcess::NotRunning) {
        process->terminate();
        if (!process->waitForFinished(3000)) {
            process->kill();
            process->waitForFinished(3000);
        }
    }
    process.reset();
}

QString tail(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll().right(2000)) : QString();
}

// Blocking calls on the session's own connection: the server is the session's and answers.
xcb_atom_t intern(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

std::vector<xcb_window_t> windows(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property)
{
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, XCB_ATOM_WINDOW, 0, 1024), nullptr);
    std::vector<xcb_window_t> values;
    if (reply != nullptr && reply->format == 32) {
        const auto* data = static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
        values.assign(data, data + reply->value_len);
    }
    std::free(reply);
    return values;
}

bool contains(const std::vector<xcb_window_t>& windows, xcb_window_t window)
{
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

} // namespace

XvfbSession::XvfbSession()
    : XvfbSession(Options())
{
}

XvfbSession::XvfbSession(Options options)
    : m_options(options)
{
}

XvfbSession::~XvfbSession()
{
    stop();
}

QStringList XvfbSession::missingPrograms(bool windowManager)
{
    QStringList missing;
    for (const QString& program : {QStringLiteral("Xvfb"), QStringLiteral("openbox")}) {
        if ((windowManager || program == QLatin1String("Xvfb")) &&
            QStandardPaths::findExecutable(program).isEmpty())
            missing << program;
    }
    return missing;
}

bool XvfbSession::start(std::chrono::milliseconds timeout)
{
    m_error.clear();
    if (!m_dir.isValid()) {
        return fail(QStringLiteral("no temporary folder"));
    }
    const QDeadlineTimer deadline(timeout);
    if (!startServer(deadline) || (m_options.windowManager && !startWindowManager(deadline))) {
        return false;
    }
    m_environment.set("DISPLAY", m_display);
    return true;
}

bool XvfbSession::startServer(const QDeadlineTimer& deadline)
{
    // Xvfb picks a free display and writes its number to a descriptor it inherits: no guessing, no races.
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) {
        return fail(QStringLiteral("no pipe: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
    }
    ::fcntl(pipe[1], F_SETFD, 0);
    const QString log = m_dir.filePath(QStringLiteral("Xvfb.log"));
    m_server = std::make_unique<QProcess>();
    m_server->setStandardOutputFile(QProcess::nullDevice());
    m_server->setStandardErrorFile(log);
    const QString screen =
        QStringLiteral("%1x%2x24").arg(m_options.screen.width()).arg(m_options.screen.height());
    m_server->start(QStringLiteral("Xvfb"),
                    {QStringLiteral("-displayfd"), QString::number(pipe[1]), QStringLiteral("-noreset"),
                     QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-screen"),
                     QStringLiteral("0"), screen});
    const bool started = m_server->waitForStarted(static_cast<int>(deadline.remainingTime()));
    ::close(pipe[1]);
    QByteArray number;
    while (started && !number.endsWith('\n') && !deadline.hasExpired()) {
        pollfd readable{pipe[0], POLLIN, 0};
        if (::poll(&readable, 1, static_cast<int>(deadline.remainingTime())) <= 0)
            continue;
        char buffer[16];
        const ssize_t count = ::read(pipe[0], buffer, sizeof buffer);
        if (count <= 0)
            break; // the server ended
        number.append(buffer, static_cast<int>(count));
    }
    ::close(pipe[0]);
    if (!number.endsWith('\n')) {
        return fail(QStringLiteral("Xvfb did not start: %1").arg(tail(log)));
    }
    m_display = ':' + number.trimmed();
    return true;
}

bool XvfbSession::startWindowManager(const QDeadlineTimer& deadline)
{
    const QString config = m_dir.filePath(QStringLiteral("rc.xml"));
    QFile rc(config);
    if (!rc.open(QIODevice::WriteOnly) || rc.write(rcXml) != qint64(sizeof rcXml - 1)) {
        return fail(QStringLiteral("couldn't write %1").arg(config));
    }
    rc.close();

    // Its own configuration and cache folders, so that nothing of the user's is read or written.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(m_display));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), m_dir.filePath(QStringLiteral("cache")));
    const QString log = m_dir.filePath(QStringLiteral("openbox.log"));
    m_windowManager = std::make_unique<QProcess>();
    m_windowManager->setProcessEnvironment(environment);
    m_windowManager->setStandardOutputFile(QProcess::nullDevice());
    m_windowManager->setStandardErrorFile(log);
    m_windowManager->start(QStringLiteral("openbox"),
                           {QStringLiteral("--config-file"), config, QStringLiteral("--sm-disable")});

    xcb_connection_t* connection = xcb_connect(m_display.constData(), nullptr);
    const auto waitUntil = [&](const auto& condition, const QDeadlineTimer& until) {
        while (!condition()) {
            if (until.hasExpired() || m_windowManager->state() == QProcess::NotRunning)
                return false;
            QThread::msleep(pollMilliseconds);
        }
        return true;
    };
    bool running = false;
    if (xcb_connection_has_error(connection) == 0) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        const xcb_atom_t check = intern(connection, "_NET_SUPPORTING_WM_CHECK");
        const xcb_atom_t clientList = intern(connection, "_NET_CLIENT_LIST");
        // The window manager names itself (EWMH) on a window of its own, but may still drop a window mapped
        // before it reaches its event loop: it runs once it has framed a probe window, mapped again if need
        // be.
        const auto named = [&] {
            const auto own = windows(connection, root, check);
            return own.size() == 1 && windows(connection, own.front(), check) == own;
        };
        const xcb_window_t probe = xcb_generate_id(connection);
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, probe, root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        // It takes no input (ICCCM WM_HINTS: InputHint set, input false), so it never becomes the active
        // window: tests start with none.
        const uint32_t hints[9] = {1, 0, 0, 0, 0, 0, 0, 0, 0};
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, probe, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS,
                            32, 9, static_cast<const uint32_t*>(hints));
        const auto framed = [&] { return contains(windows(connection, root, clientList), probe); };
        if (waitUntil(named, deadline)) {
            while (!running && !deadline.hasExpired()) {
                xcb_unmap_window(connection, probe);
                xcb_map_window(connection, probe);
                xcb_flush(connection);
                running = waitUntil(framed, std::min(deadline, QDeadlineTimer(probeRetryMilliseconds)));
            }
        }
        xcb_destroy_window(connection, probe);
        xcb_flush(connection);
        running = running && waitUntil([&] { return !framed(); }, deadline);
    }
    xcb_disconnect(connection);
    return running || fail(QStringLiteral("openbox did not start: %1").arg(tail(log)));
}

void XvfbSession::stop()
{
    resumeServer();
    finish(m_windowManager);
    finish(m_server);
    m_environment.restore();
}

void XvfbSession::suspendServer()
{
    if (m_server && !m_suspended) {
        ::kill(static_cast<pid_t>(m_server->processId()), SIGSTOP);
        m_suspended = true;
    }
}

void XvfbSession::resumeServer()
{
    if (m_server && m_suspended) {
        ::kill(static_cast<pid_t>(m_server->processId()), SIGCONT);
        m_suspended = false;
    }
}

void XvfbSession::killServer()
{
    resumeServer();
    finish(m_server);
}

bool XvfbSession::fail(const QString& why)
{
    stop();
    m_error = why;
    return false;
}
