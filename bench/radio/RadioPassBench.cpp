// SPDX-License-Identifier: GPL-2.0-or-later
// The radio and the rotator over the ISS's pass of 2026-12-08 09:25 (32°
// high, the Doppler moving up to 34 Hz a second at 145.8 MHz), against
// Hamlib's own rigctld and rotctld with their dummy models, the radio in
// SPLIT (downlink 145.825 MHz, uplink 437.8 MHz). The program's clock runs
// at 5 times real time, in quarter seconds; at every second of the pass the
// VFO, the split frequency and the rotator's position are read by a second
// client and compared with the satellite. The dummy rotator turns 6° a
// second in real time; its error counts where the satellite moved slower
// than that over the 5 s before (at this pace, the whole pass: at most
// 0.7° a second of the program's clock, 3.5° a second of real time).
// Counters: the largest errors (Hz, degrees), the most commands in any one
// second and the mean per second of each daemon between AOS and LOS.
#include "radio/FrequencyHold.h"
#include "radio/RadioController.h"
#include "radio/RotatorController.h"

#include "HamlibTestRig.h"
#include "support/Wait.h"

#include <QElapsedTimer>
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

using namespace radio;
using radio::test::Daemon;
using radio::test::HeldClock;
using radio::test::Probe;
using radio::test::StationTrack;

namespace {
constexpr double second = 1.0 / 86400;
constexpr double pace = 5;
constexpr double rotatorDegPerSecond = 6;
constexpr SatelliteFrequencies frequencies{145825000, 437800000};

double azimuthApart(double a, double b)
{
    return std::abs(std::remainder(a - b, 360.0));
}

double perSecond(const std::vector<double> &sentJd, double fromJd, double toJd)
{
    const auto count = std::count_if(sentJd.begin(), sentJd.end(),
                                     [&](double jd) { return jd >= fromJd && jd <= toJd; });
    return static_cast<double>(count) / ((toJd - fromJd) / second);
}

void BM_RadioAndRotatorOverAPass(benchmark::State &state)
{
    Daemon rigctld{QStringLiteral("rigctld")};
    Daemon rotctld{QStringLiteral("rotctld")};
    if (!rigctld.start() || !rotctld.start()) {
        state.SkipWithError("Hamlib's daemons do not start");
        return;
    }
    StationTrack track{StationTrack::iss};
    const orbit::Pass pass = track.passAfter(StationTrack::dayJd + 9.0 / 24);
    for (auto _ : state) {
        HeldClock clock{pass.aosJd - 70 * second};
        RadioController radio;
        RotatorController rotator;
        std::vector<double> radioSent;
        std::vector<double> rotatorSent;
        QObject::connect(&radio.link(), &HamlibLink::commandSent,
                         [&](const QString &) { radioSent.push_back(clock.jd()); });
        QObject::connect(&rotator.link(), &HamlibLink::commandSent,
                         [&](const QString &) { rotatorSent.push_back(clock.jd()); });
        RadioSettings radioSettings;
        radioSettings.enabled = true;
        radioSettings.port = rigctld.port();
        radioSettings.mode = RadioMode::Split;
        radio.setSettings(radioSettings);
        radio.setSatellite(frequencies, track.input());
        RotatorSettings rotatorSettings;
        rotatorSettings.enabled = true;
        rotatorSettings.port = rotctld.port();
        rotator.setSettings(rotatorSettings);
        rotator.setSatellite(track.input());
        orvex::test::waitUntil([&] { return radio.view().linkUp && rotator.view().linkUp; });
        Probe radioSide(rigctld.port());
        Probe rotatorSide(rotctld.port());
        const auto settleAt = [&](double jd) {
            clock.set(jd);
            do
                radio::test::waitForIdle(radio.link());
            while (radio.tick());
            do
                radio::test::waitForIdle(rotator.link());
            while (rotator.tick());
        };

        // The minute before AOS: the rotator turns to the AOS azimuth.
        for (double jd = pass.aosJd - 65 * second; jd < pass.aosJd; jd += second)
            settleAt(jd);
        orvex::test::waitUntil(
            [&] {
                return azimuthApart(
                           rotatorSide.number(QStringLiteral("get_pos"), QStringLiteral("Azimuth")),
                           pass.aosAzimuthDeg) < 0.5;
            },
            120000);

        double worstDown = 0, worstUp = 0, worstRotator = 0;
        int slowSeconds = 0;
        QElapsedTimer elapsed;
        elapsed.start();
        const double endJd = pass.losJd + 60 * second;
        for (double jd = pass.aosJd; jd <= endJd; jd += second / 4) {
            orvex::test::waitUntil(
                [&] { return elapsed.elapsed() >= (jd - pass.aosJd) / second / pace * 1000; });
            settleAt(jd);
            if (std::fmod((jd - pass.aosJd) / second, 1.0) > 0.1)
                continue;
            const TunedFrequencies wanted = dopplerTuned(
                frequencies.downlinkHz, frequencies.uplinkHz, track.look(jd).rangeRateKmPerS);
            worstDown = std::max(worstDown, std::abs(radioSide.number(QStringLiteral("get_freq"),
                                                                      QStringLiteral("Frequency")) -
                                                     wanted.downlinkHz));
            worstUp = std::max(worstUp, std::abs(radioSide.number(QStringLiteral("get_split_freq"),
                                                                  QStringLiteral("TX Frequency")) -
                                                 wanted.uplinkHz));
            if (jd > pass.losJd)
                continue;
            const LookSample now = track.look(jd);
            const LookSample before = track.look(jd - 5 * second);
            const double rate = std::max(azimuthApart(now.azimuthDeg, before.azimuthDeg),
                                         std::abs(now.elevationDeg - before.elevationDeg)) /
                                5 * pace;
            if (rate >= rotatorDegPerSecond || jd < pass.aosJd + 5 * second)
                continue;
            ++slowSeconds;
            const double azimuth =
                rotatorSide.number(QStringLiteral("get_pos"), QStringLiteral("Azimuth"));
            const double elevation =
                rotatorSide.number(QStringLiteral("get_pos"), QStringLiteral("Elevation"));
            worstRotator = std::max({worstRotator, azimuthApart(azimuth, now.azimuthDeg),
                                     std::abs(elevation - now.elevationDeg)});
        }
        state.counters["down_err_Hz"] = worstDown;
        state.counters["up_err_Hz"] = worstUp;
        state.counters["rot_err_deg"] = worstRotator;
        state.counters["rot_slow_s"] = slowSeconds;
        state.counters["rig_most_per_s"] = radio::test::mostInOneSecond(radioSent);
        state.counters["rot_most_per_s"] = radio::test::mostInOneSecond(rotatorSent);
        state.counters["rig_mean_per_s"] = perSecond(radioSent, pass.aosJd, pass.losJd);
        state.counters["rot_mean_per_s"] = perSecond(rotatorSent, pass.aosJd, pass.losJd);
    }
}
BENCHMARK(BM_RadioAndRotatorOverAPass)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace
