#include "core/QuitSignals.h"

#include <QCoreApplication>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>

namespace {

TEST(QuitSignals, EachEndsTheEventLoopAsAQuitWouldAndTheProgramGoesOn)
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        const QuitSignals quitSignals;
        bool quitBySignal = true;
        // Should the signal not be caught, the loop ends anyway and the test says so.
        QTimer giveUp;
        giveUp.setSingleShot(true);
        QObject::connect(&giveUp, &QTimer::timeout, [&quitBySignal] {
            quitBySignal = false;
            QCoreApplication::quit();
        });
        giveUp.start(10'000);
        QTimer::singleShot(0, [signal] { std::raise(signal); });
        EXPECT_EQ(QCoreApplication::exec(), 0);
        EXPECT_TRUE(quitBySignal) << signal;
    }
}

} // namespace
