// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QLineF>
#include <QPointF>
#include <QSize>

// The map's equirectangular projection. Map units are degrees: x is the
// longitude east (-180 at the left edge, +180 at the right), y the latitude
// north (+90 at the top, -90 at the bottom), both linear in pixels.
class MapProjection
{
public:
    // The user scale of the map picture.
    static constexpr double scaleLeft = -180.0;
    static constexpr double scaleWidth = 360.0;
    static constexpr double scaleTop = 90.0;
    static constexpr double scaleHeight = -180.0;

    // picture: the map picture's size in pixels (both at least 1).
    explicit MapProjection(QSize picture);

    QSize pictureSize() const { return picture_; }
    // Degrees of longitude per pixel (positive).
    double dblXPerPixel() const { return scaleWidth / picture_.width(); }
    // Degrees of latitude per pixel (negative: y grows downwards in pixels).
    double dblYPerPixel() const { return scaleHeight / picture_.height(); }

    // Map units (degrees) to pixel coordinates and back.
    QPointF toPixel(QPointF map) const;
    QLineF toPixel(const QLineF &map) const { return {toPixel(map.p1()), toPixel(map.p2())}; }
    QPointF toMap(QPointF pixel) const;

private:
    QSize picture_;
};
