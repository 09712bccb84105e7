// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/ToolWindow.h"

#include "ui/ScreenFit.h"

#include <QScreen>
#include <QShortcut>
#include <QWidget>
#include <QWindow>

namespace orvex {

void showToolWindow(QWidget *window, const QWidget *over)
{
    // A window placed once, by the program or the operator, is Qt::WA_Moved.
    if (!window->testAttribute(Qt::WA_Moved) && over && over->screen()) {
        if (!window->testAttribute(Qt::WA_Resized))
            window->adjustSize(); // as its first showing would
        QRect inside(QPoint(), window->size());
        inside.moveCenter(over->geometry().center());
        // The frame of the window it opens over stands in for its own, which
        // the window manager adds only once it is shown.
        const QWindow *framed = over->windowHandle();
        window->setGeometry(fitFramedInArea(inside, framed ? framed->frameMargins() : QMargins(),
                                            over->screen()->availableGeometry()));
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void closeOnEscape(QWidget *window)
{
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    QObject::connect(escape, &QShortcut::activated, window, &QWidget::close);
}

} // namespace orvex
