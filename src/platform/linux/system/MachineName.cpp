#include "platform/linux/system/MachineName.h"

#include "core/AtomicFile.h"

#include <QStringList>
#include <QSysInfo>

namespace {

// machine-info is a shell-style assignment list; the name may be quoted.
QString unquoted(QString value)
{
    value = value.trimmed();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value.replace(QStringLiteral("\\\""), QStringLiteral("\"")).trimmed();
}

} // namespace

QString MachineName::read(const QString& machineInfoPath)
{
    constexpr qint64 maxBytes = 64 * 1024;
    const auto bytes = AtomicFile::read(machineInfoPath, maxBytes);
    if (bytes) {
        const QString prefix = QStringLiteral("PRETTY_HOSTNAME=");
        for (const QString& line : QString::fromUtf8(*bytes).split(u'\n')) {
            if (line.startsWith(prefix)) {
                const QString name = unquoted(line.mid(prefix.size()));
                if (!name.isEmpty())
                    return name;
            }
        }
    }
    return QSysInfo::machineHostName();
}
