// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QPlainTextEdit>

namespace sharing {

// Text from outside (a server's reason, say), shown as plain text and
// wrapped at the width it is given, inside a word when a word is longer
// than that, so that no text can widen the window. It is as tall as its
// lines, at most `maxLines`; more scroll. It can be selected and copied,
// not edited.
class WrappedText : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit WrappedText(int maxLines, QWidget *parent = nullptr);

    QString text() const { return toPlainText(); }
    void setText(const QString &text);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // Lines the text takes at the present width.
    int lineCount() const;
    void fitHeight();

    int maxLines_;
};

} // namespace sharing
