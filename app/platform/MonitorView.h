// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <QTextCharFormat>

#include <functional>

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

// Texts waiting for a monitor view, written into it in one go. A monitor
// cuts its text from the front before each text is added (the cut rule
// says how many characters to drop from what it shows; 0 for none); the
// view written holds exactly what adding each text on its own would have
// left, but is laid out once. Meanwhile no more is kept than the view
// could still show.
class PendingText
{
public:
    using CutRule = std::function<qsizetype(QStringView shown)>;

    // `bound`: the view never keeps much more than this after a cut.
    PendingText(QPlainTextEdit &view, CutRule rule, qsizetype bound);

    // `text` with "\n" line breaks.
    void add(const QString &text, const QTextCharFormat &format = QTextCharFormat());
    bool isEmpty() const { return pieces_.isEmpty(); }
    void setRule(CutRule rule, qsizetype bound);
    // Forgets what waits (the view was cleared).
    void discard();

    // Writes what waits into the view as described above.
    void write();

private:
    struct Piece
    {
        QString text;
        QTextCharFormat format;
    };
    // What the view shows, as far as the pieces still build on it.
    QString shown() const;
    // Where the view's text would begin in `shown` + the pieces once all of
    // them were added one after the other.
    qsizetype firstKept(const QString &shown) const;
    // Drops the pieces that the view could no longer show.
    void compact();

    QPlainTextEdit &view_;
    CutRule rule_;
    qsizetype bound_;
    QList<Piece> pieces_;
    qsizetype pendingLength_ = 0;
    // Set once a cut falls inside the pieces: whatever the view shows now
    // is gone, and the pieces are the view's whole text.
    bool replacesView_ = false;
};

} // namespace monitorview
