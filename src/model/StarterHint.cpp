#include "model/StarterHint.h"

#include "core/Preferences.h"

StarterHint::StarterHint(Preferences& preferences, QObject* parent)
    : QObject(parent)
    , m_preferences(preferences)
    , m_pending(preferences.boolValue(QLatin1String(key)).value_or(false))
{
    connect(&m_preferences, &Preferences::valueChanged, this, &StarterHint::preferenceChanged);
}

void StarterHint::show()
{
    setPending(true);
}

void StarterHint::dismiss()
{
    setPending(false);
}

void StarterHint::setPending(bool pending)
{
    // An absent key already reads as not pending: dismissing a hint never shown writes nothing.
    if (pending != m_pending)
        m_preferences.setValue(QLatin1String(key), pending);
}

void StarterHint::preferenceChanged(const QString& changedKey)
{
    if (changedKey != QLatin1String(key))
        return;
    const bool pending = m_preferences.boolValue(changedKey).value_or(false);
    if (pending == m_pending)
        return;
    m_pending = pending;
    Q_EMIT pendingChanged(pending);
}
