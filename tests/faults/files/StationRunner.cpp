// SPDX-License-Identifier: GPL-2.0-or-later
// The station in a program folder the caller has set up (its settings file
// named after this program, and formula.txt), for tests that kill it. Boxes
// are answered as a user would; "loaded" is printed once it has started.
#include "MessageBoxRecorder.h"
#include "core/frmORVEX.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 2)
        return 2;
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    const MessageBoxRecorder boxes;
    frmORVEX window(QString::fromLocal8Bit(argv[1]));
    if (!window.Load())
        return 1;
    std::puts("loaded");
    std::fflush(stdout);
    return QApplication::exec();
}
