// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/MonitorView.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace monitorview {

void appendAtEnd(QPlainTextEdit &view, const QString &text, const QTextCharFormat &format)
{
    QScrollBar *bar = view.verticalScrollBar();
    const bool atEnd = bar->value() >= bar->maximum();
    // A cursor of our own: the view's caret and selection stay where the
    // operator put them.
    QTextCursor cursor(view.document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text, format);
    if (atEnd)
        bar->setValue(bar->maximum());
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

void removeLastLine(QPlainTextEdit &view)
{
    QTextCursor cursor(view.document());
    cursor.movePosition(QTextCursor::End);
    const int end = cursor.position();
    // Text that ends with a line break ends with an empty block.
    if (cursor.block().length() == 1 && end > 0)
        cursor.movePosition(QTextCursor::PreviousBlock);
    cursor.movePosition(QTextCursor::StartOfBlock);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

int length(const QPlainTextEdit &view)
{
    return view.document()->characterCount() - 1;
}

} // namespace monitorview
