#pragma once

#include "core/ProcessRunner.h"

// Starts programs directly with posix_spawn. Children get an empty signal mask, default signal handlers and
// /dev/null for standard input and standard error; a program that floods its error output can never block
// on a pipe nobody reads.
class ProcessUtil final : public ProcessRunner {
public:
    // Output beyond this is drained and the answer dropped: no caller needs that much, and a program that
    // never stops writing must not exhaust memory.
    static constexpr qsizetype maximumOutput = 16 * 1024 * 1024;

    [[nodiscard]] std::optional<QString> capture(const QString& executable,
                                                 const QStringList& arguments) override;

    // The program runs in a session of its own with its output sent to /dev/null, so it keeps running when
    // this process or its terminal goes away. It is reaped when it ends.
    void fireAndForget(const QString& executable, const QStringList& arguments) override;
};
