// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/FrequencyHold.h"
#include "radio/RadioController.h"

#include "HamlibTestRig.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace radio;
using radio::test::Daemon;
using radio::test::HeldClock;
using radio::test::Probe;
using radio::test::StationTrack;

namespace {
constexpr double second = 1.0 / 86400;
// Made-up frequencies: the downlink on 2 m, the uplink on 70 cm.
constexpr SatelliteFrequencies frequencies{145825000, 437800000};

// The ISS's pass of 2026-12-08 09:25 (32° high), tuned through Hamlib's own
// rigctld with its dummy radio, on the program's clock moved by the test.
struct RadioPass : ::testing::Test
{
    Daemon rigctld{QStringLiteral("rigctld")};
    StationTrack track{StationTrack::iss};
    orbit::Pass pass = track.passAfter(StationTrack::dayJd + 9.0 / 24);
    HeldClock clock{pass.aosJd - 120 * second};
    RadioController radio;
    std::vector<double> sentJd;

    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(rigctld.start(&error)) << error.toStdString();
        QObject::connect(&radio.link(), &HamlibLink::commandSent,
                         [this](const QString &) { sentJd.push_back(clock.jd()); });
    }

    void start(RadioMode mode)
    {
        RadioSettings settings;
        settings.enabled = true;
        settings.port = rigctld.port();
        settings.mode = mode;
        radio.setSettings(settings);
        radio.setSatellite(frequencies, track.input());
        ASSERT_TRUE(orvex::test::waitUntil([&] { return radio.view().linkUp; }));
    }

    // Moves the clock and lets the controller send all it wants to at that time.
    void settleAt(double jd)
    {
        clock.set(jd);
        for (;;) {
            ASSERT_TRUE(radio::test::waitForIdle(radio.link())) << radio.view().link.toStdString();
            if (!radio.tick())
                return;
        }
    }

    // Steps the clock a quarter second at a time over [fromJd, toJd].
    void run(double fromJd, double toJd)
    {
        for (double jd = fromJd; jd <= toJd + 1e-9; jd += second / 4)
            settleAt(jd);
    }

    TunedFrequencies computed(double jd)
    {
        return dopplerTuned(frequencies.downlinkHz, frequencies.uplinkHz,
                            track.look(jd).rangeRateKmPerS);
    }
};

} // namespace

TEST_F(RadioPass, SplitFollowsTheDopplerFromAMinuteBeforeAosToAMinuteAfterLos)
{
    start(RadioMode::Split);
    Probe operatorSide(rigctld.port());
    const double windowStart = pass.aosJd - 60 * second;
    const double windowEnd = pass.losJd + 60 * second;
    const int steps = static_cast<int>((windowEnd - windowStart) / second + 120) * 4;
    for (int step = 0; step <= steps; ++step) {
        const double jd = windowStart - 60 * second + step * second / 4;
        settleAt(jd);
        if (step % 4 != 0)
            continue;
        if (jd < windowStart || jd > windowEnd) {
            // Between passes the radio is left alone.
            EXPECT_TRUE(jd < windowStart ? sentJd.empty() : sentJd.back() <= windowEnd)
                << "at " << (jd - pass.aosJd) / second << " s from AOS";
            continue;
        }
        // Split on, the downlink and the uplink go in the window's first two seconds.
        if (jd < windowStart + 2 * second)
            continue;
        const TunedFrequencies wanted = computed(jd);
        const double vfo =
            operatorSide.number(QStringLiteral("get_freq"), QStringLiteral("Frequency"));
        const double tx =
            operatorSide.number(QStringLiteral("get_split_freq"), QStringLiteral("TX Frequency"));
        ASSERT_LE(std::abs(vfo - wanted.downlinkHz), toleranceHz(frequencies.downlinkHz))
            << "VFO at " << (jd - pass.aosJd) / second << " s from AOS";
        ASSERT_LE(std::abs(tx - wanted.uplinkHz), toleranceHz(frequencies.uplinkHz))
            << "split TX at " << (jd - pass.aosJd) / second << " s from AOS";
    }
    EXPECT_EQ(operatorSide.ask(QStringLiteral("get_split_vfo"))->value(QStringLiteral("Split")),
              QStringLiteral("1"));
    EXPECT_LE(radio::test::mostInOneSecond(sentJd), 2);
    EXPECT_EQ(radio.view().downlink.offsetHz, 0);
}

TEST_F(RadioPass, TuningResumesWhenRigctldIsKilledAndStartedAgain)
{
    start(RadioMode::Split);
    const double killedJd = pass.aosJd + 200 * second;
    run(killedJd - 10 * second, killedJd);
    rigctld.kill();
    ASSERT_TRUE(orvex::test::waitUntil([&] { return !radio.view().linkUp; }));
    // Without its daemon the program goes on, and says why.
    for (double jd = killedJd; jd < killedJd + 5 * second; jd += second / 4) {
        clock.set(jd);
        EXPECT_FALSE(radio.tick());
    }
    EXPECT_TRUE(radio.view().link.contains(QStringLiteral("trying again")))
        << radio.view().link.toStdString();

    // A new rigctld on the same port: its dummy radio is at 145 MHz, split off.
    ASSERT_TRUE(rigctld.start());
    ASSERT_TRUE(orvex::test::waitUntil([&] { return radio.view().linkUp; }, 20000));
    const double backJd = killedJd + 5 * second;
    run(backJd, backJd + 3 * second);
    Probe operatorSide(rigctld.port());
    const TunedFrequencies wanted = computed(clock.jd());
    EXPECT_EQ(operatorSide.ask(QStringLiteral("get_split_vfo"))->value(QStringLiteral("Split")),
              QStringLiteral("1"));
    EXPECT_NEAR(operatorSide.number(QStringLiteral("get_freq"), QStringLiteral("Frequency")),
                wanted.downlinkHz, toleranceHz(frequencies.downlinkHz));
    EXPECT_NEAR(
        operatorSide.number(QStringLiteral("get_split_freq"), QStringLiteral("TX Frequency")),
        wanted.uplinkHz, toleranceHz(frequencies.uplinkHz));
    // The new daemon's own frequency was not taken for a turn of the dial.
    run(clock.jd(), clock.jd() + 10 * second);
    EXPECT_EQ(radio.view().downlink.offsetHz, 0);
    EXPECT_EQ(radio.view().uplink.offsetHz, 0);
}

TEST_F(RadioPass, TheOperatorsDialTurnIsKeptAsAnOffsetUntilReset)
{
    start(RadioMode::Rx);
    const double turnedJd = pass.aosJd + 100 * second;
    run(turnedJd - 10 * second, turnedJd);
    Probe operatorSide(rigctld.port());
    const double vfo = operatorSide.number(QStringLiteral("get_freq"), QStringLiteral("Frequency"));
    ASSERT_TRUE(operatorSide.ask(QStringLiteral("set_freq %1").arg(vfo + 1500, 0, 'f', 0))->ok());

    run(turnedJd, turnedJd + 4 * second);
    EXPECT_EQ(radio.view().downlink.offsetHz, 1500);
    const double tolerance = toleranceHz(frequencies.downlinkHz);
    for (double jd = turnedJd + 5 * second; jd <= turnedJd + 65 * second; jd += second / 4) {
        settleAt(jd);
        const double now =
            operatorSide.number(QStringLiteral("get_freq"), QStringLiteral("Frequency"));
        ASSERT_NEAR(now, computed(jd).downlinkHz + 1500, tolerance)
            << (jd - turnedJd) / second << " s after the turn";
    }

    radio.resetOffset();
    run(clock.jd(), clock.jd() + 2 * second);
    EXPECT_EQ(radio.view().downlink.offsetHz, 0);
    EXPECT_NEAR(operatorSide.number(QStringLiteral("get_freq"), QStringLiteral("Frequency")),
                computed(clock.jd()).downlinkHz, tolerance);
}
