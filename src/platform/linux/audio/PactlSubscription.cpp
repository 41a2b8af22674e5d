#include "platform/linux/audio/PactlSubscription.h"

#include "core/Logging.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

PactlSubscription::PactlSubscription(QString pactl, std::chrono::milliseconds settle, QObject* parent)
    : QObject(parent)
    , m_pactl(std::move(pactl))
{
    m_child.setStandardInputFile(QProcess::nullDevice());
    m_child.setStandardErrorFile(QProcess::nullDevice());
    // The event lines are translated like every pactl message.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    m_child.setProcessEnvironment(environment);
    m_restart.setSingleShot(true);
    connect(&m_restart, &QTimer::timeout, this, &PactlSubscription::restart);
    m_settle.setSingleShot(true);
    m_settle.setInterval(settle);
    connect(&m_settle, &QTimer::timeout, this, &PactlSubscription::settled);
    connect(&m_child, &QProcess::started, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_child, &QProcess::readyReadStandardOutput, this, &PactlSubscription::readLines);
    connect(&m_child, &QProcess::finished, this, &PactlSubscription::childGone);
    connect(&m_child, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            childGone();
    });
    connect(&m_watch, &QFileSystemWatcher::directoryChanged, this, &PactlSubscription::folderChanged);
}

QString PactlSubscription::serverSocket()
{
    const QString server = qEnvironmentVariable("PULSE_SERVER");
    if (!server.isEmpty()) {
        // A list of servers, or one on another machine, has no one socket to wait for.
        const QString path = server.startsWith(u"unix:") ? server.mid(5) : QString();
        return QDir::isAbsolutePath(path) && !path.contains(u' ') ? path : QString();
    }
    const QString runtime = qEnvironmentVariable("PULSE_RUNTIME_PATH");
    if (QDir::isAbsolutePath(runtime))
        return runtime + QStringLiteral("/native");
    const QString session = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(session))
        return session + QStringLiteral("/pulse/native");
    return {};
}

PactlSubscription::~PactlSubscription()
{
    m_child.disconnect(this);
    if (m_child.state() != QProcess::NotRunning) {
        m_child.kill();
        m_child.waitForFinished();
    }
}

void PactlSubscription::start()
{
    if (m_child.state() != QProcess::NotRunning || m_restart.isActive() || waitsForServer())
        return;
    m_child.start(m_pactl, {QStringLiteral("subscribe")}, QIODevice::ReadOnly);
}

void PactlSubscription::restart()
{
    m_restart.stop();
    if (waitsForServer())
        m_watch.removePaths(m_watch.directories());
    if (m_child.state() != QProcess::NotRunning)
        return;
    m_child.start(m_pactl, {QStringLiteral("subscribe")}, QIODevice::ReadOnly);
}

void PactlSubscription::settled()
{
    if (isRunning())
        Q_EMIT listening();
}

void PactlSubscription::readLines()
{
    while (m_child.canReadLine()) {
        m_silentEnds = 0;
        Q_EMIT eventLine(QString::fromUtf8(m_child.readLine()));
    }
}

void PactlSubscription::childGone()
{
    m_settle.stop();
    // Where no server runs, the child ends at once every time: once in the log is enough.
    if (m_silentEnds == 0)
        qCInfo(lcPlatform).noquote() << "Marquetto:" << m_pactl << "subscribe ended; starting it again later";
    const QString socket = serverSocket();
    if (socket.isEmpty() || QFileInfo::exists(socket) || !watchFor(socket))
        m_restart.start(
            std::min<std::chrono::seconds>(restartDelay * (1 << m_silentEnds), longestRestartDelay));
    m_silentEnds = std::min(m_silentEnds + 1, 8);
    Q_EMIT ended();
}

bool PactlSubscription::watchFor(const QString& socket)
{
    for (QString folder = QFileInfo(socket).path(); !folder.isEmpty() && folder != u"/";
         folder = QFileInfo(folder).path()) {
        if (QFileInfo(folder).isDir())
            return m_watch.addPath(folder);
    }
    return false;
}

void PactlSubscription::folderChanged()
{
    m_watch.removePaths(m_watch.directories());
    const QString socket = serverSocket();
    if (QFileInfo::exists(socket))
        restart();
    else if (socket.isEmpty() || !watchFor(socket))
        m_restart.start(restartDelay);
}
