// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/Caption.h"

#include <QFontMetrics>

namespace {

// The text as shown: "&&" is one ampersand, a single '&' marks the next
// letter and is not drawn.
QString shownText(const QString &caption)
{
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && ++i == caption.size())
            break;
        shown += caption[i];
    }
    return shown;
}

} // namespace

Caption::Caption(const QString &text, QWidget *parent) : QLabel(text, parent) {}

int Caption::unkernedTextWidth() const
{
    const QFontMetrics metrics(font());
    int width = 0;
    for (const QChar letter : shownText(text()))
        width += metrics.horizontalAdvance(letter);
    const QMargins margins = contentsMargins();
    return width + margins.left() + margins.right() + 2 * margin();
}

QSize Caption::sizeHint() const
{
    QSize size = QLabel::sizeHint();
    size.setWidth(qMax(size.width(), unkernedTextWidth()));
    return size;
}

QSize Caption::minimumSizeHint() const
{
    QSize size = QLabel::minimumSizeHint();
    size.setWidth(qMax(size.width(), unkernedTextWidth()));
    return size;
}
