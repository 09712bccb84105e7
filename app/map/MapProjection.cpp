// SPDX-License-Identifier: GPL-2.0-or-later
#include "map/MapProjection.h"

#include <algorithm>

MapProjection::MapProjection(QSize picture)
    : picture_(std::max(1, picture.width()), std::max(1, picture.height()))
{
}

QPointF MapProjection::toPixel(QPointF map) const
{
    return {(map.x() - scaleLeft) / dblXPerPixel(), (map.y() - scaleTop) / dblYPerPixel()};
}

QPointF MapProjection::toMap(QPointF pixel) const
{
    return {scaleLeft + pixel.x() * dblXPerPixel(), scaleTop + pixel.y() * dblYPerPixel()};
}
