#pragma once

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

// Ends the run as a failure: a property of the reader did not hold for this input.
[[noreturn]] inline void fuzzFail(const char* message)
{
    std::fprintf(stderr, "%s\n", message);
    std::abort();
}

// The application of targets whose readers are Qt objects that expect one (timers, the program's folder),
// made once for the life of the process.
inline void startCoreApplication(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
}

// Drops Qt's messages after they are formatted: a reader's log lines still run, without flooding the
// fuzzer's output or slowing it down.
inline void quietQtMessages()
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}
