// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

class QWidget;

namespace orvex {

// Shows one of the windows the main window opens beside itself (sky view,
// upload, ...): on its first opening in the middle of `over`, its frame kept
// on the screen, where a window manager would otherwise put it in a corner;
// afterwards where the operator left it. It comes to the top with the focus.
void showToolWindow(QWidget *window, const QWidget *over);

// Esc closes the window, as it hides the terminal.
void closeOnEscape(QWidget *window);

} // namespace orvex
