// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

#include <functional>

class QLineEdit;
class QWidget;

// Small pieces every settings dialog shares.
namespace orvex {

// The standard title of the program's message boxes.
QString messageBoxTitle();

// A message box owned by `owner` with an OK button and the standard title:
// the stop icon for refused input, the exclamation icon for a coordinate
// that cannot be read.
void showStopMessage(QWidget *owner, const QString &text);
void showExclamationMessage(QWidget *owner, const QString &text);

// Moves the window to the middle of the primary screen.
void centreOnScreen(QWidget *window);

// The box selects its whole text whenever it gains the focus.
void selectAllOnFocus(QLineEdit *box);

// A key-press filter for a box: it gets the character code of each typed
// key and returns the code to type instead, or -1 to swallow the key.
// Control keys (backspace, return, Esc), keys without a character and Ctrl
// combinations (copy, paste) pass unfiltered.
void filterKeys(QLineEdit *box, std::function<int(int code)> filter);

} // namespace orvex
