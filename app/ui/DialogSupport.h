// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

#include <functional>

class QLineEdit;
class QWidget;

// Small pieces every settings dialog shares.
class QGridLayout;
class QPushButton;

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

// A captioned field in a dialog's form: the caption is the field's buddy,
// so its access key moves the focus there.
void addFieldRow(QGridLayout *grid, int row, const QString &caption, QWidget *field);
// The OK button (the default) and the Cancel button of a dialog.
void makeOkCancel(QWidget *dialog, QPushButton *&ok, QPushButton *&cancel);
// A form dialog: the fields' grid with the F1 hint below it (in `hintRow`),
// then OK and Cancel at the right.
void layOutFormDialog(QWidget *dialog, QGridLayout *form, int hintRow, QPushButton *ok,
                      QPushButton *cancel);

// The box selects its whole text whenever it gains the focus.
void selectAllOnFocus(QLineEdit *box);

// A key-press filter for a box: it gets the character code of each typed
// key and returns the code to type instead, or -1 to swallow the key.
// Control keys (backspace, return, Esc), keys without a character and Ctrl
// combinations (copy, paste) pass unfiltered.
void filterKeys(QLineEdit *box, std::function<int(int code)> filter);

// The filters of the boxes every window shares: a callsign box takes
// callsign keys, upper-cased; a number box takes digits.
int callsignKey(int code);
int digitKey(int code);

} // namespace orvex
