#pragma once

#include "band/BandClock.h"
#include "band/BandServices.h"
#include "band/VitalsFastEngine.h"
#include "band/VitalsSlowEngine.h"

#include <QLocale>
#include <functional>
#include <utility>

// Runs what several modules share while at least one of them is on screen.
class SharedUse {
public:
    SharedUse(std::function<void()> start, std::function<void()> stop)
        : m_start(std::move(start))
        , m_stop(std::move(stop))
    {
    }

    void acquire()
    {
        if (m_users++ == 0)
            m_start();
    }
    void release()
    {
        if (--m_users == 0)
            m_stop();
    }

private:
    std::function<void()> m_start;
    std::function<void()> m_stop;
    int m_users = 0;
};

// The engines more than one module reads: the band's clock, which ticks for the clock modules, and the two
// samplers of the machine's vitals. Each runs only while a module that uses it is on screen.
struct BandSources {
    explicit BandSources(const BandServices& services)
        : clock(services.clock)
        , fast(services.counters)
        , slow(services.status, services.trash, services.home)
    {
    }

    QLocale locale;
    BandClock clock;
    VitalsFastEngine fast;
    VitalsSlowEngine slow;
    SharedUse clockUse{[this] {
                           // The clock stood still while nothing showed it.
                           clock.tick();
                           clock.start();
                       },
                       [this] { clock.stop(); }};
    SharedUse fastUse{[this] { fast.start(); }, [this] { fast.stop(); }};
    SharedUse slowUse{[this] { slow.start(); }, [this] { slow.stop(); }};
};
