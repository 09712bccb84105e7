// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/frmORVEX.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    // The installed desktop entry and icon, for the desktop to match the windows.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.orvex.orvexdecode"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("orvexdecode")));
    frmORVEX window;
    QObject::connect(&window, &frmORVEX::unloaded, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    if (!window.Load())
        return 0;
    return app.exec();
}
