#include "platform/linux/calendar/eds/EdsSources.h"

#include "core/Logging.h"

#include <libecal/libecal.h>

namespace {

QString message(const GError* error)
{
    return error ? QString::fromUtf8(error->message) : QString();
}

bool isCancelled(const GError* error)
{
    return g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
}

} // namespace

struct EdsSources::Watch {
    EdsSources* owner = nullptr;
    QString uid;
    QString title;
    ESource* source = nullptr;
    GCancellable* cancellable = g_cancellable_new();
    ECalClient* client = nullptr;
    ECalClientView* view = nullptr;
    bool watching = false;

    Watch(EdsSources* owner, ESource* source, QString title)
        : owner(owner)
        , uid(QString::fromUtf8(e_source_get_uid(source)))
        , title(std::move(title))
        , source(E_SOURCE(g_object_ref(source)))
    {
    }
    ~Watch()
    {
        g_cancellable_cancel(cancellable);
        drop();
        g_object_unref(cancellable);
        g_object_unref(source);
    }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

    void drop()
    {
        watching = false;
        if (view) {
            g_signal_handlers_disconnect_by_data(view, this);
            g_clear_object(&view);
        }
        if (client) {
            g_signal_handlers_disconnect_by_data(client, this);
            g_clear_object(&client);
        }
    }
};

// What an asynchronous call needs when it returns; a cancelled call touches nothing else.
struct EdsSources::Pending {
    EdsSources* self = nullptr;
    QString uid;
    GCancellable* cancellable = nullptr;

    Pending(EdsSources* self, QString uid, GCancellable* cancellable)
        : self(self)
        , uid(std::move(uid))
        , cancellable(G_CANCELLABLE(g_object_ref(cancellable)))
    {
    }
    ~Pending() { g_object_unref(cancellable); }
    Pending(const Pending&) = delete;
    Pending& operator=(const Pending&) = delete;

    [[nodiscard]] bool isCancelled() const { return g_cancellable_is_cancelled(cancellable); }
};

EdsSources::EdsSources(Listener listener)
    : m_listener(std::move(listener))
    , m_cancellable(g_cancellable_new())
{
}

EdsSources::~EdsSources()
{
    dropAll();
    g_object_unref(m_cancellable);
    if (m_bus)
        g_object_unref(m_bus);
}

void EdsSources::dropAll()
{
    g_cancellable_cancel(m_cancellable);
    m_watches.clear();
    if (m_registry) {
        g_signal_handlers_disconnect_by_data(m_registry, this);
        g_clear_object(&m_registry);
    }
}

void EdsSources::stop()
{
    dropAll();
    // What was asked before stays cancelled; the next start asks with a new one.
    g_object_unref(m_cancellable);
    m_cancellable = g_cancellable_new();
    report();
}

void EdsSources::start()
{
    if (m_registry) {
        m_listener.answered(true);
        return;
    }
    if (!m_bus) {
        GError* error = nullptr;
        m_bus = g_bus_get_sync(G_BUS_TYPE_SESSION, m_cancellable, &error);
        if (!m_bus) {
            qCWarning(lcPlatform).noquote()
                << "Marquetto: no session bus for the desktop's calendars:" << message(error);
            g_clear_error(&error);
            m_listener.answered(false);
            return;
        }
        // GLib would end the whole deck when the session bus goes; Qt's own connection decides that.
        g_dbus_connection_set_exit_on_close(m_bus, FALSE);
    }
    // The registry object is made happily while no registry runs, so the registry is asked first; on a
    // desktop this also starts it when nothing has needed it yet.
    g_dbus_connection_call(m_bus, registryService, "/", "org.freedesktop.DBus.Peer", "Ping", nullptr,
                           G_VARIANT_TYPE_UNIT, G_DBUS_CALL_FLAGS_NONE, -1, m_cancellable, registryAnswered,
                           new Pending(this, {}, m_cancellable));
}

void EdsSources::registryAnswered(GObject* bus, GAsyncResult* result, gpointer data)
{
    const std::unique_ptr<Pending> pending(static_cast<Pending*>(data));
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, &error);
    if (reply)
        g_variant_unref(reply);
    if (pending->isCancelled() || isCancelled(error)) {
        g_clear_error(&error);
        return;
    }
    EdsSources& self = *pending->self;
    if (!reply) {
        qCWarning(lcPlatform).noquote()
            << "Marquetto: Evolution Data Server's calendars are not available:" << message(error);
        g_clear_error(&error);
        self.m_listener.answered(false);
        return;
    }
    e_source_registry_new(self.m_cancellable, registryReady, new Pending(&self, {}, self.m_cancellable));
}

void EdsSources::registryReady(GObject*, GAsyncResult* result, gpointer data)
{
    const std::unique_ptr<Pending> pending(static_cast<Pending*>(data));
    GError* error = nullptr;
    ESourceRegistry* registry = e_source_registry_new_finish(result, &error);
    if (pending->isCancelled() || isCancelled(error)) {
        g_clear_object(&registry);
        g_clear_error(&error);
        return;
    }
    EdsSources& self = *pending->self;
    if (!registry) {
        qCWarning(lcPlatform).noquote()
            << "Marquetto: Evolution Data Server's calendars are not available:" << message(error);
        g_clear_error(&error);
        self.m_listener.answered(false);
        return;
    }
    self.m_registry = registry;
    for (const char* signal :
         {"source-added", "source-removed", "source-enabled", "source-disabled", "source-changed"})
        g_signal_connect(registry, signal, G_CALLBACK(sourcesChanged), &self);
    self.sync();
    self.m_listener.answered(true);
}

void EdsSources::sourcesChanged(ESourceRegistry*, ESource*, gpointer self)
{
    static_cast<EdsSources*>(self)->sync();
}

void EdsSources::sync()
{
    std::map<QString, std::unique_ptr<Watch>> kept;
    GList* enabled = e_source_registry_list_enabled(m_registry, E_SOURCE_EXTENSION_CALENDAR);
    for (GList* item = enabled; item; item = item->next) {
        auto* source = static_cast<ESource*>(item->data);
        const QString uid = QString::fromUtf8(e_source_get_uid(source));
        gchar* name = e_source_dup_display_name(source);
        QString title = QString::fromUtf8(name);
        g_free(name);
        if (auto found = m_watches.find(uid); found != m_watches.end()) {
            found->second->title = std::move(title);
            kept.insert(m_watches.extract(found));
            continue;
        }
        auto watch = std::make_unique<Watch>(this, source, std::move(title));
        connect(*watch);
        kept.emplace(uid, std::move(watch));
    }
    g_list_free_full(enabled, g_object_unref);
    m_watches = std::move(kept);
    report();
}

EdsSources::Watch* EdsSources::find(const Pending& pending) const
{
    const auto found = m_watches.find(pending.uid);
    return found != m_watches.end() && found->second->cancellable == pending.cancellable ? found->second.get()
                                                                                         : nullptr;
}

void EdsSources::connect(Watch& watch)
{
    e_cal_client_connect(watch.source, E_CAL_CLIENT_SOURCE_TYPE_EVENTS, connectSeconds, watch.cancellable,
                         clientReady, new Pending(this, watch.uid, watch.cancellable));
}

void EdsSources::clientReady(GObject*, GAsyncResult* result, gpointer data)
{
    const std::unique_ptr<Pending> pending(static_cast<Pending*>(data));
    GError* error = nullptr;
    EClient* client = e_cal_client_connect_finish(result, &error);
    Watch* watch = pending->isCancelled() ? nullptr : pending->self->find(*pending);
    if (!watch || !client) {
        if (watch)
            qCWarning(lcPlatform).noquote()
                << "Marquetto: cannot open the calendar" << watch->title + u':' << message(error);
        g_clear_object(&client);
        g_clear_error(&error);
        return;
    }
    watch->client = E_CAL_CLIENT(client);
    g_signal_connect(client, "backend-died", G_CALLBACK(backendDied), watch);
    e_cal_client_get_view(watch->client, "#t", watch->cancellable, viewReady,
                          new Pending(pending->self, watch->uid, watch->cancellable));
    pending->self->report();
}

void EdsSources::viewReady(GObject* client, GAsyncResult* result, gpointer data)
{
    const std::unique_ptr<Pending> pending(static_cast<Pending*>(data));
    GError* error = nullptr;
    ECalClientView* view = nullptr;
    e_cal_client_get_view_finish(E_CAL_CLIENT(client), result, &view, &error);
    Watch* watch = pending->isCancelled() ? nullptr : pending->self->find(*pending);
    if (!watch || !view) {
        if (watch)
            qCWarning(lcPlatform).noquote() << "Marquetto: cannot follow the changes of the calendar"
                                            << watch->title + u':' << message(error);
        g_clear_object(&view);
        g_clear_error(&error);
        return;
    }
    watch->view = view;
    // Only that something changed matters here: the events themselves are read when asked for.
    GSList uidOnly{const_cast<char*>("UID"), nullptr};
    e_cal_client_view_set_fields_of_interest(view, &uidOnly, nullptr);
    for (const char* signal : {"objects-added", "objects-modified", "objects-removed"})
        g_signal_connect(view, signal, G_CALLBACK(viewChanged), watch);
    g_signal_connect(view, "complete", G_CALLBACK(viewComplete), watch);
    e_cal_client_view_start(view, &error);
    if (error) {
        qCWarning(lcPlatform).noquote() << "Marquetto: cannot follow the changes of the calendar"
                                        << watch->title + u':' << message(error);
        g_clear_error(&error);
    }
}

void EdsSources::viewChanged(GObject*, gpointer, gpointer data)
{
    const auto* watch = static_cast<Watch*>(data);
    if (watch->watching)
        watch->owner->m_listener.eventsChanged();
}

void EdsSources::viewComplete(GObject*, const GError* error, gpointer data)
{
    auto* watch = static_cast<Watch*>(data);
    if (error && !isCancelled(error))
        qCWarning(lcPlatform).noquote()
            << "Marquetto: the calendar" << watch->title << "did not deliver its events:" << message(error);
    if (watch->watching)
        return;
    watch->watching = true;
    watch->owner->report();
    watch->owner->m_listener.eventsChanged();
}

void EdsSources::backendDied(GObject*, gpointer data)
{
    auto* watch = static_cast<Watch*>(data);
    qCWarning(lcPlatform).noquote() << "Marquetto: the calendar" << watch->title
                                    << "quit (Evolution Data Server stopped); keeping its last events";
    watch->drop();
    watch->owner->report();
    watch->owner->reconnectLater(*watch);
}

void EdsSources::reconnectLater(Watch& watch)
{
    GSource* timeout = g_timeout_source_new_seconds(reconnectSeconds);
    g_source_set_callback(
        timeout,
        [](gpointer data) -> gboolean {
            const auto* pending = static_cast<Pending*>(data);
            if (Watch* watch = pending->isCancelled() ? nullptr : pending->self->find(*pending);
                watch && !watch->client)
                pending->self->connect(*watch);
            return G_SOURCE_REMOVE;
        },
        new Pending(this, watch.uid, watch.cancellable),
        [](gpointer data) { delete static_cast<Pending*>(data); });
    g_source_attach(timeout, g_main_context_get_thread_default());
    g_source_unref(timeout);
}

void EdsSources::report()
{
    std::vector<EdsCalendar> calendars;
    for (const auto& [uid, watch] : m_watches) {
        std::shared_ptr<ECalClient> client;
        if (watch->client)
            client.reset(E_CAL_CLIENT(g_object_ref(watch->client)), g_object_unref);
        calendars.push_back({uid, watch->title, std::move(client), watch->watching});
    }
    m_listener.calendarsChanged(std::move(calendars));
}
