#include "support/AppScope.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <unistd.h>

namespace {

// Where the cgroup v2 hierarchy is mounted; empty when it is not.
QString unifiedHierarchy()
{
    QFile mounts(QStringLiteral("/proc/self/mounts"));
    if (!mounts.open(QIODevice::ReadOnly))
        return {};
    // "cgroup2 /sys/fs/cgroup cgroup2 rw,… 0 0"
    for (const QByteArray& line : mounts.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() > 2 && fields[2] == "cgroup2")
            return QString::fromLocal8Bit(fields[1]);
    }
    return {};
}

} // namespace

AppScope::AppScope(const QString& appId)
{
    QString folder = unifiedHierarchy();
    if (folder.isEmpty()) {
        m_error = QStringLiteral("no cgroup v2 hierarchy is mounted");
        return;
    }
    const QString user = QString::number(::getuid());
    for (const QString& level :
         {QStringLiteral("user.slice"), QStringLiteral("user-%1.slice").arg(user),
          QStringLiteral("user@%1.service").arg(user), QStringLiteral("app.slice"),
          QStringLiteral("app-%1-%2.scope").arg(appId).arg(QCoreApplication::applicationPid())}) {
        folder += u'/' + level;
        if (QDir(folder).exists())
            continue;
        if (!QDir().mkdir(folder)) {
            m_error = QStringLiteral("could not make the cgroup %1").arg(folder);
            return;
        }
        m_made.append(folder);
    }
    if (m_made.isEmpty() || m_made.constLast() != folder)
        m_made.append(folder);
}

AppScope::~AppScope()
{
    // A folder still in use by another scope stays.
    for (auto folder = m_made.crbegin(); folder != m_made.crend(); ++folder)
        QDir().rmdir(*folder);
}

QString AppScope::processesFile() const
{
    return m_made.isEmpty() ? QString() : m_made.constLast() + QStringLiteral("/cgroup.procs");
}
