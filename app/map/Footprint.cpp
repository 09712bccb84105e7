// SPDX-License-Identifier: GPL-2.0-or-later
#include "map/Footprint.h"

#include <algorithm>
#include <cmath>

double Footprint::ArcSin(double x)
{
    const double denominator = std::sqrt(1.0 - x * x);
    if (!std::isfinite(x) || !(denominator > 0))
        return std::nan("");
    return std::atan(x / denominator);
}

Footprint::Footprint(QPointF centre, double altitudeKm, QSize picture) : centre_(centre)
{
    const double width = std::max(1, picture.width());
    const double height = std::max(1, picture.height());
    const double degree = pi / 180.0;

    // A step whose arithmetic fails is skipped and the values keep what they
    // had, so a footprint with no sensible size shrinks to a dot.
    const double angle =
        pi - edgeAngleDeg * degree -
        ArcSin(earthRadiusKm * std::sin(edgeAngleDeg * degree) / (earthRadiusKm + altitudeKm));
    if (std::isfinite(angle))
        centralAngle_ = angle;
    const double fraction = centralAngle_ / (2.0 * pi);
    radius_ = fraction * width;
    if (!std::isfinite(centre.x()) || !std::isfinite(centre.y()) || !(radius_ >= 0)) {
        radius_ = 0;
        return;
    }

    const double r = radius_;
    for (long k = 0;; ++k) {
        const double d = -r + rowStep * static_cast<double>(k);
        if (d > r)
            break;
        const double square = r * r - d * d;
        if (square < 0)
            continue;
        const double y = centre.y() + d;
        const double halfWidth = std::sqrt(square);
        const double latitude = (y - height / 2.0) * pi / height;
        const double c = std::max(std::cos(latitude), cosineFloor);
        rows_.append({halfWidth / c, y});
    }

    for (const Row &row : std::as_const(rows_)) {
        if (centre.x() + row.halfWidth > width) {
            edgeShift_ = -width;
            break;
        }
        if (centre.x() - row.halfWidth < 0) {
            edgeShift_ = width;
            break;
        }
    }
}

QList<QLineF> Footprint::outline(double xShift) const
{
    QList<QLineF> lines;
    if (rows_.isEmpty())
        return lines;
    const double cx = centre_.x() + xShift;
    const auto left = [cx](const Row &row) { return QPointF(cx - row.halfWidth, row.y); };
    const auto right = [cx](const Row &row) { return QPointF(cx + row.halfWidth, row.y); };

    lines.reserve(2 * rows_.size());
    lines.append(QLineF(right(rows_.first()), left(rows_.first())));
    for (qsizetype i = 1; i < rows_.size(); ++i) {
        lines.append(QLineF(right(rows_[i - 1]), right(rows_[i])));
        lines.append(QLineF(left(rows_[i - 1]), left(rows_[i])));
    }
    lines.append(QLineF(right(rows_.last()), left(rows_.last())));
    return lines;
}

QList<QPointF> Footprint::startDots(double xShift) const
{
    if (rows_.isEmpty())
        return {};
    const Row &first = rows_.first();
    const double cx = centre_.x() + xShift;
    return {QPointF(cx + first.halfWidth, first.y), QPointF(cx - first.halfWidth, first.y)};
}
