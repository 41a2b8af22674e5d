#include "platform/linux/desktop/UserDirs.h"

#include <QFile>
#include <optional>

namespace {

// More than any real "user-dirs.dirs"; a bound against reading a stray large file whole.
constexpr qint64 maxUserDirsBytes = 64 * 1024;

// A value of "user-dirs.dirs": "$HOME/relative" or "/absolute", double-quoted, with shell escapes.
std::optional<QString> userDirValue(QStringView quoted, const QString& home)
{
    if (quoted.size() < 2 || !quoted.startsWith(u'"') || !quoted.endsWith(u'"'))
        return std::nullopt;
    QString value;
    const QStringView inner = quoted.mid(1, quoted.size() - 2);
    for (qsizetype i = 0; i < inner.size(); ++i) {
        if (inner[i] == u'\\' && i + 1 < inner.size())
            ++i;
        value += inner[i];
    }
    if (value == u"$HOME")
        return home;
    if (value.startsWith(u"$HOME/"))
        return home + value.mid(5);
    if (value.startsWith(u'/'))
        return value;
    return std::nullopt;
}

} // namespace

QString UserDirs::userDir(const AppPaths& paths, const QString& key, const QString& fallbackName)
{
    QString found = paths.home + u'/' + fallbackName;
    QFile file(paths.configHome + QStringLiteral("/user-dirs.dirs"));
    if (!file.open(QIODevice::ReadOnly))
        return found;
    const QString text = QString::fromUtf8(file.read(maxUserDirsBytes));
    const QString assignment = key + u'=';
    // As the shell that sources the file would, the last assignment wins.
    for (const QString& line : text.split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (!trimmed.startsWith(assignment))
            continue;
        if (const auto value = userDirValue(QStringView(trimmed).mid(assignment.size()), paths.home))
            found = *value;
    }
    return found;
}
