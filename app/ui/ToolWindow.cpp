// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/ToolWindow.h"

#include "ui/ScreenFit.h"

#include <QShortcut>
#include <QWidget>

namespace orvex {

void showToolWindow(QWidget *window, const QWidget *over)
{
    // A window placed once, by the program or the operator, is Qt::WA_Moved.
    if (!window->testAttribute(Qt::WA_Moved) && over) {
        if (!window->testAttribute(Qt::WA_Resized))
            window->adjustSize(); // as its first showing would
        QRect inside(QPoint(), window->size());
        inside.moveCenter(over->geometry().center());
        window->setGeometry(fitOnScreenOf(inside, over));
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
