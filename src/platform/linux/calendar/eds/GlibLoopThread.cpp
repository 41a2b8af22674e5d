#include "platform/linux/calendar/eds/GlibLoopThread.h"

#include <glib.h>

namespace {

using Work = std::function<void()>;

gboolean runOnce(gpointer data)
{
    (*static_cast<Work*>(data))();
    return G_SOURCE_REMOVE;
}

void forget(gpointer data)
{
    delete static_cast<Work*>(data);
}

} // namespace

GlibLoopThread::GlibLoopThread()
    : m_context(g_main_context_new())
    , m_loop(g_main_loop_new(m_context, FALSE))
{
    m_thread = std::thread([context = g_main_context_ref(m_context), loop = g_main_loop_ref(m_loop)] {
        g_main_context_push_thread_default(context);
        g_main_loop_run(loop);
        g_main_context_pop_thread_default(context);
        g_main_loop_unref(loop);
        g_main_context_unref(context);
    });
}

GlibLoopThread::~GlibLoopThread()
{
    // Quitting from inside the loop cannot get lost before the loop has started running.
    post([loop = m_loop] { g_main_loop_quit(loop); });
    // A teardown stuck on a bus that no longer answers must not hold up whoever let the thread go.
    m_thread.detach();
    g_main_loop_unref(m_loop);
    g_main_context_unref(m_context);
}

void GlibLoopThread::post(Work work)
{
    g_main_context_invoke_full(m_context, G_PRIORITY_DEFAULT, runOnce, new Work(std::move(work)), forget);
}

void GlibLoopThread::postAfter(std::chrono::milliseconds delay, Work work)
{
    GSource* source = g_timeout_source_new(static_cast<guint>(delay.count()));
    g_source_set_callback(source, runOnce, new Work(std::move(work)), forget);
    g_source_attach(source, m_context);
    g_source_unref(source);
}
