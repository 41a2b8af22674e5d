#pragma once

#include <QProcess>

// Asks a program the test started to end, and kills it when it does not within five seconds.
inline void stopProcess(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}
