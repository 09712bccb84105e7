// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/MonitorView.h"

#include <QColor>
#include <QPlainTextEdit>
#include <QString>

// A read-only text view that takes coloured text at its end and can drop
// text from its start, the rest keeping its colours. Line ends "\r\n", "\r"
// and "\n" each become one line break, and a line break counts as one
// character in length(), text() and removeLeading().
//
// Text added waits: while the view is shown it goes in once per turn of
// the event loop, and while it is hidden only when it is shown again or
// read. Before each text is added the view is cut by its cut rule.
class RichMonitor : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit RichMonitor(QWidget *parent = nullptr);

    // How many leading characters to drop before a text is added, given
    // what is shown; the view keeps at most about `bound` characters.
    void setCutRule(const monitorview::PendingText::CutRule &rule, qsizetype bound);

    // Caret to the end, the text in `colour`, caret to the end again.
    void appendColoured(const QString &text, const QColor &colour);
    // Removes the first `count` characters without repainting in between.
    void removeLeading(int count);
    // Empties the view and forgets what waits.
    void clearAll();
    // Number of characters shown.
    int length();
    // What is shown, line breaks as "\n".
    QString text();
    // Colour of the character at 0-based `position`.
    QColor colourAt(int position);
    // Writes what waits now.
    void flushPending();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void scheduleFlush();

    monitorview::PendingText pending_;
    bool flushScheduled_ = false;
};
