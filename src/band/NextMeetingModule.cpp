#include "band/BandModules.h"
#include "band/BandSymbols.h"
#include "band/CalendarAdding.h"
#include "band/MeetingEngine.h"
#include "band/ModuleBases.h"
#include "model/Settings.h"

namespace {

class NextMeetingModule final : public ContextModule {
public:
    explicit NextMeetingModule(const BandModuleContext& context)
        : ContextModule(BandModule::nextMeeting, context)
        , m_engine(context.services.calendars, context.services.settings, context.services.workspace,
                   context.services.clock)
    {
        QObject::connect(&m_engine, &MeetingEngine::changed, &context.owner, context.changed);
    }

    BandFace face() override
    {
        BandFace face;
        face.look = BandFace::Look::meeting;
        face.symbol = BandSymbols::meeting.of(m_engine.joinURL().has_value());
        face.on = m_engine.isHappeningNow();
        if (m_engine.access() == MeetingEngine::Access::denied) {
            face.readout.caption = QStringLiteral("Calendar access off");
        } else if (const std::optional<QString>& title = m_engine.title()) {
            face.readout.caption = *title;
            if (const std::optional<QString>& countdown = m_engine.countdown())
                face.readout.value =
                    face.on ? QStringLiteral("Happening now") : QStringLiteral("in ") + *countdown;
        } else {
            face.readout.caption = QStringLiteral("No meetings today");
        }
        face.line = face.readout.value.isEmpty() ? face.readout.caption
                                                 : face.readout.caption + u' ' + face.readout.value;
        return face;
    }
    bool isClickable() const override { return true; }
    void activate() override { m_engine.activate(); }
    QList<BandMenuItem> menu(const BandMenuHost& host) override;
    void setShown(bool shown) override { shown ? m_engine.start() : m_engine.stop(); }

private:
    MeetingEngine m_engine;
};

// The calendar chooser, and the calendars of the user's own the store lets them add and remove.
QList<BandMenuItem> NextMeetingModule::menu(const BandMenuHost& host)
{
    const QStringList chosen = services().settings.meetingCalendars();
    QList<BandMenuItem> items{
        {QStringLiteral("All Calendars"), [this] { m_engine.chooseAllCalendars(); }, chosen.isEmpty()}, {}};
    const QList<CalendarInfo> calendars = m_engine.availableCalendars();
    for (const CalendarInfo& calendar : calendars)
        items.append({calendar.title, [this, id = calendar.id] { m_engine.toggleCalendar(id); },
                      chosen.contains(calendar.id)});
    CalendarStore& store = services().calendars;
    if (!store.acceptsSources())
        return items;
    items.append(BandMenuItem{});
    items.append({QStringLiteral("Add Calendar…"), [&store, host] {
                      CalendarAdding::add(
                          store, host.alerts,
                          host.askText(QStringLiteral("Add Calendar"),
                                       QStringLiteral("Calendar file, https or webcal address:")));
                  }});
    QList<BandMenuItem> removable;
    for (const CalendarInfo& calendar : calendars)
        if (store.isRemovable(calendar.id))
            removable.append({calendar.title, [&store, id = calendar.id] { store.removeSource(id); }});
    if (!removable.isEmpty())
        items.append({QStringLiteral("Remove Calendar"), removable});
    return items;
}

} // namespace

std::unique_ptr<BandModuleKind> BandModules::nextMeeting(const BandModuleContext& context)
{
    return std::make_unique<NextMeetingModule>(context);
}
