#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

// Views need a GUI application; the tests run it on the offscreen platform and never on a clock.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    // Also when test discovery lists the tests, which runs without the test's environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
