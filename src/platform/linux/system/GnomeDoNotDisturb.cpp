#include "platform/linux/system/GnomeDoNotDisturb.h"

#include "core/BackgroundQueue.h"
#include "core/MainThread.h"

#include <QPointer>
#include <algorithm>

namespace {

const QString schema = QStringLiteral("org.gnome.desktop.notifications");
const QString key = QStringLiteral("show-banners");
// Where dconf keeps the key, and where its writer announces the changes of the user's settings.
const QString keyPath = QStringLiteral("/org/gnome/desktop/notifications/show-banners");
const QString writerPath = QStringLiteral("/ca/desrt/dconf/Writer/user");
const QString writerInterface = QStringLiteral("ca.desrt.dconf.Writer");
const QString notify = QStringLiteral("Notify");

} // namespace

GnomeDoNotDisturb::GnomeDoNotDisturb(ProcessRunner& processes, QString gsettings, LazyDBusConnection session,
                                     QObject* parent)
    : DoNotDisturb(parent)
    , m_processes(processes)
    , m_gsettings(std::move(gsettings))
    , m_session(std::move(session))
{
}

std::optional<bool> GnomeDoNotDisturb::parseShowBanners(const QString& output)
{
    const QString value = output.trimmed();
    if (value == u"false")
        return true;
    if (value == u"true")
        return false;
    return std::nullopt;
}

void GnomeDoNotDisturb::read(QObject* context, std::function<void(Reading)> done)
{
    BackgroundQueue::runThenReport<Reading>(
        context,
        [&processes = m_processes, gsettings = m_gsettings] {
            const std::optional<QString> output =
                processes.capture(gsettings, {QStringLiteral("get"), schema, key});
            return Reading{output ? parseShowBanners(*output) : std::nullopt, false};
        },
        std::move(done));
}

bool GnomeDoNotDisturb::turn(bool on)
{
    m_processes.fireAndForget(m_gsettings, {QStringLiteral("set"), schema, key,
                                            on ? QStringLiteral("false") : QStringLiteral("true")});
    return true;
}

bool GnomeDoNotDisturb::follow()
{
    if (m_following)
        return true;
    m_following = true;
    if (m_listening)
        return true;
    // The first use of the bus connects to it, which is not done on the main thread.
    BackgroundQueue::run([self = QPointer(this), session = m_session] {
        const QDBusConnection& bus = session.get();
        MainThread::post(self, [bus](GnomeDoNotDisturb& dnd) { dnd.listen(bus); });
    });
    return true;
}

void GnomeDoNotDisturb::listen(const QDBusConnection& bus)
{
    if (!m_following || m_listening)
        return;
    // Any sender: dconf's writer is started on demand and comes back under a new name after a restart.
    QDBusConnection(bus).connect(QString(), writerPath, writerInterface, notify, this,
                                 SLOT(dconfChanged(QString, QStringList, QString)));
    m_listening = bus;
}

void GnomeDoNotDisturb::stopFollowing()
{
    m_following = false;
    if (!m_listening)
        return;
    m_listening->disconnect(QString(), writerPath, writerInterface, notify, this,
                            SLOT(dconfChanged(QString, QStringList, QString)));
    m_listening.reset();
}

bool GnomeDoNotDisturb::touchesShowBanners(const QString& prefix, const QStringList& changes)
{
    return std::any_of(changes.begin(), changes.end(), [&](const QString& change) {
        const QString path = prefix + change;
        // A path that ends in "/" is a folder, all of whose keys may have changed (a reset, for instance).
        return path == keyPath || (path.endsWith(u'/') && keyPath.startsWith(path));
    });
}

void GnomeDoNotDisturb::dconfChanged(const QString& prefix, const QStringList& changes, const QString&)
{
    if (m_following && touchesShowBanners(prefix, changes))
        Q_EMIT changed();
}
