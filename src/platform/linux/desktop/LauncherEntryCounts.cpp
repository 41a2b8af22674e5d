#include "platform/linux/desktop/LauncherEntryCounts.h"

#include "core/BackgroundQueue.h"
#include "core/Logging.h"
#include "core/MainThread.h"

#include <QPointer>
#include <QUrl>
#include <algorithm>
#include <limits>
#include <utility>

namespace {

const QString launcherEntry = QStringLiteral("com.canonical.Unity.LauncherEntry");

std::optional<qint64> integer(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return value.toLongLong();
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar: {
        const qulonglong number = value.toULongLong();
        return number > qulonglong(std::numeric_limits<qint64>::max()) ? std::nullopt
                                                                       : std::optional(qint64(number));
    }
    default:
        return std::nullopt;
    }
}

} // namespace

LauncherEntryCounts::LauncherEntryCounts(LazyDBusConnection session, Workspace& workspace, QObject* parent)
    : UnreadMessages(parent)
    , m_session(std::move(session))
    , m_workspace(workspace)
{
    m_senders.setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(&m_senders, &QDBusServiceWatcher::serviceUnregistered, this, &LauncherEntryCounts::forget);
}

void LauncherEntryCounts::read(QObject* context, std::function<void(Reading)> done)
{
    auto answer = [this, guard = QPointer(context), done = std::move(done)] {
        if (guard)
            done({Reading::Kind::count, total()});
    };
    if (m_listening) {
        MainThread::later(this, std::move(answer));
        return;
    }
    m_waiting.push_back(std::move(answer));
    if (m_waiting.size() > 1)
        return;
    // Connecting to the bus is not done on the main thread.
    BackgroundQueue::runThenReport<bool>(
        this, [session = m_session] { return session.get().isConnected(); },
        [this](bool) {
            listen(m_session.get());
            for (const std::function<void()>& waiting : std::exchange(m_waiting, {}))
                waiting();
        });
}

void LauncherEntryCounts::listen(const QDBusConnection& bus)
{
    m_listening = true;
    if (!bus.isConnected()) {
        qCInfo(lcPlatform) << "Marquetto: no session bus; unread message badges can't be counted";
        return;
    }
    m_senders.setConnection(bus);
    QDBusConnection(bus).connect(QString(), QString(), launcherEntry, QStringLiteral("Update"), this,
                                 SLOT(update(QString, QVariantMap, QDBusMessage)));
}

void LauncherEntryCounts::update(const QString& appUri, const QVariantMap& properties,
                                 const QDBusMessage& message)
{
    Badge badge = m_badges.value(appUri);
    badge.sender = message.service();
    const BadgeUpdate change = badgeUpdate(appUri, properties);
    badge.count = change.count.value_or(badge.count);
    badge.visible = change.visible.value_or(badge.visible);
    const int before = total();
    if (!m_senders.watchedServices().contains(badge.sender))
        m_senders.addWatchedService(badge.sender);
    m_badges.insert(appUri, badge);
    if (total() != before)
        Q_EMIT changed();
}

LauncherEntryCounts::BadgeUpdate LauncherEntryCounts::badgeUpdate(const QString& appUri,
                                                                  const QVariantMap& properties)
{
    BadgeUpdate change;
    if (const auto count = properties.constFind(QStringLiteral("count")); count != properties.constEnd()) {
        const std::optional<qint64> number = integer(*count);
        if (number && *number >= 0 && *number <= largestCount)
            change.count = *number;
        else
            qCInfo(lcPlatform).noquote()
                << "Marquetto: ignored the unread count" << count->toString() << "of" << appUri;
    }
    if (const auto visible = properties.constFind(QStringLiteral("count-visible"));
        visible != properties.constEnd()) {
        if (visible->typeId() == QMetaType::Bool)
            change.visible = visible->toBool();
        else
            qCInfo(lcPlatform).noquote() << "Marquetto: ignored the badge visibility of" << appUri;
    }
    return change;
}

void LauncherEntryCounts::forget(const QString& sender)
{
    m_senders.removeWatchedService(sender);
    const int before = total();
    m_badges.removeIf([&sender](const auto& badge) { return badge.value().sender == sender; });
    if (total() != before)
        Q_EMIT changed();
}

int LauncherEntryCounts::total() const
{
    qint64 sum = 0;
    for (const Badge& badge : m_badges)
        if (badge.visible)
            sum += badge.count;
    return static_cast<int>(std::min<qint64>(sum, std::numeric_limits<int>::max()));
}

std::optional<QString> LauncherEntryCounts::desktopId(const QString& appUri)
{
    static const QString scheme = QStringLiteral("application://");
    if (!appUri.startsWith(scheme) || appUri.size() == scheme.size() ||
        appUri.indexOf(u'/', scheme.size()) >= 0)
        return std::nullopt;
    return appUri.mid(scheme.size());
}

void LauncherEntryCounts::open()
{
    const Badge* highest = nullptr;
    QString highestUri;
    for (auto it = m_badges.cbegin(); it != m_badges.cend(); ++it) {
        if (it->visible && it->count > 0 &&
            (!highest || it->count > highest->count ||
             (it->count == highest->count && it.key() < highestUri))) {
            highest = &*it;
            highestUri = it.key();
        }
    }
    if (highest) {
        if (const std::optional<QString> id = desktopId(highestUri))
            if (const std::optional<QString> path = m_workspace.applicationPath(*id))
                if (m_workspace.launchApplication(*path))
                    return;
    }
    m_workspace.open(QUrl(QStringLiteral("mailto:")));
}
