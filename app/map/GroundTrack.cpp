// SPDX-License-Identifier: GPL-2.0-or-later
#include "map/GroundTrack.h"

#include <algorithm>
#include <cmath>

GroundTrack::GroundTrack(const QList<double> &latitudes, const QList<double> &longitudes)
{
    const qsizetype count = std::min(latitudes.size(), longitudes.size());
    if (count == 0)
        return;
    empty_ = false;
    start_ = QPointF(longitudes[0], latitudes[0]);

    const auto finite = [](double a, double b) { return std::isfinite(a) && std::isfinite(b); };
    QPointF pen = start_;
    for (qsizetype i = 1; i < count; ++i) {
        const double x = longitudes[i];
        const double y = latitudes[i];
        const double px = longitudes[i - 1];
        const double py = latitudes[i - 1];
        if (!finite(x, y) || !finite(px, py)) {
            // No line to or from a point that is not a number.
        } else if (std::fabs(px - x) > 180.0) {
            const double shift = px > 0 ? 360.0 : -360.0;
            lines_.append(QLineF(pen, QPointF(x + shift, y)));
            lines_.append(QLineF(QPointF(px - shift, py), QPointF(x, y)));
        } else if (std::fabs(py - y) > 90.0) {
            const double shift = py > 0 ? 180.0 : -180.0;
            lines_.append(QLineF(pen, QPointF(x, y + shift)));
            lines_.append(QLineF(QPointF(px, py - shift), QPointF(x, y)));
        } else {
            lines_.append(QLineF(pen, QPointF(x, y)));
        }
        pen = QPointF(x, y);
    }
}
