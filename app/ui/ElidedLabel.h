// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QLabel>

// A label for text from outside the program (element set names, server
// answers, frame text, callsigns): always plain text, never HTML, and never
// wider than the room it is given. Each line that does not fit is cut with
// "…", and the whole text is the tool tip while anything is cut. Its minimum
// width is a few letters, so that no window grows with a long text.
class ElidedLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget *parent = nullptr);
    explicit ElidedLabel(const QString &text, QWidget *parent = nullptr);

    // The lines as shown at the present width.
    QString shownText() const;
    bool isElided() const { return shownText() != text(); }

    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QString shownText(int width) const;
};
