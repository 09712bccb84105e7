// SPDX-License-Identifier: GPL-2.0-or-later
#include "sharing/WrappedText.h"

#include <QTextLayout>

#include <algorithm>

namespace sharing {

WrappedText::WrappedText(int maxLines, QWidget *parent)
    : QPlainTextEdit(parent), maxLines_(std::max(maxLines, 1))
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    // Reads as a label: no frame, the window's background.
    setFrameShape(QFrame::NoFrame);
    setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    fitHeight();
}

void WrappedText::setText(const QString &text)
{
    if (text == toPlainText())
        return;
    setPlainText(text);
    fitHeight();
}

void WrappedText::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    fitHeight();
}

int WrappedText::lineCount() const
{
    const qreal width = viewport()->width() - 2 * document()->documentMargin();
    if (width <= 0)
        return 1;
    QTextOption option;
    option.setWrapMode(wordWrapMode());
    int lines = 0;
    for (const QString &paragraph : toPlainText().split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font());
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            ++lines;
        }
        layout.endLayout();
    }
    return std::max(lines, 1);
}

void WrappedText::fitHeight()
{
    // Only the height follows the text, so a new height brings no new width.
    const int needed = lineCount();
    // A scroll bar only for what does not fit; without it the viewport
    // would scroll by a few pixels even when every line is shown.
    setVerticalScrollBarPolicy(needed > maxLines_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    const int lines = std::min(needed, maxLines_);
    // While it scrolls, the margin below the text is left out: in its place
    // the top of a line would show, cut.
    const int documentMargins =
        (needed > maxLines_ ? 1 : 2) * static_cast<int>(document()->documentMargin());
    const QMargins margins = contentsMargins();
    setFixedHeight(lines * fontMetrics().lineSpacing() + documentMargins + margins.top() +
                   margins.bottom());
}

} // namespace sharing
