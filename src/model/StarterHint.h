#pragma once

#include <QObject>

class Preferences;

// The one-line hint under a freshly installed deck. It is pending from the starter deck's installation until
// the user dismisses it (its close button, edit mode, the first summon), and kept in the preferences under
// `key`, which other writers may also set.
//
// Main thread only. `pendingChanged` fires when the pending state changes, whoever changed the preference.
class StarterHint final : public QObject {
    Q_OBJECT
public:
    static constexpr auto key = "starterHintPending";

    explicit StarterHint(Preferences& preferences, QObject* parent = nullptr);

    [[nodiscard]] bool isPending() const { return m_pending; }
    void show();
    void dismiss();

Q_SIGNALS:
    void pendingChanged(bool pending);

private:
    void setPending(bool pending);
    void preferenceChanged(const QString& changedKey);

    Preferences& m_preferences;
    bool m_pending = false;
};
