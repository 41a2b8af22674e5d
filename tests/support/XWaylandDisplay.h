#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QProcess>
#include <QString>
#include <optional>

// The XWayland server a Wayland compositor the test started runs for its X clients.
struct XWaylandDisplay {
    QByteArray display;   // ":0"
    QByteArray authority; // the X authority file; empty when the server asks for none
};

// Makes the shared folder of X sockets, without which XWayland refuses to start; false when it cannot.
[[nodiscard]] bool prepareXSocketFolder();

// Waits until `compositor` has started its XWayland; nothing, with `error` saying why, when it has not by
// `deadline`.
[[nodiscard]] std::optional<XWaylandDisplay> waitForXWayland(const QProcess& compositor,
                                                             const QDeadlineTimer& deadline, QString& error);
// Waits until the X server of DISPLAY, with the authority XAUTHORITY names, takes clients; false, with
// `error` saying why, when it does not by `deadline`. Each try is a program of its own, given up after a few
// seconds: a compositor that hangs while it sets up its XWayland would hang a connection made here for ever.
[[nodiscard]] bool waitForXClients(const QString& home, const QDeadlineTimer& deadline, QString& error);
