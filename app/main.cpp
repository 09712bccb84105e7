// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/frmORVEX.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    frmORVEX window;
    if (!window.Load())
        return 0;
    return app.exec();
}
