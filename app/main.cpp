// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/frmORVEX.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    frmORVEX window;
    QObject::connect(&window, &frmORVEX::unloaded, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    if (!window.Load())
        return 0;
    return app.exec();
}
