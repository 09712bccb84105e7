// SPDX-License-Identifier: GPL-2.0-or-later
// main() for test programs that need a QApplication (widgets, sockets, timers).

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Test discovery runs the program at build time, outside CTest's
    // environment: without a display it must still start.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
