#pragma once

#include <QtGlobal>

// Drops Qt's messages after they are formatted: a reader's log lines still run, without flooding the
// fuzzer's output or slowing it down.
inline void quietQtMessages()
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}
