#pragma once

#include <QByteArray>
#include <QString>

// Which of Qt's windowing platforms the deck runs on. Its stacking, hot keys and snapping act on X windows,
// so the deck asks Qt for X (XWayland on a Wayland session) unless the user chose a platform of their own.
namespace XcbPlatform {

struct Choice {
    QByteArray platform; // the value QT_QPA_PLATFORM takes while Qt starts; empty to leave it alone
    QString notice;      // one log line when the deck runs without X; empty when it runs on X
};

// `chosen` is QT_QPA_PLATFORM as the user set it (empty when unset); `xReachable` says whether an X server
// answers on DISPLAY, and is only asked when it matters.
[[nodiscard]] Choice choose(const QByteArray& chosen, bool (*xReachable)());

// Whether an X server answers at DISPLAY.
[[nodiscard]] bool isReachable();

// Before the application object is made: applies `choose` to this process and logs its notice.
[[nodiscard]] Choice prepare();

// After the application object is made: programs the deck starts do not inherit a platform the user did
// not choose.
void finish(const Choice& choice);

} // namespace XcbPlatform
