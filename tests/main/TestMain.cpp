// SPDX-License-Identifier: GPL-2.0-or-later
// One main for every test executable: a QApplication (offscreen, on a screen
// of 1024 x 768, unless QT_QPA_PLATFORM says otherwise), so that widget,
// socket and timer tests have their event loop.
#include <QApplication>
#include <gmock/gmock.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", ORVEX_TEST_PLATFORM);
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
