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

TEST(MonitorView, NewTextKeepsTheSelectionAndFollowsOnlyAViewAtTheEnd)
{
    QPlainTextEdit view;
    view.setReadOnly(true);
    view.resize(300, 120);
    view.show();
    monitorview::appendAtEnd(view, lines(0, 200));
    QScrollBar *bar = view.verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum()) << "a view at the end follows";

    // The operator scrolls back and selects "line 3".
    bar->setValue(0);
    QTextCursor selection(view.document());
    selection.setPosition(14);
    selection.setPosition(20, QTextCursor::KeepAnchor);
    view.setTextCursor(selection);
    monitorview::appendAtEnd(view, lines(200, 50));
    EXPECT_EQ(bar->value(), 0) << "the view jumped while the operator read back";
    EXPECT_EQ(view.textCursor().selectedText(), QStringLiteral("line 2"));

    // Trimming the start shifts the selection with its text.
    monitorview::removeLeading(view, 7); // "line 0\n"
    EXPECT_EQ(view.textCursor().selectedText(), QStringLiteral("line 2"));
    EXPECT_TRUE(view.toPlainText().startsWith(QStringLiteral("line 1\n")));

    monitorview::removeLastLine(view);
    EXPECT_TRUE(view.toPlainText().endsWith(QStringLiteral("line 248\n")));
}
