#include <QCoreApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

// Qt objects with timers and signals need an application object; tests never run its event loop on a clock.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
