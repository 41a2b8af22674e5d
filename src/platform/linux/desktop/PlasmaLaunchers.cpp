#include "platform/linux/desktop/PlasmaLaunchers.h"

#include <QRegularExpression>
#include <map>
#include <optional>

namespace {

// Both the classic and the icons-only task manager keep pinned launchers.
bool isTaskManager(const QString& plugin)
{
    return plugin == QLatin1String("org.kde.plasma.taskmanager") ||
           plugin == QLatin1String("org.kde.plasma.icontasks");
}

// What a task manager shows before the user pins anything.
const QStringList plasmaDefaults = {
    QStringLiteral("applications:systemsettings.desktop"),
    QStringLiteral("applications:org.kde.discover.desktop"),
    QStringLiteral("preferred://filemanager"),
    QStringLiteral("preferred://browser"),
};

struct Applet {
    QString plugin;
    std::optional<QString> launchers;
};

// KConfig writes a few characters as backslash escapes; a launcher list can only hold these.
QString unescaped(const QString& value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const QChar next = value[++i];
        out += next == u's' ? QChar(u' ') : next == u't' ? QChar(u'\t') : next;
    }
    return out;
}

} // namespace

QStringList PlasmaLaunchers::read(QStringView appletsrc)
{
    static const QRegularExpression appletGroup(
        QStringLiteral(R"(^\[Containments\]\[(\d+)\]\[Applets\]\[(\d+)\](\[Configuration\]\[General\])?$)"));
    // Keyed by containment and applet number, which keeps the panels and their applets in Plasma's order.
    std::map<std::pair<int, int>, Applet> applets;
    Applet* applet = nullptr;
    bool inGeneral = false;
    for (const QStringView rawLine : appletsrc.split(u'\n')) {
        const QString line = rawLine.trimmed().toString();
        if (line.startsWith(u'[')) {
            const QRegularExpressionMatch match = appletGroup.match(line);
            applet =
                match.hasMatch() ? &applets[{match.captured(1).toInt(), match.captured(2).toInt()}] : nullptr;
            inGeneral = match.hasMatch() && match.hasCaptured(3);
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!applet || equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (!inGeneral && key == QLatin1String("plugin"))
            applet->plugin = value;
        else if (inGeneral && key == QLatin1String("launchers"))
            applet->launchers = unescaped(value);
    }
    QStringList launchers;
    for (const auto& [number, found] : applets) {
        if (!isTaskManager(found.plugin))
            continue;
        if (!found.launchers) {
            launchers << plasmaDefaults;
            continue;
        }
        for (const QString& launcher : found.launchers->split(u',', Qt::SkipEmptyParts))
            launchers << launcher.trimmed();
    }
    return launchers;
}
