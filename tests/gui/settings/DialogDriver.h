// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

// Typing into dialogs as the operator does.
namespace driver {

inline void showAndActivate(QWidget *dialog)
{
    dialog->show();
    QApplication::setActiveWindow(dialog);
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
}

template <typename T> T *child(QWidget *dialog, const char *name)
{
    T *widget = dialog->findChild<T *>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// Focus into the box by a click, then type over its whole text.
inline void retype(QLineEdit *box, const QString &text)
{
    QTest::mouseClick(box, Qt::LeftButton);
    QApplication::processEvents();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
}

// After a message box the dialog gets the focus back through the event loop.
inline void settle(QWidget *dialog)
{
    (void)QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; });
    QApplication::processEvents();
}

inline void tab(QWidget *from)
{
    QTest::keyClick(from, Qt::Key_Tab);
    settle(from->window());
}

inline void click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton);
    if (widget->isVisible())
        settle(widget->window());
}

inline void key(QWidget *widget, Qt::Key key)
{
    QTest::keyClick(widget, key);
    if (widget->isVisible())
        settle(widget->window());
}

} // namespace driver
