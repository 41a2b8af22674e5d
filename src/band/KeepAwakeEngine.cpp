#include "KeepAwakeEngine.h"

#include <QPointer>

KeepAwakeEngine::KeepAwakeEngine(SleepInhibitor& inhibitor, QObject* parent)
    : QObject(parent)
    , m_inhibitor(inhibitor)
{
}

KeepAwakeEngine::~KeepAwakeEngine()
{
    release();
}

void KeepAwakeEngine::toggle()
{
    if (m_on || m_asking) {
        release();
        return;
    }
    m_asking = true;
    m_inhibitor.inhibit([guard = QPointer(this), request = ++m_request](bool held) {
        if (!guard || guard->m_request != request)
            return;
        guard->m_asking = false;
        guard->publish(held);
    });
}

void KeepAwakeEngine::release()
{
    if (!m_on && !m_asking)
        return;
    ++m_request;
    m_asking = false;
    m_inhibitor.release();
    publish(false);
}

void KeepAwakeEngine::publish(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    Q_EMIT onChanged(on);
}
