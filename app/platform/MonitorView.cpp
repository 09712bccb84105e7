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

PendingText::PendingText(QPlainTextEdit &view, CutRule rule, qsizetype bound)
    : view_(view), rule_(std::move(rule)), bound_(bound)
{
}

void PendingText::add(const QString &text, const QTextCharFormat &format)
{
    if (text.isEmpty())
        return;
    pieces_.append({text, format});
    pendingLength_ += text.size();
    if (pendingLength_ > 4 * bound_)
        compact();
}

void PendingText::setRule(CutRule rule, qsizetype bound)
{
    rule_ = std::move(rule);
    bound_ = bound;
}

void PendingText::discard()
{
    pieces_.clear();
    pendingLength_ = 0;
    replacesView_ = false;
}

QString PendingText::shown() const
{
    return replacesView_ ? QString() : view_.toPlainText();
}

qsizetype PendingText::firstKept(const QString &shown) const
{
    // Each text is added after its cut, which sees the text so far.
    QString all = shown;
    all.reserve(shown.size() + pendingLength_);
    qsizetype begin = 0;
    for (const Piece &piece : pieces_) {
        begin += rule_(QStringView(all).mid(begin));
        all += piece.text;
    }
    return begin;
}

void PendingText::compact()
{
    const QString before = shown();
    const qsizetype begin = firstKept(before);
    if (begin < before.size())
        return;
    // A cut fell inside the pieces: the view's own text is gone.
    replacesView_ = true;
    qsizetype drop = begin - before.size();
    pendingLength_ -= drop;
    while (!pieces_.isEmpty() && pieces_.front().text.size() <= drop) {
        drop -= pieces_.front().text.size();
        pieces_.removeFirst();
    }
    if (!pieces_.isEmpty())
        pieces_.front().text.remove(0, drop);
}

void PendingText::write()
{
    if (pieces_.isEmpty())
        return;
    const QString before = shown();
    qsizetype begin = firstKept(before);
    if (replacesView_ || begin >= before.size()) {
        view_.document()->clear();
        begin -= before.size();
    } else if (begin > 0) {
        removeLeading(view_, static_cast<int>(begin));
        begin = 0;
    }
    // Neighbours of one format go in as one text.
    QString text;
    QTextCharFormat format = pieces_.front().format;
    for (const Piece &piece : pieces_) {
        const QStringView kept = QStringView(piece.text).mid(qMin(begin, piece.text.size()));
        begin = qMax<qsizetype>(0, begin - piece.text.size());
        if (kept.isEmpty())
            continue;
        if (piece.format != format && !text.isEmpty()) {
            appendAtEnd(view_, text, format);
            text.clear();
        }
        format = piece.format;
        text += kept;
    }
    if (!text.isEmpty())
        appendAtEnd(view_, text, format);
    discard();
}

} // namespace monitorview
