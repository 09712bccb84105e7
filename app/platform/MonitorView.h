// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QTextCharFormat>

class QPlainTextEdit;

// Text added to a monitor view while the operator reads it: new text goes at
// the end without touching the caret or a selection, and the view follows
// the new text only when it was showing the end already.
namespace monitorview {

// Adds `text` (line breaks as "\n") at the end of `view`.
void appendAtEnd(QPlainTextEdit &view, const QString &text,
                 const QTextCharFormat &format = QTextCharFormat());

// Removes the first `count` characters; a selection after them stays.
void removeLeading(QPlainTextEdit &view, int count);

// Removes the last line with the line break that ends it.
void removeLastLine(QPlainTextEdit &view);

// Characters shown, a line break counting as one.
int length(const QPlainTextEdit &view);

} // namespace monitorview
