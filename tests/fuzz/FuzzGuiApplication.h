#pragma once

#include <QGuiApplication>

// The application of targets whose readers decode pictures: pictures may hold text (SVG) whose fonts need a
// GUI application; there is no window to show. Never destroyed: at exit Qt frees its fonts before the font
// engines that SVG text left in its caches.
inline void startGuiApplication(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static const auto* app = new QGuiApplication(*argc, *argv);
    (void)app;
}
