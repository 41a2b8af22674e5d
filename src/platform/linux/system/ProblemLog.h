#pragma once

#include <QString>

// A lasting problem of something polled every few seconds, logged once when it starts rather than on every
// poll. Main thread only.
class ProblemLog final {
public:
    // `what` completes "Marquetto: " as the log line's start: "can't read the battery".
    explicit ProblemLog(QString what)
        : m_what(std::move(what))
    {
    }

    // Logs `problem` unless it was the last one reported; an empty problem means all is well again.
    void report(const QString& problem);

private:
    QString m_what;
    QString m_last;
};
