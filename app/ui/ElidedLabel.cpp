// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/ElidedLabel.h"

#include "ui/ToolTipText.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

#include <algorithm>

namespace {
// Room for the start of a name and the ellipsis, however long the text.
const QString shortestShown = QStringLiteral("MMMMMM…");
} // namespace

ElidedLabel::ElidedLabel(QWidget *parent) : ElidedLabel(QString(), parent) {}

ElidedLabel::ElidedLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
}

QString ElidedLabel::shownText(int width) const
{
    const QFontMetrics metrics(font());
    QStringList lines = text().split(QLatin1Char('\n'));
    for (QString &line : lines)
        line = metrics.elidedText(line, Qt::ElideRight, std::max(width, 0));
    return lines.join(QLatin1Char('\n'));
}

QString ElidedLabel::shownText() const
{
    return shownText(contentsRect().width() - 2 * margin());
}

QSize ElidedLabel::minimumSizeHint() const
{
    QSize size = QLabel::minimumSizeHint();
    const QMargins margins = contentsMargins();
    const int shortest = fontMetrics().horizontalAdvance(shortestShown) + margins.left() +
                         margins.right() + 2 * margin();
    size.setWidth(std::min(size.width(), shortest));
    return size;
}

bool ElidedLabel::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        const auto *help = static_cast<QHelpEvent *>(event);
        if (isElided())
            QToolTip::showText(help->globalPos(), orvex::plainToolTip(text()), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}

void ElidedLabel::paintEvent(QPaintEvent *event)
{
    // A text that fits is QLabel's, with its selection.
    if (!isElided()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    const QRect room = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(&painter, room,
                          static_cast<int>(QStyle::visualAlignment(layoutDirection(), alignment())),
                          palette(), isEnabled(), shownText(room.width()), foregroundRole());
}
