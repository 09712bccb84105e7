// SPDX-License-Identifier: GPL-2.0-or-later
#include "tracking/SkyLabels.h"

#include <limits>

namespace tracking {

namespace {

double area(const QRectF &rect)
{
    return rect.isValid() ? rect.width() * rect.height() : 0;
}

// How much of `label` covers `taken` or lies outside `bounds`, in square pixels.
double cover(const QRectF &label, const QList<QRectF> &taken, const QRectF &bounds)
{
    double covered = area(label) - area(label.intersected(bounds));
    for (const QRectF &other : taken)
        covered += area(label.intersected(other));
    return covered;
}

} // namespace

QRectF placeLabel(QPointF mark, QSizeF size, const QList<QRectF> &taken, const QRectF &bounds)
{
    const double w = size.width();
    const double h = size.height();
    QRectF best;
    double bestCover = std::numeric_limits<double>::max();
    for (const double gap : {6.0, 12.0, 20.0, 32.0}) {
        const double d = gap * 0.7; // the diagonal places as far from the mark
        // Beside, then above and below, then at the corners.
        const QPointF topLefts[] = {
            {mark.x() + gap, mark.y() - h / 2},     {mark.x() - gap - w, mark.y() - h / 2},
            {mark.x() - w / 2, mark.y() - gap - h}, {mark.x() - w / 2, mark.y() + gap},
            {mark.x() + d, mark.y() - d - h},       {mark.x() - d - w, mark.y() - d - h},
            {mark.x() + d, mark.y() + d},           {mark.x() - d - w, mark.y() + d},
        };
        for (const QPointF &topLeft : topLefts) {
            const QRectF label(topLeft, size);
            const double covered = cover(label, taken, bounds);
            if (covered <= 0)
                return label;
            if (covered < bestCover) {
                bestCover = covered;
                best = label;
            }
        }
    }
    return best;
}

} // namespace tracking
