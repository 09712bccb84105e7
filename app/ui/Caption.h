// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QLabel>

// A field's caption, with an access key ("&To"). Such a caption is drawn in
// pieces around its underlined letter, and the pieces lose the kerning that
// QLabel's size hint counts on: "To" is drawn a pixel wider than measured,
// and a caption of fixed width loses the edge of its last letter. A Caption
// asks for at least the width of its letters set one by one.
class Caption : public QLabel
{
public:
    explicit Caption(const QString &text, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    int unkernedTextWidth() const;
};
