// SPDX-License-Identifier: GPL-2.0-or-later
#include "map/MapTimeBox.h"

#include "ui/ToolTipText.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

MapTimeBox::MapTimeBox(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    setCursor(Qt::SizeAllCursor);
}

int MapTimeBox::lineBoxHeight() const
{
    return fontMetrics().height() + padding;
}

void MapTimeBox::setText(const QString &text)
{
    text_ = text;
    // No wider than the map: a failure names the satellite, whose name comes
    // from an element file and may be of any length.
    int width = fontMetrics().horizontalAdvance(text_) + padding;
    if (const QWidget *area = parentWidget(); area && area->width() > 0)
        width = std::min(width, area->width());
    resize(width, lineBoxHeight());
    setToolTip(shownText() == text_ ? QString() : orvex::plainToolTip(text_));
    moveInsideParent(pos());
    update();
}

QString MapTimeBox::shownText() const
{
    return fontMetrics().elidedText(text_, Qt::ElideRight, width() - padding);
}

void MapTimeBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QFontMetrics metrics = fontMetrics();
    const QString shown = shownText();
    const int left = (width() - metrics.horizontalAdvance(shown)) / 2;
    const int top = (height() - metrics.height()) / 2;
    painter.drawText(left, top + metrics.ascent(), shown);
}

void MapTimeBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    dragging_ = true;
    grabOffset_ = event->position().toPoint();
    event->accept();
}

void MapTimeBox::mouseMoveEvent(QMouseEvent *event)
{
    if (!dragging_ || !(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    moveInsideParent(mapToParent(event->position().toPoint()) - grabOffset_);
    event->accept();
}

void MapTimeBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && dragging_) {
        dragging_ = false;
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void MapTimeBox::moveInsideParent(QPoint topLeft)
{
    const QWidget *area = parentWidget();
    if (area) {
        topLeft.setX(std::clamp(topLeft.x(), 0, std::max(0, area->width() - width())));
        topLeft.setY(std::clamp(topLeft.y(), 0, std::max(0, area->height() - height())));
    }
    move(topLeft);
}
