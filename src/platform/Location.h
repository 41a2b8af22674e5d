#pragma once

#include <functional>

// Where this machine is, as the desktop's location service says, at about a city's accuracy.
//
// `locate` returns at once and calls `answer` exactly once, on the main thread (possibly before it returns).
// A second `locate` while one is out joins it.
class Location {
public:
    enum class Status {
        located,
        // The user or the desktop's agent refused the request.
        denied,
        // No location service to ask.
        unavailable,
        // The service is there but gave no position this time.
        failed,
    };
    struct Answer {
        Status status = Status::failed;
        double latitude = 0;
        double longitude = 0;
    };

    virtual ~Location() = default;

    virtual void locate(std::function<void(Answer)> answer) = 0;
    // Whether the desktop has settings where location access is granted.
    [[nodiscard]] virtual bool canOpenSettings() const = 0;
    // Opens those settings, without waiting; nothing happens without them.
    virtual void openSettings() = 0;
};

// A desktop without a location service.
class NullLocation final : public Location {
public:
    void locate(std::function<void(Answer)> answer) override { answer({Status::unavailable}); }
    [[nodiscard]] bool canOpenSettings() const override { return false; }
    void openSettings() override {}
};
