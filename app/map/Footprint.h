// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QLineF>
#include <QList>
#include <QPointF>
#include <QSize>

// The circle of ground from which a satellite is heard (it stands at least
// 5 degrees above the horizon there), as the map draws it: in pixels, a
// circle of the footprint's Earth central angle around the sub-satellite
// point, cut into rows half a pixel apart, each row widened by 1 / cos of its
// latitude (at most 1000 times, near the poles).
//
// A footprint that runs over the left or right edge of the map is drawn a
// second time, shifted by the picture width, so that the part beyond one
// edge shows at the other.
class Footprint
{
public:
    // The drawing's own constants.
    static constexpr double pi = 3.1416;
    static constexpr double earthRadiusKm = 6368.0;
    // Angle at the edge of the footprint between the vertical and the line of
    // sight: 90 degrees plus the 5 degrees of minimum elevation.
    static constexpr double edgeAngleDeg = 95.0;
    static constexpr double cosineFloor = 0.001;
    static constexpr double rowStep = 0.5;

    struct Row
    {
        double halfWidth; // pixels, already widened
        double y;         // pixels from the top
    };

    // centre: the sub-satellite point in pixels; picture: the map's size in
    // pixels; altitudeKm: the satellite's height above the ground.
    Footprint(QPointF centre, double altitudeKm, QSize picture);

    // Earth central half-angle of the footprint, radians (0 when the
    // altitude gives none).
    double centralAngle() const { return centralAngle_; }
    // Radius of the unwidened circle, pixels.
    double radius() const { return radius_; }
    QPointF centre() const { return centre_; }
    // Top row first.
    const QList<Row> &rows() const { return rows_; }
    // 0 when the footprint touches neither edge; -width when it runs over
    // the right edge, +width when over the left (the first row that does
    // decides).
    double edgeShift() const { return edgeShift_; }

    // The outline: the first row's line, then from each row's ends to the
    // next row's ends, then the last row's line. Every x moved by xShift.
    QList<QLineF> outline(double xShift = 0) const;
    // The two ends of the first row, which the outline starts from as dots.
    QList<QPointF> startDots(double xShift = 0) const;

    // arcsin as arctan(x / sqrt(1 - x^2)); NaN where that is undefined.
    static double ArcSin(double x);

private:
    QPointF centre_;
    double centralAngle_ = 0;
    double radius_ = 0;
    double edgeShift_ = 0;
    QList<Row> rows_;
};
