#include "platform/linux/desktop/LinuxWorkspace.h"

#include "core/Logging.h"
#include "platform/linux/desktop/ApplicationProgram.h"
#include "platform/linux/desktop/DesktopEntries.h"
#include "platform/linux/desktop/DesktopFavourites.h"
#include "platform/linux/desktop/DesktopFile.h"
#include "platform/linux/desktop/GnomeFavourites.h"
#include "platform/linux/desktop/MimeDefaults.h"
#include "platform/linux/desktop/RunningPrograms.h"

#include <QFileInfo>
#include <QStandardPaths>

LinuxWorkspace::LinuxWorkspace(const AppPaths& paths, ProcessRunner& processes,
                               FavouritesSource gnomeFavourites)
    : m_configHome(paths.configHome)
    , m_dataDirs(QStringList{paths.dataHome} + paths.dataDirs)
    , m_processes(processes)
    , m_favourites(std::move(gnomeFavourites))
{
}

std::optional<QString> LinuxWorkspace::applicationPath(const QString& applicationId) const
{
    return DesktopEntries::find(applicationId, m_dataDirs);
}

EverydayApplications::Places LinuxWorkspace::places() const
{
    return {m_dataDirs, MimeDefaults::listFiles(),
            qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts)};
}

QStringList LinuxWorkspace::favouriteApplications() const
{
    return DesktopFavourites::find({m_favourites, m_configHome, places()});
}

QStringList LinuxWorkspace::everydayApplications() const
{
    return EverydayApplications::findAll(places());
}

LinuxWorkspace::FavouritesSource LinuxWorkspace::defaultFavourites()
{
    return [] { return GnomeFavourites::readFavourites(); };
}

namespace {

void logCannotStart(const QString& applicationPath, const QString& reason)
{
    qCWarning(lcPlatform).noquote()
        << QStringLiteral("Marquetto: can't start %1: %2").arg(applicationPath, reason);
}

} // namespace

void LinuxWorkspace::open(const QUrl& url)
{
    static const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    static const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    const QString address = url.toString(QUrl::FullyEncoded);
    if (!gio.isEmpty())
        m_processes.fireAndForget(gio, {QStringLiteral("open"), address});
    else if (!xdgOpen.isEmpty())
        m_processes.fireAndForget(xdgOpen, {address});
    else
        qCWarning(lcPlatform).noquote()
            << "Marquetto: nothing to open" << address << "with (no gio or xdg-open)";
}

bool LinuxWorkspace::launchApplication(const QString& applicationPath)
{
    if (!applicationPath.endsWith(QStringLiteral(".desktop"))) {
        if (!QFileInfo(applicationPath).isExecutable() || QFileInfo(applicationPath).isDir()) {
            logCannotStart(applicationPath, QStringLiteral("it is neither a desktop file nor a program"));
            return false;
        }
        m_processes.fireAndForget(applicationPath, {});
        return true;
    }
    const Expected<DesktopFile, QString> file = DesktopFile::read(applicationPath);
    if (!file) {
        logCannotStart(applicationPath, file.error());
        return false;
    }
    Expected<QStringList, QString> command = file->commandLine();
    if (!command) {
        logCannotStart(applicationPath, command.error());
        return false;
    }
    if (file->terminal) {
        const QString terminal = QStandardPaths::findExecutable(QStringLiteral("x-terminal-emulator"));
        if (!terminal.isEmpty())
            *command = QStringList{terminal, QStringLiteral("-e")} + *command;
    }
    const QString program = ApplicationProgram::located(command->takeFirst());
    if (program.isEmpty()) {
        logCannotStart(applicationPath, QStringLiteral("its program is not installed"));
        return false;
    }
    m_processes.fireAndForget(program, *command);
    return true;
}

std::vector<qint64> LinuxWorkspace::runningProcessesOf(const QString& applicationPath) const
{
    const std::optional<QString> program = ApplicationProgram::of(applicationPath);
    return program ? RunningPrograms::processesRunning(*program) : std::vector<qint64>();
}

void LinuxWorkspace::openWindowAccessSettings()
{
    // An X11 session needs no permission to restore or move windows, and other sessions have no setting
    // that grants it.
    qCWarning(lcPlatform)
        << "Marquetto: windows can be restored and placed once Marquetto runs on an X11 display";
}
