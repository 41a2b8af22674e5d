#include "platform/linux/desktop/AutostartEntry.h"

#include "core/AppId.h"
#include "core/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace AutostartEntry {

namespace {

// The Exec line's own quoting, then the escapes of a desktop entry's string value on top of it.
std::optional<QString> execValue(const QString& program)
{
    if (program.contains(u'\n') || program.contains(u'\r'))
        return std::nullopt;
    static const QString reserved = QStringLiteral(" \t\"'\\><~|&;$*?#()`");
    QString exec = program;
    if (std::any_of(program.begin(), program.end(), [](QChar c) { return reserved.contains(c); })) {
        exec.clear();
        for (const QChar c : program) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                exec += u'\\';
            exec += c;
        }
        exec = u'"' + exec + u'"';
    }
    return exec.replace(u'\\', QStringLiteral("\\\\")).replace(u'%', QStringLiteral("%%"));
}

// Where earlier versions kept the entry, before the program's desktop entry took its app id for a name.
QString earlierPath(const AppPaths& paths)
{
    return paths.configHome + QStringLiteral("/autostart/marquetto.desktop");
}

std::optional<QString> remove(const QString& entry)
{
    QFile file(entry);
    if (!file.exists() || file.remove())
        return std::nullopt;
    return file.errorString();
}

bool isInstalledCopy(const QString& program)
{
    const QFileInfo info(program);
    return info.isFile() && info.isExecutable() &&
           QFileInfo(info.absolutePath() + QStringLiteral("/../share/marquetto")).isDir();
}

} // namespace

QString programToStart(const QString& running, const QStringList& installed)
{
    if (isInstalledCopy(running))
        return running;
    const auto found = std::find_if(installed.begin(), installed.end(), isInstalledCopy);
    return found == installed.end() ? running : *found;
}

QString path(const AppPaths& paths)
{
    return paths.configHome + QStringLiteral("/autostart/") + AppId::desktopEntry();
}

bool isOn(const AppPaths& paths)
{
    return QFileInfo::exists(path(paths)) || QFileInfo::exists(earlierPath(paths));
}

std::optional<QString> set(const AppPaths& paths, const QString& program, bool on)
{
    const QString entry = path(paths);
    if (!on) {
        if (const std::optional<QString> problem = remove(earlierPath(paths)))
            return problem;
        return remove(entry);
    }
    if (!QFileInfo(program).isAbsolute())
        return QStringLiteral("the program's path \"%1\" is not absolute").arg(program);
    const auto exec = execValue(program);
    if (!exec)
        return QStringLiteral("the program's path holds a line break");
    if (!QDir().mkpath(QFileInfo(entry).path()))
        return QStringLiteral("couldn't make the folder %1").arg(QFileInfo(entry).path());
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Marquetto\n"
                                        "Comment=Your launcher deck\n"
                                        "Exec=%1\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(*exec);
    if (const std::optional<QString> problem = AtomicFile::write(entry, text.toUtf8()))
        return problem;
    // The earlier entry would start a second deck, which finds the first running and ends; left, it is
    // harmless.
    (void)remove(earlierPath(paths));
    return std::nullopt;
}

} // namespace AutostartEntry
