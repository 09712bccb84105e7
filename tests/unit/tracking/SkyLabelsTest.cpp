// SPDX-License-Identifier: GPL-2.0-or-later
#include "tracking/SkyLabels.h"

#include <gtest/gtest.h>

using tracking::placeLabel;

namespace {
const QRectF bounds(0, 0, 360, 360);
const QSizeF label(80, 16);
} // namespace

TEST(SkyLabels, ALabelMovesOffWhatIsTakenAndStaysInside)
{
    // The mark beside a compass letter at the plot's right edge, as AOS due east.
    const QPointF mark(330, 180);
    const QRectF east(336, 172, 14, 16);
    const QRectF placed = placeLabel(mark, label, {east}, bounds);
    EXPECT_FALSE(placed.intersects(east));
    EXPECT_TRUE(bounds.contains(placed));
    EXPECT_FALSE(placed.contains(mark));
}

TEST(SkyLabels, WithNoFreePlaceTheLabelCoversLeast)
{
    // Everything is taken but a strip below the mark, too low for the label.
    const QPointF mark(180, 180);
    const QList<QRectF> taken = {QRectF(0, 0, 360, 186), QRectF(0, 200, 360, 160)};
    const QRectF placed = placeLabel(mark, label, taken, bounds);
    // Over the strip, covering only the 2 px it lacks.
    EXPECT_GE(placed.top(), 184);
    EXPECT_LE(placed.bottom(), 202);
}
