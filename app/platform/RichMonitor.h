// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QColor>
#include <QPlainTextEdit>
#include <QString>

// A read-only text view that takes coloured text at its end and can drop
// text from its start, the rest keeping its colours. Line ends "\r\n", "\r"
// and "\n" each become one line break, and a line break counts as one
// character in length(), text() and removeLeading().
class RichMonitor : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit RichMonitor(QWidget *parent = nullptr);

    // Caret to the end, the text in `colour`, caret to the end again.
    void appendColoured(const QString &text, const QColor &colour);
    // Removes the first `count` characters without repainting in between.
    void removeLeading(int count);
    // Number of characters shown.
    int length() const;
    // What is shown, line breaks as "\n".
    QString text() const;
    // Colour of the character at 0-based `position`.
    QColor colourAt(int position) const;
};
