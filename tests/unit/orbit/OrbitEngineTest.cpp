// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbitengine/OrbitEngine.h"
#include "OrbitTestData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

using namespace orbit;
namespace fs = std::filesystem;

namespace {

class TemporaryFolder
{
public:
    TemporaryFolder()
    {
        std::random_device seed;
        path_ = fs::temp_directory_path() / ("orbitengine-test-" + std::to_string(seed()));
        fs::create_directories(path_);
    }
    ~TemporaryFolder()
    {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    void write(const std::string &name, const std::string &text) const
    {
        std::ofstream(path_ / name, std::ios::binary) << text;
    }
    std::string path() const { return path_.string(); }

private:
    fs::path path_;
};

std::string withChecksum(std::string line)
{
    line.resize(68, ' ');
    return line + static_cast<char>('0' + lineChecksum(line));
}

// MINOTAUR R/B of the verification set: came down within an hour of its epoch.
const std::string decayedSet =
    "MINOTAUR R/B\n" +
    withChecksum("1 28872U 05037B   05333.02012661  .25992681  00000-0  24476-3 0  153") + "\n" +
    withChecksum("2 28872  96.4736 157.9986 0303955 244.0492 110.6523 16.46015938 1070") + "\n";

const double dec8 = 2461382.5; // 2026-12-08 00:00 UTC

} // namespace

TEST(ElementFolder, EveryFileIsReadAndNamesAreFoundTrimmedWithBlanksFolded)
{
    TemporaryFolder folder;
    const std::string station = orbittest::readData("station.txt");
    folder.write("a.txt", station.substr(0, station.find("MOLNIYA")));
    folder.write("b.tle", station.substr(station.find("MOLNIYA")));
    folder.write("notes.doc", "nothing to see\n");
    OrbitEngine engine;
    ASSERT_TRUE(engine.SetElementFolder(folder.path()));
    EXPECT_EQ(engine.names().size(), 4u);
    EXPECT_TRUE(engine.findElementSet("ISS (ZARYA)"));
    EXPECT_TRUE(engine.findElementSet("  ISS   (ZARYA) "));
    EXPECT_TRUE(engine.findElementSet("GEO SAT"));
    EXPECT_FALSE(engine.findElementSet("ISS"));

    // Set again: the sets of the folder as it is now replace the old ones.
    fs::remove(fs::path(folder.path()) / "b.tle");
    ASSERT_TRUE(engine.SetElementFolder(folder.path()));
    EXPECT_FALSE(engine.findElementSet("GEO SAT"));
    EXPECT_TRUE(engine.findElementSet("ORVEX-1"));
}

TEST(ElementFolder, MissingFolderIsAStatusAndBadSetsAreListed)
{
    OrbitEngine engine;
    EXPECT_EQ(engine.SetElementFolder("/no/such/folder/here").code(), StatusCode::NotFound);

    TemporaryFolder folder;
    std::string broken = orbittest::readData("station.txt");
    broken[broken.find("15.49812345")] = '7'; // spoils the checksum of the ISS line 2
    folder.write("keps.txt", broken);
    ASSERT_TRUE(engine.SetElementFolder(folder.path()));
    EXPECT_FALSE(engine.findElementSet("ISS (ZARYA)"));
    EXPECT_TRUE(engine.findElementSet("ORVEX-1"));
    ASSERT_EQ(engine.skippedSets().size(), 1u);
    EXPECT_EQ(engine.skippedSets()[0], "keps.txt line 3: bad checksum");
}

TEST(ElementFolder, OfTwoSetsWithOneNameTheLaterEpochIsKept)
{
    OrbitEngine engine;
    const std::string older =
        "SAT\n" +
        withChecksum("1 25544U 98067A   26300.51782528  .00012345  00000-0  22186-3 0  999") +
        "\n" +
        withChecksum("2 25544  51.6321 123.4567 0004567  78.9012 281.2345 15.49812345 1234") + "\n";
    const std::string newer =
        "SAT\n" +
        withChecksum("1 25544U 98067A   26340.51782528  .00012345  00000-0  22186-3 0  999") +
        "\n" +
        withChecksum("2 25544  51.6321 123.4567 0004567  78.9012 281.2345 15.49812345 1234") + "\n";
    engine.addElementText(newer);
    engine.addElementText(older);
    ASSERT_TRUE(engine.findElementSet("SAT"));
    EXPECT_DOUBLE_EQ(engine.findElementSet("SAT")->epochDayOfYear, 340.51782528);
}

TEST(Position, AnglesInRadiansAltitudeInKilometres)
{
    OrbitEngine engine;
    engine.addElementText(orbittest::readData("station.txt"));
    ASSERT_TRUE(engine.SetObserverLatitude(38.9833));
    ASSERT_TRUE(engine.SetObserverLongitude(360 - 76.4833));
    Position p;
    // Mid-pass, 2026-12-08 09:30 UTC (skyfield: az 153.96, el 30.24 at the same moment).
    ASSERT_TRUE(engine.GetPosition("ISS (ZARYA)", orbittest::julianDate(2026, 12, 8, 9, 30), p));
    EXPECT_EQ(p.inView, 1);
    EXPECT_NEAR(p.azimuth * radToDeg, 153.96, 0.01);
    EXPECT_NEAR(p.elevation * radToDeg, 30.24, 0.01);
    EXPECT_NEAR(p.latitude * radToDeg, 33.92, 0.01);
    EXPECT_NEAR(p.longitude * radToDeg, 360 - 73.54, 0.01);
    EXPECT_NEAR(p.altitudeKm, 417.0, 1.0);
    EXPECT_GE(p.longitude, 0.0);
    EXPECT_LT(p.longitude, twoPi);

    ASSERT_TRUE(engine.GetPosition("ISS (ZARYA)", dec8, p));
    EXPECT_EQ(p.inView, 0);
    EXPECT_LT(p.elevation, 0);
}

TEST(Position, FailuresAreStatusesWithZeroedResults)
{
    OrbitEngine engine;
    engine.addElementText(orbittest::readData("station.txt") + decayedSet);
    Position p;
    p.altitudeKm = 123;
    const Status missing = engine.GetPosition("NOT THERE", dec8, p);
    EXPECT_EQ(missing.code(), StatusCode::NotFound);
    EXPECT_EQ(missing.reason(), "no element set named \"NOT THERE\"");
    EXPECT_EQ(p.altitudeKm, 0);

    const Status decayed = engine.GetPosition("MINOTAUR R/B", dec8, p);
    EXPECT_FALSE(decayed);
    EXPECT_EQ(p.inView, 0);
    EXPECT_TRUE(std::isfinite(p.latitude));
    EXPECT_EQ(engine.findPasses("MINOTAUR R/B", dec8, dec8 + 1).status.code(), decayed.code());
    std::string text = "old";
    EXPECT_FALSE(engine.ListPasses("MINOTAUR R/B", dec8 - 2415018.5, 10, 3, 0, 0, text));
    EXPECT_EQ(text, "");

    EXPECT_EQ(engine.GetPosition("ISS (ZARYA)", std::nan(""), p).code(), StatusCode::BadArgument);
    EXPECT_EQ(engine.SetObserverLatitude(91).code(), StatusCode::BadArgument);
    EXPECT_EQ(engine.SetObserverLongitude(360).code(), StatusCode::BadArgument);
    EXPECT_EQ(engine.SetObserverLongitude(std::nan("")).code(), StatusCode::BadArgument);
}

TEST(ListPasses, RecordsInAscendingOrderWithStartLosAzimuthElevationDuration)
{
    OrbitEngine engine;
    engine.addElementText(orbittest::readData("station.txt"));
    engine.SetObserverLatitude(38.9833);
    engine.SetObserverLongitude(360 - 76.4833);
    std::string text;
    const double startDate = OrbitEngine::FromEngineTime(dec8);
    ASSERT_TRUE(engine.ListPasses("ISS (ZARYA)", startDate, 10, 1, 0, 0, text));
    // First record: AOS 07:53:34.225, LOS 07:55:41.912, az 132.57, max 0.390.
    EXPECT_EQ(text.substr(0, text.find(',')), "{20261208075334 20261208075542 132.6 0.39 127.9}");

    std::vector<std::string> records;
    std::istringstream in(text);
    for (std::string r; std::getline(in, r, ',');)
        records.push_back(r);
    ASSERT_GE(records.size(), 10u); // at least 10 passes, even beyond the one day asked
    std::string previous;
    for (const auto &r : records) {
        ASSERT_EQ(r.front(), '{');
        ASSERT_EQ(r.back(), '}');
        std::istringstream fields(r.substr(1, r.size() - 2));
        std::string start, los;
        double azimuth = -1, elevation = -1, duration = -1;
        fields >> start >> los >> azimuth >> elevation >> duration;
        EXPECT_EQ(start.size(), 14u);
        EXPECT_GT(start, previous);
        EXPECT_GE(los, start);
        EXPECT_GE(azimuth, 0);
        EXPECT_LT(azimuth, 360);
        EXPECT_GT(elevation, 0);
        EXPECT_LE(elevation, 90);
        EXPECT_GT(duration, 0);
        EXPECT_LT(duration, 1000);
        previous = start;
    }
}

TEST(ListPasses, CoversTheDaysAskedEvenWithFewerPassesAndStopsAtThirtyDays)
{
    OrbitEngine engine;
    engine.addElementText(orbittest::readData("station.txt"));
    engine.SetObserverLatitude(38.9833);
    engine.SetObserverLongitude(360 - 76.4833);
    const double startDate = OrbitEngine::FromEngineTime(dec8);
    std::string text;
    ASSERT_TRUE(engine.ListPasses("ISS (ZARYA)", startDate, 1, 3, 0, 0, text));
    const auto count = std::count(text.begin(), text.end(), '{');
    EXPECT_EQ(count, 21); // every pass of the three days
    EXPECT_EQ(text.substr(text.rfind('{') + 1, 8), "20261210");

    // A satellite that is never seen: no records, no endless search.
    engine.SetObserverLatitude(89.0);
    ASSERT_TRUE(engine.ListPasses("ISS (ZARYA)", startDate, 10, 2, 0, 0, text));
    EXPECT_EQ(text, "");
    engine.SetObserverLatitude(-60.0);
    engine.SetObserverLongitude(0.0);
    ASSERT_TRUE(engine.ListPasses("GEO SAT", startDate, 10, 2, 0, 0, text));
    EXPECT_EQ(text, "");
}
