// SPDX-License-Identifier: GPL-2.0-or-later
#include "sharing/Sighting.h"

#include <gtest/gtest.h>

using namespace sharing;

// Only a frame that real elements place at or above 3 degrees below the
// horizon goes by itself; every other is held with a reason in words.
TEST(HoldReason, OnlyRealElementsAboveTheLimitLetAFrameGo)
{
    using Elements = Sighting::Elements;
    const LookAngles high{123.0, 10.0};
    const LookAngles low{200.0, -3.04};
    struct Case
    {
        const char *name;
        Sighting sighting;
        const char *reasonPart; // nullptr: not held
    };
    const Case cases[] = {
        {"no element set", {Elements::None, std::nullopt}, "No element set"},
        {"the demo's set, overhead", {Elements::Demo, high}, "demo station's invented"},
        {"real set, cannot be placed", {Elements::Real, std::nullopt}, "cannot be worked out"},
        {"real set, below the limit", {Elements::Real, low}, "below the horizon (elevation -3.0°)"},
        {"real set, at the limit", {Elements::Real, LookAngles{200.0, -3.0}}, nullptr},
        {"real set, overhead", {Elements::Real, high}, nullptr},
    };
    for (const Case &c : cases) {
        const QString reason = holdReason(c.sighting);
        if (c.reasonPart)
            EXPECT_TRUE(reason.contains(QString::fromUtf8(c.reasonPart)))
                << c.name << ": " << reason.toStdString();
        else
            EXPECT_EQ(reason, QString()) << c.name;
    }
}
