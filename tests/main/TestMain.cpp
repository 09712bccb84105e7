// SPDX-License-Identifier: GPL-2.0-or-later
// One main for every test executable: a QApplication (offscreen in CI), so
// that widget, socket and timer tests have their event loop.
#include <QApplication>
#include <gmock/gmock.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
