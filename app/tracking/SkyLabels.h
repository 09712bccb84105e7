// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace tracking {

// Where a text of `size` goes beside a mark at `mark`: the first of the
// places around it, nearest first, that lies inside `bounds` and covers none
// of `taken` (compass letters, other marks and labels); when every place
// covers something, the one that covers least. All in pixels.
QRectF placeLabel(QPointF mark, QSizeF size, const QList<QRectF> &taken, const QRectF &bounds);

} // namespace tracking
