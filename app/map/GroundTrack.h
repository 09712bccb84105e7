// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QLineF>
#include <QList>
#include <QPointF>

// The lines of a ground track in map units (x = longitude east, y = latitude
// north, degrees), drawn as one pen walking from point to point.
//
// A step that jumps more than 180 degrees of longitude crosses the +-180
// meridian: it is drawn as two lines, one leaving the map at one edge (to the
// point moved by 360 degrees) and one entering at the other (from the
// previous point moved the other way), so that no line runs across the whole
// map. A step that jumps more than 90 degrees of latitude is split the same
// way at the top and bottom edges, with 180 degrees. A point that is not a
// number gets no line to or from it.
class GroundTrack
{
public:
    // Points i of both lists belong together; extra points of the longer
    // list are ignored.
    GroundTrack(const QList<double> &latitudes, const QList<double> &longitudes);

    bool isEmpty() const { return empty_; }
    // Point 0, where the track starts (and the satellite stands).
    QPointF start() const { return start_; }
    // Every line of the track, in drawing order.
    const QList<QLineF> &lines() const { return lines_; }

private:
    bool empty_ = true;
    QPointF start_;
    QList<QLineF> lines_;
};
