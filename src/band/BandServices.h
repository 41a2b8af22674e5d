#pragma once

#include <QString>

class AlertSound;
class AudioInput;
class CalendarStore;
class Clipboard;
class Clock;
class DeckSettings;
class DoNotDisturb;
class Location;
class SleepInhibitor;
class SystemControls;
class SystemStatus;
class TileStateSources;
class Trash;
class UnreadMessages;
class VitalsCounters;
class Workspace;

// What the band's modules read and drive on the desktop.
struct BandServices {
    const Clock& clock;
    DeckSettings& settings;
    VitalsCounters& counters;
    SystemStatus& status;
    Trash& trash;
    AlertSound& alertSound;
    SystemControls& controls;
    Clipboard& clipboard;
    AudioInput& audioInput;
    SleepInhibitor& sleepInhibitor;
    // The desktop's colour scheme, shared with the tiles' lights.
    TileStateSources& stateSources;
    Location& location;
    // Where a meeting's call is opened.
    Workspace& workspace;
    CalendarStore& calendars;
    UnreadMessages& unreadMessages;
    DoNotDisturb& doNotDisturb;
    // The folder whose file system's free space the band shows.
    QString home;
    QString procFolder = QStringLiteral("/proc");
};
