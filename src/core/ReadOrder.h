#pragma once

#include <QtGlobal>

// Numbers reads that may answer out of order, so that an answer older than one already applied is dropped.
struct ReadOrder {
    quint64 issued = 0;
    quint64 applied = 0;

    quint64 issue() { return ++issued; }
    // Whether the answer to `read` is the newest so far; it is then the one applied.
    bool accept(quint64 read)
    {
        if (read <= applied)
            return false;
        applied = read;
        return true;
    }
};
