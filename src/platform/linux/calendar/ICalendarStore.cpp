#include "platform/linux/calendar/ICalendarStore.h"

#include "core/AtomicFile.h"
#include "core/BackgroundQueue.h"
#include "core/Clock.h"
#include "core/Logging.h"
#include "core/net/Endpoint.h"
#include "core/net/SingleFetch.h"
#include "model/Settings.h"
#include "platform/Workspace.h"
#include "platform/linux/calendar/CalendarApplication.h"
#include "platform/linux/calendar/ICalendarExpand.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace {

using Parsed = std::optional<ICalendarData>;

Parsed readAndParse(const QString& path)
{
    const Expected<QByteArray, AtomicFile::ReadError> bytes =
        AtomicFile::read(path, ICalendarStore::maxBytes);
    if (!bytes) {
        qCWarning(lcPlatform).noquote()
            << "Marquetto: cannot read the calendar" << path
            << (bytes.error() == AtomicFile::ReadError::tooLarge ? "(too large)" : "");
        return std::nullopt;
    }
    return ICalendarParse::parse(*bytes);
}

} // namespace

struct ICalendarStore::Source {
    QUrl url;
    QString id;
    QString title;
    std::shared_ptr<const ICalendarData> data = std::make_shared<ICalendarData>();
    std::unique_ptr<SingleFetch> fetch;
    std::optional<QDateTime> lastAsked;
};

ICalendarStore::ICalendarStore(DeckSettings& settings, Workspace& workspace, const Clock& clock,
                               QString cacheFolder, std::chrono::milliseconds timeout, QObject* parent)
    : CalendarStore(parent)
    , m_settings(settings)
    , m_workspace(workspace)
    , m_clock(clock)
    , m_cacheFolder(std::move(cacheFolder))
    , m_timeout(timeout)
{
    m_timer.setInterval(interval);
    connect(&m_timer, &QTimer::timeout, this, &ICalendarStore::refresh);
    connect(&m_settings, &DeckSettings::meetingCalendarSourcesChanged, this, [this] {
        if (m_active)
            syncSources();
    });
}

ICalendarStore::~ICalendarStore() = default;

CalendarStore::Authorization ICalendarStore::authorization() const
{
    return m_active ? Authorization::granted : Authorization::notDetermined;
}

void ICalendarStore::requestAccess(std::function<void(bool)> answer)
{
    if (!m_active) {
        m_active = true;
        m_timer.start();
        syncSources();
    }
    answer(true);
}

void ICalendarStore::stopFollowing()
{
    m_active = false;
    m_timer.stop();
    abandonRequests();
}

QString ICalendarStore::calendarId(const QString& source)
{
    return QStringLiteral("ics-") +
           QString::fromLatin1(
               QCryptographicHash::hash(source.toUtf8(), QCryptographicHash::Sha256).toHex().left(24));
}

std::optional<QUrl> ICalendarStore::sourceUrl(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(u'/'))
        return QUrl::fromLocalFile(trimmed);
    QUrl url(trimmed, QUrl::StrictMode);
    if (const QString scheme = url.scheme().toLower(); scheme == u"webcal" || scheme == u"webcals")
        url.setScheme(QStringLiteral("https"));
    if (url.isLocalFile())
        return url;
    if (url.isValid() && !url.host().isEmpty() && Endpoint::isAllowed(url))
        return url;
    return std::nullopt;
}

void ICalendarStore::syncSources()
{
    std::map<QString, std::unique_ptr<Source>> kept;
    for (const QString& text : m_settings.meetingCalendarSources()) {
        const std::optional<QUrl> url = sourceUrl(text);
        if (!url) {
            qCWarning(lcPlatform).noquote() << "Marquetto: ignoring the calendar source" << text
                                            << "(neither a file nor a secure web address)";
            continue;
        }
        const QString id = calendarId(url->toString());
        if (auto found = m_sources.find(id); found != m_sources.end()) {
            kept.insert(m_sources.extract(found));
            continue;
        }
        auto source = std::make_unique<Source>();
        source->url = *url;
        source->id = id;
        source->title = url->isLocalFile() ? QFileInfo(url->toLocalFile()).completeBaseName() : url->host();
        Source& added = *source;
        kept.emplace(id, std::move(source));
        if (!url->isLocalFile())
            load(added, cacheFile(id));
    }
    const bool same = std::equal(kept.begin(), kept.end(), m_sources.begin(), m_sources.end(),
                                 [](const auto& a, const auto& b) { return a.first == b.first; });
    m_sources = std::move(kept);
    if (!same)
        Q_EMIT changed();
    refresh();
}

void ICalendarStore::refresh()
{
    const QDateTime now = m_clock.now();
    for (auto& [id, source] : m_sources) {
        if (source->url.isLocalFile()) {
            load(*source, source->url.toLocalFile());
        } else if (!source->lastAsked || source->lastAsked->secsTo(now) >= interval.count()) {
            source->lastAsked = now;
            fetch(*source);
        }
    }
}

void ICalendarStore::load(Source& source, const QString& path)
{
    BackgroundQueue::runThenReport<Parsed>(
        this, [path] { return QFileInfo::exists(path) ? readAndParse(path) : std::nullopt; },
        [this, id = source.id](const Parsed& data) {
            if (data)
                apply(id, *data);
        });
}

void ICalendarStore::fetch(Source& source)
{
    if (!source.fetch)
        source.fetch = std::make_unique<SingleFetch>(QStringLiteral("calendar"),
                                                     SingleFetch::Limits{m_timeout, maxBytes});
    source.fetch->get(source.url, [this, id = source.id,
                                   cache = cacheFile(source.id)](const std::optional<QByteArray>& body) {
        if (!body)
            return;
        BackgroundQueue::runThenReport<Parsed>(
            this,
            [bytes = *body, cache]() -> Parsed {
                ICalendarData data = ICalendarParse::parse(bytes);
                if (!QDir().mkpath(QFileInfo(cache).path()))
                    return data;
                if (const std::optional<QString> failure = AtomicFile::write(cache, bytes))
                    qCWarning(lcPlatform).noquote() << "Marquetto: cannot keep the calendar:" << *failure;
                return data;
            },
            [this, id](const Parsed& data) {
                if (data)
                    apply(id, *data);
            });
    });
}

void ICalendarStore::apply(const QString& id, const ICalendarData& data)
{
    const auto found = m_sources.find(id);
    if (found == m_sources.end())
        return;
    Source& source = *found->second;
    if (!data.name.isEmpty())
        source.title = data.name;
    source.data = std::make_shared<const ICalendarData>(data);
    Q_EMIT changed();
}

QString ICalendarStore::cacheFile(const QString& id) const
{
    return m_cacheFolder + u'/' + id + QStringLiteral(".ics");
}

QList<CalendarInfo> ICalendarStore::calendars() const
{
    QList<CalendarInfo> calendars;
    for (const auto& [id, source] : m_sources)
        calendars.append({id, source->title});
    return calendars;
}

CalendarStore::EventsQuery ICalendarStore::eventsQuery(const QDateTime& from, const QDateTime& to,
                                                       const QStringList& calendarIds) const
{
    std::vector<std::pair<QString, std::shared_ptr<const ICalendarData>>> chosen;
    for (const QString& id : calendarIds)
        if (const auto found = m_sources.find(id); found != m_sources.end())
            chosen.emplace_back(id, found->second->data);
    return [chosen = std::move(chosen), from, to] {
        QList<CalendarEvent> events;
        for (const auto& [id, data] : chosen)
            events.append(ICalendarExpand::events(*data, id, from, to));
        return events;
    };
}

void ICalendarStore::openApplication()
{
    CalendarApplication::open(m_workspace);
}

std::optional<QString> ICalendarStore::addSource(const QString& text)
{
    const std::optional<QUrl> url = sourceUrl(text);
    if (!url) {
        qCWarning(lcPlatform).noquote() << "Marquetto: not a calendar file or secure web address:" << text;
        return QStringLiteral("“%1” is neither a calendar file nor an https or webcal address.")
            .arg(text.trimmed().left(200));
    }
    const QString source = url->isLocalFile() ? url->toLocalFile() : url->toString();
    if (url->isLocalFile()) {
        const QFileInfo file(source);
        if (!file.isFile() || !file.isReadable())
            return QStringLiteral("There is no calendar file at %1 that Marquetto can read.").arg(source);
    }
    QStringList sources = m_settings.meetingCalendarSources();
    if (isRemovable(calendarId(url->toString())) || sources.contains(source))
        return QStringLiteral("This calendar is on the list already.");
    sources.append(source);
    m_settings.setMeetingCalendarSources(sources);
    return std::nullopt;
}

bool ICalendarStore::removeSource(const QString& id)
{
    QStringList sources = m_settings.meetingCalendarSources();
    const qsizetype removed = sources.removeIf([&](const QString& text) {
        const std::optional<QUrl> url = sourceUrl(text);
        return url && calendarId(url->toString()) == id;
    });
    if (removed == 0)
        return false;
    QFile::remove(cacheFile(id));
    m_settings.setMeetingCalendarSources(sources);
    return true;
}

bool ICalendarStore::isRemovable(const QString& calendarId) const
{
    return m_sources.contains(calendarId);
}

void ICalendarStore::abandonRequests()
{
    for (auto& [id, source] : m_sources)
        if (source->fetch)
            source->fetch->abandon();
}

bool ICalendarStore::isFetching() const
{
    return std::any_of(m_sources.begin(), m_sources.end(), [](const auto& entry) {
        return entry.second->fetch && entry.second->fetch->isBusy();
    });
}
