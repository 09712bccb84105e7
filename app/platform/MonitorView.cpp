// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/MonitorView.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

namespace monitorview {

void appendAtEnd(QPlainTextEdit &view, const QString &text, const QTextCharFormat &format)
{
    // The caret to the end (dropping a selection); the text goes in there,
    // and the caret, at the insertion point, moves on to the new end. It is
    // set only when it has left the end: setting it lays the view out anew,
    // which would cost more than the text itself.
    QTextCursor caret = view.textCursor();
    if (caret.hasSelection() || !caret.atEnd()) {
        caret.movePosition(QTextCursor::End);
        view.setTextCursor(caret);
    }
    QTextCursor end(view.document());
    end.movePosition(QTextCursor::End);
    end.insertText(text, format);
    // The view follows the caret.
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
}

void removeLeading(QPlainTextEdit &view, int count)
{
    if (count <= 0)
        return;
    QTextCursor cursor(view.document());
    cursor.setPosition(0);
    cursor.setPosition(qMin(count, length(view)), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

int length(const QPlainTextEdit &view)
{
    return view.document()->characterCount() - 1;
}

} // namespace monitorview
