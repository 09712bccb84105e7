// SPDX-License-Identifier: GPL-2.0-or-later
// orbitcheck: test and measurement driver of the orbit engine.
#include "VerificationSets.h"
#include "orbitengine/CivilTime.h"
#include "orbitengine/Doppler.h"
#include "orbitengine/Eclipse.h"
#include "orbitengine/EpochClock.h"
#include "orbitengine/OrbitEngine.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

namespace {

int usage()
{
    std::fprintf(
        stderr,
        "usage: orbitcheck sgp4 FILE\n"
        "       orbitcheck passes DIR NAME LAT LON START DAYS\n"
        "       orbitcheck look DIR NAME LAT LON TIME\n"
        "       orbitcheck speed FILE SECONDS\n"
        "       orbitcheck eclipse DIR NAME START DAYS [umbra|centre|penumbra]\n"
        "       orbitcheck doppler DIR NAME LAT LON START SECONDS STEP FREQ_HZ\n"
        "LAT, LON in degrees (north, east positive); START, TIME as YYYY-MM-DDTHH:MM:SSZ\n");
    return 2;
}

bool readFile(const char *path, std::string &text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
}

bool number(const char *text, double &value)
{
    char *end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && std::isfinite(value);
}

// "YYYY-MM-DDTHH:MM:SSZ" (fraction of seconds allowed) to a Julian date.
bool parseTime(const char *text, double &jd)
{
    int y, mo, d, h, mi;
    double s;
    char z = 0;
    if (std::sscanf(text, "%d-%d-%dT%d:%d:%lf%c", &y, &mo, &d, &h, &mi, &s, &z) != 7 || z != 'Z')
        return false;
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 ||
        s >= 61)
        return false;
    jd = orbit::julianDate(y, mo, d, h, mi, s);
    return true;
}

std::string formatTime(double jd)
{
    const orbit::CivilTime c = orbit::civilTime(orbit::unixMilliseconds(jd));
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%04lld-%02d-%02dT%02d:%02d:%02d.%03dZ", c.year, c.month,
                  c.day, c.hour, c.minute, c.second, c.millisecond);
    return buffer;
}

int runSgp4(const char *path)
{
    std::string text;
    if (!readFile(path, text)) {
        std::fprintf(stderr, "orbitcheck: cannot read %s\n", path);
        return 1;
    }
    for (const auto &set : orbitcheck::readVerificationSets(text)) {
        std::printf("%d xx\n", set.elements.catalogNumber);
        if (!set.error.empty()) {
            std::printf("error %d %s\n", static_cast<int>(orbit::StatusCode::BadElements),
                        set.error.c_str());
            continue;
        }
        orbit::Sgp4 sgp4;
        const orbit::Status init = sgp4.init(set.elements);
        if (!init) {
            std::printf("error %d %s\n", init.number(), init.reason().c_str());
            continue;
        }
        for (double t : orbitcheck::runTimes(set)) {
            orbit::StateVector s;
            const orbit::Status status = sgp4.propagate(t, s);
            if (!status) {
                std::printf("error %d %s\n", status.number(), status.reason().c_str());
                break;
            }
            std::printf("%.8f %.8f %.8f %.8f %.9f %.9f %.9f\n", t, s.position[0], s.position[1],
                        s.position[2], s.velocity[0], s.velocity[1], s.velocity[2]);
        }
    }
    return 0;
}

bool setUpEngine(orbit::OrbitEngine &engine, const char *dir, const char *name, const char *lat,
                 const char *lon)
{
    double latitude = 0, longitude = 0;
    if (!number(lat, latitude) || !number(lon, longitude)) {
        std::fprintf(stderr, "orbitcheck: LAT and LON must be numbers in degrees\n");
        return false;
    }
    if (longitude < 0)
        longitude += 360.0;
    orbit::Status status = engine.SetElementFolder(dir);
    if (status)
        status = engine.SetObserverLatitude(latitude);
    if (status)
        status = engine.SetObserverLongitude(longitude);
    if (!status) {
        std::fprintf(stderr, "orbitcheck: error %d %s\n", status.number(), status.reason().c_str());
        return false;
    }
    if (!engine.findElementSet(name)) {
        std::fprintf(stderr, "orbitcheck: error %d no element set named \"%s\" in %s\n",
                     static_cast<int>(orbit::StatusCode::NotFound), name, dir);
        return false;
    }
    return true;
}

int runPasses(char **argv)
{
    orbit::OrbitEngine engine;
    if (!setUpEngine(engine, argv[0], argv[1], argv[2], argv[3]))
        return 1;
    double startJd = 0, days = 0;
    if (!parseTime(argv[4], startJd) || !number(argv[5], days) || days < 0) {
        std::fprintf(stderr, "orbitcheck: START must be YYYY-MM-DDTHH:MM:SSZ, DAYS a number\n");
        return 2;
    }
    const orbit::PassSearch search = engine.findPasses(argv[1], startJd, startJd + days);
    if (!search.status) {
        std::printf("error %d %s\n", search.status.number(), search.status.reason().c_str());
        return 1;
    }
    for (const auto &p : search.passes)
        std::printf("%s %s %.3f %.2f %.2f\n", formatTime(p.aosJd).c_str(),
                    formatTime(p.losJd).c_str(), p.maxElevationDeg, p.aosAzimuthDeg,
                    p.losAzimuthDeg);
    return 0;
}

int runLook(char **argv)
{
    orbit::OrbitEngine engine;
    if (!setUpEngine(engine, argv[0], argv[1], argv[2], argv[3]))
        return 1;
    double jd = 0;
    if (!parseTime(argv[4], jd)) {
        std::fprintf(stderr, "orbitcheck: TIME must be YYYY-MM-DDTHH:MM:SSZ\n");
        return 2;
    }
    orbit::Position p;
    const orbit::Status status = engine.GetPosition(argv[1], jd, p);
    if (!status) {
        std::printf("error %d %s\n", status.number(), status.reason().c_str());
        return 1;
    }
    double longitude = p.longitude * orbit::radToDeg;
    if (longitude > 180.0)
        longitude -= 360.0;
    std::printf("%d %.6f %.6f %.3f %.6f %.6f %.3f\n", p.inView, p.azimuth * orbit::radToDeg,
                p.elevation * orbit::radToDeg, p.rangeKm, p.latitude * orbit::radToDeg, longitude,
                p.altitudeKm);
    return 0;
}

int runSpeed(const char *path, const char *secondsText)
{
    std::string text;
    double seconds = 0;
    if (!readFile(path, text) || !number(secondsText, seconds) || seconds <= 0) {
        std::fprintf(stderr, "orbitcheck: cannot read %s, or SECONDS is not positive\n", path);
        return 2;
    }
    struct Run
    {
        orbit::Sgp4 sgp4;
        std::vector<double> times;
    };
    std::vector<Run> runs;
    for (const auto &set : orbitcheck::readVerificationSets(text)) {
        Run run;
        if (!set.error.empty() || !run.sgp4.init(set.elements))
            continue;
        run.times = orbitcheck::runTimes(set);
        runs.push_back(std::move(run));
    }
    if (runs.empty()) {
        std::fprintf(stderr, "orbitcheck: no usable element set in %s\n", path);
        return 1;
    }
    // The run lasts SECONDS of wall-clock time; the rate is counted per second
    // of this process's CPU time, so that other load on the machine does not
    // show up as a slower propagator.
    using Clock = std::chrono::steady_clock;
    const auto begin = Clock::now();
    const std::clock_t cpuBegin = std::clock();
    const auto limit = begin + std::chrono::duration<double>(seconds);
    long long count = 0;
    double sink = 0;
    orbit::StateVector s;
    auto now = begin;
    do {
        for (auto &run : runs) {
            for (double t : run.times) {
                ++count;
                if (!run.sgp4.propagate(t, s))
                    break;
                sink += s.position[0];
            }
        }
        now = Clock::now();
    } while (now < limit);
    double elapsed = static_cast<double>(std::clock() - cpuBegin) / CLOCKS_PER_SEC;
    if (!(elapsed > 0))
        elapsed = std::chrono::duration<double>(now - begin).count();
    std::printf("propagations per second: %.0f\n", static_cast<double>(count) / elapsed);
    if (sink == 42.0) // keeps the work from being optimised away
        std::fprintf(stderr, " ");
    return 0;
}

// The propagator of the set named NAME, which the engine holds; false with a message on failure.
bool initSatellite(const orbit::OrbitEngine &engine, const char *name, orbit::Sgp4 &satellite)
{
    const orbit::Status status = satellite.init(*engine.findElementSet(name));
    if (!status)
        std::fprintf(stderr, "orbitcheck: error %d %s\n", status.number(), status.reason().c_str());
    return status.isOk();
}

// Shadow intervals overlapping [START, START + DAYS]: "ENTRY EXIT" per line.
// Bounded by the umbra's edges unless EDGE (argv[4], may be null) says otherwise.
int runEclipse(char **argv)
{
    double startJd = 0, days = 0;
    const std::string edgeName = argv[4] ? argv[4] : "umbra";
    const orbit::ShadowEdge edge = edgeName == "centre"     ? orbit::ShadowEdge::SunCentre
                                   : edgeName == "penumbra" ? orbit::ShadowEdge::Penumbra
                                                            : orbit::ShadowEdge::Umbra;
    if (!parseTime(argv[2], startJd) || !number(argv[3], days) || days < 0 ||
        (edge == orbit::ShadowEdge::Umbra && edgeName != "umbra")) {
        std::fprintf(stderr, "orbitcheck: START must be YYYY-MM-DDTHH:MM:SSZ, DAYS a number, "
                             "EDGE umbra, centre or penumbra\n");
        return 2;
    }
    orbit::OrbitEngine engine;
    orbit::Sgp4 satellite;
    if (!setUpEngine(engine, argv[0], argv[1], "0", "0") ||
        !initSatellite(engine, argv[1], satellite))
        return 1;
    const orbit::EclipseSearch search =
        orbit::findEclipses(satellite, startJd, startJd + days, edge);
    if (!search.status) {
        std::printf("error %d %s\n", search.status.number(), search.status.reason().c_str());
        return 1;
    }
    for (const auto &e : search.eclipses)
        std::printf("%s %s\n", formatTime(e.entryJd).c_str(), formatTime(e.exitJd).c_str());
    return 0;
}

// "TIME RANGE_KM RANGE_RATE_KM_S DOPPLER_HZ" every STEP seconds for SECONDS.
int runDoppler(char **argv)
{
    double startJd = 0, seconds = 0, step = 0, frequency = 0;
    if (!parseTime(argv[4], startJd) || !number(argv[5], seconds) || !number(argv[6], step) ||
        !number(argv[7], frequency) || seconds < 0 || step <= 0 || seconds / step > 1e7) {
        std::fprintf(stderr, "orbitcheck: START must be YYYY-MM-DDTHH:MM:SSZ, SECONDS, STEP "
                             "(positive, at most 1e7 steps) and FREQ_HZ numbers\n");
        return 2;
    }
    orbit::OrbitEngine engine;
    orbit::Sgp4 satellite;
    if (!setUpEngine(engine, argv[0], argv[1], argv[2], argv[3]) ||
        !initSatellite(engine, argv[1], satellite))
        return 1;
    const orbit::EpochClock clock(satellite.elements());
    const long long steps = static_cast<long long>(std::floor(seconds / step + 1e-9));
    for (long long i = 0; i <= steps; ++i) {
        const double jd = startJd + static_cast<double>(i) * step / 86400.0;
        const double minutes = clock.minutes(jd);
        orbit::StateVector state;
        const orbit::Status status = satellite.propagate(minutes, state);
        if (!status) {
            std::printf("error %d %s\n", status.number(), status.reason().c_str());
            return 1;
        }
        const orbit::RangeRate r = orbit::rangeRate(engine.observer(), state, jd);
        std::printf("%s %.3f %.6f %.3f\n", formatTime(jd).c_str(), r.rangeKm, r.rangeRateKmPerS,
                    orbit::downlinkShiftHz(frequency, r.rangeRateKmPerS));
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return usage();
    const std::string command = argv[1];
    if (command == "sgp4" && argc == 3)
        return runSgp4(argv[2]);
    if (command == "passes" && argc == 8)
        return runPasses(argv + 2);
    if (command == "look" && argc == 7)
        return runLook(argv + 2);
    if (command == "speed" && argc == 4)
        return runSpeed(argv[2], argv[3]);
    if (command == "eclipse" && (argc == 6 || argc == 7))
        return runEclipse(argv + 2);
    if (command == "doppler" && argc == 10)
        return runDoppler(argv + 2);
    return usage();
}
