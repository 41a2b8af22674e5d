#pragma once

#include "platform/linux/calendar/eds/EdsCalendar.h"

#include <QString>
#include <functional>
#include <libecal/libecal.h>
#include <map>
#include <memory>
#include <vector>

// Follows the enabled calendar sources of Evolution Data Server's registry: connects to each calendar and
// watches it with a view. Made on any thread, then used and destroyed on a GLib loop thread, where its
// listener is called.
class EdsSources final {
public:
    struct Listener {
        // Once per `start`: whether the registry answered on the session bus.
        std::function<void(bool answered)> answered;
        // The calendars, whenever one comes or goes, connects, quits or starts being watched.
        std::function<void(std::vector<EdsCalendar>)> calendarsChanged;
        // A watched calendar's events changed.
        std::function<void()> eventsChanged;
    };

    static constexpr const char* registryService = "org.gnome.evolution.dataserver.Sources5";
    static constexpr int connectSeconds = 15;
    static constexpr int reconnectSeconds = 30;

    explicit EdsSources(Listener listener);
    ~EdsSources();
    EdsSources(const EdsSources&) = delete;
    EdsSources& operator=(const EdsSources&) = delete;

    // Asks for the registry; again after it did not answer.
    void start();
    // Lets go of the registry and of every calendar with its view, until the next `start`; reports no
    // calendars.
    void stop();

private:
    struct Watch;
    struct Pending;

    static void registryAnswered(GObject* bus, GAsyncResult* result, gpointer data);
    static void registryReady(GObject* object, GAsyncResult* result, gpointer data);
    static void clientReady(GObject* object, GAsyncResult* result, gpointer data);
    static void viewReady(GObject* object, GAsyncResult* result, gpointer data);
    static void sourcesChanged(ESourceRegistry* registry, ESource* source, gpointer self);
    static void backendDied(GObject* client, gpointer data);
    static void viewChanged(GObject* view, gpointer list, gpointer data);
    static void viewComplete(GObject* view, const GError* error, gpointer data);

    void dropAll();
    void sync();
    void connect(Watch& watch);
    void reconnectLater(Watch& watch);
    void report();
    [[nodiscard]] Watch* find(const Pending& pending) const;

    Listener m_listener;
    GDBusConnection* m_bus = nullptr;
    GCancellable* m_cancellable = nullptr;
    ESourceRegistry* m_registry = nullptr;
    std::map<QString, std::unique_ptr<Watch>> m_watches;
};
