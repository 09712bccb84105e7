// SPDX-License-Identifier: GPL-2.0-or-later
// Propagations per second and pass searches of the orbit engine.
#include "VerificationSets.h"
#include "orbitengine/Eclipse.h"
#include "orbitengine/OrbitEngine.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

std::string readData(const std::string &name)
{
    std::ifstream in(std::string(ORVEX_SOURCE_DIR) + "/tests/data/orbit/" + name, std::ios::binary);
    if (!in)
        throw std::runtime_error("missing test data " + name);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

orbit::Sgp4 propagatorFor(int catalogNumber, std::vector<double> &times)
{
    for (const auto &set : orbitcheck::readVerificationSets(readData("SGP4-VER.TLE"))) {
        if (set.elements.catalogNumber != catalogNumber)
            continue;
        orbit::Sgp4 sgp4;
        if (!sgp4.init(set.elements))
            break;
        times = orbitcheck::runTimes(set);
        return sgp4;
    }
    throw std::runtime_error("no usable verification set");
}

void propagate(benchmark::State &state, int catalogNumber)
{
    std::vector<double> times;
    orbit::Sgp4 sgp4 = propagatorFor(catalogNumber, times);
    orbit::StateVector out;
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(sgp4.propagate(times[i], out));
        benchmark::DoNotOptimize(out);
        i = i + 1 < times.size() ? i + 1 : 0;
    }
    state.SetItemsProcessed(state.iterations());
}

// Near-Earth, with the full drag terms (DELTA 1 DEB, perigee 377 km).
void BM_PropagateNearEarth(benchmark::State &state)
{
    propagate(state, 6251);
}
// Deep space with the 12-hour resonance (MOLNIYA 2-14).
void BM_PropagateDeepSpaceResonant(benchmark::State &state)
{
    propagate(state, 8195);
}
// Deep space, lunar-solar terms only (SL-12 R/B, period 97 hours).
void BM_PropagateDeepSpace(benchmark::State &state)
{
    propagate(state, 20413);
}

// Every set of the verification file across its range, as orbitcheck speed does.
void BM_PropagateVerificationSet(benchmark::State &state)
{
    struct Run
    {
        orbit::Sgp4 sgp4;
        std::vector<double> times;
    };
    std::vector<Run> runs;
    for (const auto &set : orbitcheck::readVerificationSets(readData("SGP4-VER.TLE"))) {
        Run run;
        if (set.error.empty() && run.sgp4.init(set.elements)) {
            run.times = orbitcheck::runTimes(set);
            runs.push_back(std::move(run));
        }
    }
    orbit::StateVector out;
    long long count = 0;
    for (auto _ : state) {
        for (auto &run : runs)
            for (double t : run.times) {
                ++count;
                if (!run.sgp4.propagate(t, out))
                    break;
                benchmark::DoNotOptimize(out);
            }
    }
    state.SetItemsProcessed(count);
}

orbit::OrbitEngine stationEngine()
{
    orbit::OrbitEngine engine;
    engine.addElementText(readData("station.txt"));
    engine.SetObserverLatitude(38.9833);
    engine.SetObserverLongitude(360.0 - 76.4833);
    return engine;
}

constexpr double start = 2461382.5; // 2026-12-08 00:00 UTC

void BM_PassSearchIss10Days(benchmark::State &state)
{
    orbit::OrbitEngine engine = stationEngine();
    for (auto _ : state) {
        auto search = engine.findPasses("ISS (ZARYA)", start, start + 10.0);
        benchmark::DoNotOptimize(search);
    }
}

// What the program asks when the next pass of both satellites is listed for ten days.
void BM_ListPassesBothSatellites10Days(benchmark::State &state)
{
    orbit::OrbitEngine engine = stationEngine();
    const double startDate = orbit::OrbitEngine::FromEngineTime(start);
    std::string text;
    for (auto _ : state) {
        engine.ListPasses("ISS (ZARYA)", startDate, 10, 10, 0, 0, text);
        benchmark::DoNotOptimize(text);
        engine.ListPasses("ORVEX-1", startDate, 10, 10, 0, 0, text);
        benchmark::DoNotOptimize(text);
    }
}

// The shadow intervals of a month, as the history window asks for its shading.
void BM_EclipseSearch30Days(benchmark::State &state, const char *name)
{
    orbit::OrbitEngine engine = stationEngine();
    orbit::Sgp4 satellite;
    satellite.init(*engine.findElementSet(name));
    for (auto _ : state) {
        auto search = orbit::findEclipses(satellite, start, start + 30.0);
        benchmark::DoNotOptimize(search);
    }
}

} // namespace

BENCHMARK_CAPTURE(BM_EclipseSearch30Days, Iss, "ISS (ZARYA)")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EclipseSearch30Days, Molniya, "MOLNIYA 1-91")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PropagateNearEarth);
BENCHMARK(BM_PropagateDeepSpaceResonant);
BENCHMARK(BM_PropagateDeepSpace);
BENCHMARK(BM_PropagateVerificationSet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PassSearchIss10Days)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListPassesBothSatellites10Days)->Unit(benchmark::kMillisecond);
