// SPDX-License-Identifier: GPL-2.0-or-later
// main() for test programs that need a QApplication (widgets, sockets, timers).

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
