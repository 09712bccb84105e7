// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/MonitorView.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <gtest/gtest.h>

namespace {
QString lines(int from, int count)
{
    QString text;
    for (int i = from; i < from + count; ++i)
        text += QStringLiteral("line %1\n").arg(i);
    return text;
}
} // namespace

TEST(MonitorView, NewTextGoesInAtTheCaretMovedToTheEndAndLeavesItThere)
{
    QPlainTextEdit view;
    view.setReadOnly(true);
    view.resize(300, 120);
    view.show();
    monitorview::appendAtEnd(view, lines(0, 200));
    QScrollBar *bar = view.verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(view.textCursor().position(), monitorview::length(view)) << "the caret stayed behind";

    // The operator scrolls back and selects "line 2": the next text moves
    // the caret to the end first, so the selection goes and the view
    // shows the new end.
    bar->setValue(0);
    QTextCursor selection(view.document());
    selection.setPosition(14);
    selection.setPosition(20, QTextCursor::KeepAnchor);
    view.setTextCursor(selection);
    monitorview::appendAtEnd(view, lines(200, 50));
    EXPECT_TRUE(view.toPlainText().endsWith(QStringLiteral("line 248\nline 249\n")));
    EXPECT_FALSE(view.textCursor().hasSelection());
    EXPECT_EQ(view.textCursor().position(), monitorview::length(view));
    EXPECT_TRUE(view.viewport()->rect().contains(view.cursorRect()))
        << "the view does not show the caret at the end";

    monitorview::removeLeading(view, 7); // "line 0\n"
    EXPECT_TRUE(view.toPlainText().startsWith(QStringLiteral("line 1\n")));
}
