#pragma once

#include <QByteArray>
#include <QString>

// Which of Qt's windowing platforms the deck runs on. Its stacking, hot keys and snapping act on X windows,
// so the deck asks Qt for X first (XWayland on a Wayland session) unless the user chose a platform of their
// own; Qt falls back to Wayland when no X server answers.
namespace XcbPlatform {

// What QT_QPA_PLATFORM is while Qt starts, given the user's value (empty when unset): nothing when the user
// chose, so that their choice stands.
[[nodiscard]] QByteArray platformFor(const QByteArray& chosen);

// The log line for a deck that runs on `platformName`, Qt's name of the platform it started; empty on X.
[[nodiscard]] QString noticeFor(const QString& platformName);

// Before the application object is made: asks for X when the user chose nothing. True when it did.
[[nodiscard]] bool prepare();

// After the application object is made on `platformName`: logs the notice, and takes the request for X back
// when `prepared`, so that programs the deck starts do not inherit a platform the user did not choose.
void finish(bool prepared, const QString& platformName);

} // namespace XcbPlatform
