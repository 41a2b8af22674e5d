#pragma once

#include <QString>
#include <memory>

typedef struct _ECalClient ECalClient;

// One enabled calendar source of Evolution Data Server, as its loop thread last saw it.
struct EdsCalendar {
    // The source's uid, which stays the same across runs.
    QString id;
    QString title;
    // Empty until the calendar's backend answers, and again once it has quit.
    std::shared_ptr<ECalClient> client;
    // Whether the calendar's changes are being followed: its view has delivered what it holds.
    bool watching = false;
};
