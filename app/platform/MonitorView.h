// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QTextCharFormat>

class QPlainTextEdit;

// Text added to a monitor view as a text box takes it from the program: the
// caret goes to the end, the text is inserted there, and the caret is left
// at the new end, which the view shows.
namespace monitorview {

// Adds `text` (line breaks as "\n") at the end of `view`, as above; a
// selection the operator made is given up.
void appendAtEnd(QPlainTextEdit &view, const QString &text,
                 const QTextCharFormat &format = QTextCharFormat());

// Removes the first `count` characters; a selection after them stays.
void removeLeading(QPlainTextEdit &view, int count);

// Characters shown, a line break counting as one.
int length(const QPlainTextEdit &view);

} // namespace monitorview
