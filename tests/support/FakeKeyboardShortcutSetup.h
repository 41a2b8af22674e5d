#pragma once

#include "platform/KeyboardShortcutSetup.h"

#include <QMutex>
#include <QMutexLocker>

// Answers with the reports the test gave and keeps the companions it was asked to set up; safe to call from
// the background queue while the test waits.
class FakeKeyboardShortcutSetup final : public KeyboardShortcutSetup {
public:
    SetUpReport setUpReport;
    RemoveReport removeReport;
    Status status;

    [[nodiscard]] QStringList companions() const
    {
        QMutexLocker lock(&m_mutex);
        return m_companions;
    }

    [[nodiscard]] SetUpReport setUp(const QString& companion) override
    {
        QMutexLocker lock(&m_mutex);
        m_companions << companion;
        return setUpReport;
    }
    [[nodiscard]] RemoveReport remove() override
    {
        QMutexLocker lock(&m_mutex);
        return removeReport;
    }
    [[nodiscard]] Status installed() override
    {
        QMutexLocker lock(&m_mutex);
        return status;
    }

private:
    mutable QMutex m_mutex;
    QStringList m_companions;
};
