#pragma once

// The machine-wide commands behind the built-in system actions: output volume, mute, dark mode, locking
// and sleep. Each call starts its effect and returns at once, on the main thread; the outcome is not
// observed.
class SystemControls {
public:
    virtual ~SystemControls() = default;

    virtual void volumeUp() = 0;
    virtual void volumeDown() = 0;
    virtual void toggleMute() = 0;
    virtual void toggleDarkMode() = 0;
    virtual void lockScreen() = 0;
    virtual void sleep() = 0;
};
