#pragma once

#include "QtPrinters.h"
#include "core/ProcessRunner.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <vector>

// Records every program started and answers `capture` with the output the test gave for that command line
// (executable and arguments joined by spaces), or nothing. Safe to use from several threads.
class FakeProcessRunner final : public ProcessRunner {
public:
    struct Call {
        QString executable;
        QStringList arguments;
        bool waited = false; // captured rather than fired and forgotten
        bool operator==(const Call&) const = default;
    };

    void answer(const QString& commandLine, const QString& output)
    {
        QMutexLocker lock(&m_mutex);
        m_answers.insert(commandLine, output);
    }

    [[nodiscard]] std::vector<Call> calls() const
    {
        QMutexLocker lock(&m_mutex);
        return m_calls;
    }

    std::optional<QString> capture(const QString& executable, const QStringList& arguments) override
    {
        QMutexLocker lock(&m_mutex);
        m_calls.push_back({executable, arguments, true});
        const auto it = m_answers.constFind(commandLine(executable, arguments));
        return it == m_answers.constEnd() ? std::nullopt : std::optional(*it);
    }

    void fireAndForget(const QString& executable, const QStringList& arguments) override
    {
        QMutexLocker lock(&m_mutex);
        m_calls.push_back({executable, arguments, false});
    }

private:
    static QString commandLine(const QString& executable, const QStringList& arguments)
    {
        return (QStringList{executable} + arguments).join(QLatin1Char(' '));
    }

    mutable QMutex m_mutex;
    QHash<QString, QString> m_answers;
    std::vector<Call> m_calls;
};
