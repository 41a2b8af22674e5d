#pragma once

#include "platform/CalendarStore.h"
#include "platform/linux/calendar/ICalendarParse.h"

#include <QTimer>
#include <QUrl>
#include <chrono>
#include <map>
#include <memory>
#include <optional>

class Clock;
class DeckSettings;
class SingleFetch;
class Workspace;

// The iCalendar files and web addresses of the `meetingCalendarSources` preference, as calendars. Nothing
// is read until access is asked for; from then until `stopFollowing` files are read again every five
// minutes and each web address is asked at most once in five minutes. The last good answer of each address is
// kept in `cacheFolder`, so a start without the network still shows it. Reading and parsing run on the
// background queue. A calendar's id is the hash of its address, so it stays the same across runs.
//
// Main thread only, like every calendar store.
class ICalendarStore final : public CalendarStore {
    Q_OBJECT
public:
    static constexpr std::chrono::seconds interval{300};
    static constexpr std::chrono::seconds defaultTimeout{20};
    // Larger files or answers are not a calendar the band reads.
    static constexpr qint64 maxBytes = 32 * 1024 * 1024;

    // Everything passed in must outlive the store.
    ICalendarStore(DeckSettings& settings, Workspace& workspace, const Clock& clock, QString cacheFolder,
                   std::chrono::milliseconds timeout = defaultTimeout, QObject* parent = nullptr);
    ~ICalendarStore() override;

    [[nodiscard]] Authorization authorization() const override;
    void requestAccess(std::function<void(bool)> answer) override;
    // Also gives up the requests that are out; the calendars read so far are kept.
    void stopFollowing() override;
    [[nodiscard]] QList<CalendarInfo> calendars() const override;
    [[nodiscard]] EventsQuery eventsQuery(const QDateTime& from, const QDateTime& to,
                                          const QStringList& calendarIds) const override;
    void openApplication() override;
    void openAccessSettings() override {}

    [[nodiscard]] bool acceptsSources() const override { return true; }
    // Takes a readable file or a secure web address into the preference.
    [[nodiscard]] std::optional<QString> addSource(const QString& text) override;
    [[nodiscard]] bool isRemovable(const QString& calendarId) const override;
    bool removeSource(const QString& calendarId) override;

    // What the timer does: reads files again and asks the addresses that are due.
    void refresh();
    // What the deadlines of the requests that are out do.
    void abandonRequests();
    [[nodiscard]] bool isFetching() const;
    [[nodiscard]] bool isFollowing() const { return m_timer.isActive(); }

    [[nodiscard]] static QString calendarId(const QString& source);
    // The source as an address the store may read: a local file, https, or http to this machine. A webcal
    // address, as calendar services hand out for subscribing, is its https address.
    [[nodiscard]] static std::optional<QUrl> sourceUrl(const QString& text);

private:
    struct Source;

    void syncSources();
    void load(Source& source, const QString& path);
    void fetch(Source& source);
    void apply(const QString& id, const ICalendarData& data);
    [[nodiscard]] QString cacheFile(const QString& id) const;

    DeckSettings& m_settings;
    Workspace& m_workspace;
    const Clock& m_clock;
    QString m_cacheFolder;
    std::chrono::milliseconds m_timeout;
    bool m_active = false;
    QTimer m_timer;
    std::map<QString, std::unique_ptr<Source>> m_sources;
};
