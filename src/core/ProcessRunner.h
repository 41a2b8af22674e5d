#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Starts external programs. Arguments go to the program as they are: there is never a shell in between
// unless the executable is one.
class ProcessRunner {
public:
    virtual ~ProcessRunner() = default;

    // Runs the program to completion on the calling thread (never the main thread for programs that may take
    // long) and returns its standard output, or nothing when it could not be started or its output is not
    // UTF-8. Standard error is discarded and the exit status is not examined.
    [[nodiscard]] virtual std::optional<QString> capture(const QString& executable,
                                                         const QStringList& arguments) = 0;

    // Starts the program and returns at once; its output is discarded. The program outlives this process.
    virtual void fireAndForget(const QString& executable, const QStringList& arguments) = 0;
};
