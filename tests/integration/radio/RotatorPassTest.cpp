// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/RotatorController.h"

#include "HamlibTestRig.h"
#include "support/Wait.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <cmath>

using namespace radio;
using radio::test::Daemon;
using radio::test::HeldClock;
using radio::test::Probe;
using radio::test::StationTrack;

namespace {
constexpr double second = 1.0 / 86400;
// Hamlib's dummy rotator turns 6° a second on each axis, in real time. The
// pass below moves at most 0.16° a second, so at 20 times real time the
// satellite still moves at half the rotator's pace.
constexpr double pace = 20;

double azimuthError(double rotatorDeg, double satelliteDeg)
{
    return std::abs(std::remainder(rotatorDeg - satelliteDeg, 360.0));
}
} // namespace

// ORVEX-1's pass of 2026-12-09 08:51, from 356° across north to 53°, low
// (2.6°), followed by Hamlib's own rotctld with its dummy rotator (-180° to
// 450°, 0° to 90°).
TEST(RotatorPass, TurnsToAosFollowsThePassAcrossNorthAndParks)
{
    Daemon rotctld{QStringLiteral("rotctld")};
    QString error;
    ASSERT_TRUE(rotctld.start(&error)) << error.toStdString();
    StationTrack track{StationTrack::orvex};
    const orbit::Pass pass = track.passAfter(StationTrack::dayJd + 0.86);
    HeldClock clock{pass.aosJd - 120 * second};
    RotatorController rotator;
    int positionsSent = 0;
    QObject::connect(&rotator.link(), &HamlibLink::commandSent, [&](const QString &command) {
        positionsSent += command.startsWith(QLatin1String("set_pos")) ? 1 : 0;
    });
    const auto settleAt = [&](double jd) {
        clock.set(jd);
        do
            ASSERT_TRUE(radio::test::waitForIdle(rotator.link()));
        while (rotator.tick());
    };
    RotatorSettings settings;
    settings.enabled = true;
    settings.port = rotctld.port();
    settings.parkAzimuthDeg = 95;
    settings.parkElevationDeg = 10;
    rotator.setSettings(settings);
    rotator.setSatellite(track.input());
    ASSERT_TRUE(orvex::test::waitUntil([&] { return rotator.view().linkUp; }));
    Probe operatorSide(rotctld.port());
    const auto reported = [&] {
        return std::pair{
            operatorSide.number(QStringLiteral("get_pos"), QStringLiteral("Azimuth")),
            operatorSide.number(QStringLiteral("get_pos"), QStringLiteral("Elevation"))};
    };

    settleAt(pass.aosJd - 61 * second);
    EXPECT_EQ(positionsSent, 0) << "before PREPOSITION_S";
    EXPECT_TRUE(rotator.view().limitsFromDaemon);
    settleAt(pass.aosJd - 59 * second);
    settleAt(pass.aosJd - 1 * second);
    EXPECT_EQ(rotator.view().phase, RotatorPhase::Preposition);
    EXPECT_EQ(rotator.view().plan, QStringLiteral("overlap past the stop"));
    const bool atAos = orvex::test::waitUntil(
        [&] {
            const auto [azimuth, elevation] = reported();
            return azimuthError(azimuth, pass.aosAzimuthDeg) <= 0.5 && elevation <= 0.5;
        },
        30000);
    EXPECT_TRUE(atAos) << "at " << reported().first << "°, AOS at " << pass.aosAzimuthDeg << "°";

    QElapsedTimer elapsed;
    elapsed.start();
    for (double jd = pass.aosJd; jd <= pass.losJd; jd += second / 4) {
        ASSERT_TRUE(orvex::test::waitUntil(
            [&] { return elapsed.elapsed() >= (jd - pass.aosJd) / second / pace * 1000; }));
        settleAt(jd);
        if (std::fmod((jd - pass.aosJd) / second, 1.0) > 0.1)
            continue;
        const LookSample satellite = track.look(jd);
        const auto [azimuth, elevation] = reported();
        ASSERT_LE(azimuthError(azimuth, satellite.azimuthDeg), 2)
            << (jd - pass.aosJd) / second << " s after AOS";
        ASSERT_LE(std::abs(elevation - satellite.elevationDeg), 2)
            << (jd - pass.aosJd) / second << " s after AOS";
    }

    settleAt(pass.losJd + 1 * second);
    EXPECT_EQ(rotator.view().phase, RotatorPhase::Idle);
    const bool parked = orvex::test::waitUntil(
        [&] {
            const auto [azimuth, elevation] = reported();
            return azimuthError(azimuth, 95) <= 0.5 && std::abs(elevation - 10) <= 0.5;
        },
        30000);
    EXPECT_TRUE(parked) << "at " << reported().first << "° " << reported().second << "°";
}
