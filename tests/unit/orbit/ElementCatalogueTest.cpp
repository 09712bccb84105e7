// SPDX-License-Identifier: GPL-2.0-or-later
// The engine's index of element files: demo sets give way to real ones, sets
// are read in full only when asked for, files are read in bounded memory,
// and values no orbit has are refused.
#include "orbitengine/ElementChecks.h"
#include "orbitengine/ElementLines.h"
#include "orbitengine/OrbitEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

using namespace orbit;
namespace fs = std::filesystem;

namespace {

class Folder
{
public:
    Folder()
    {
        std::random_device seed;
        path_ = fs::temp_directory_path() / ("catalogue-test-" + std::to_string(seed()));
        fs::create_directories(path_);
    }
    ~Folder()
    {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    void write(const std::string &name, const std::string &text) const
    {
        std::ofstream(path_ / name, std::ios::binary) << text;
    }
    std::string path() const { return path_.string(); }
    std::string file(const std::string &name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

std::string withChecksum(std::string line)
{
    line.resize(68, ' ');
    return line + static_cast<char>('0' + lineChecksum(line));
}

// A three-line set with good checksums; `inclination` is put in as written.
std::string elementSet(const std::string &name, int number, double epochDay,
                       const char *inclination = " 51.6321")
{
    char line1[80], line2[80];
    std::snprintf(line1, sizeof line1,
                  "1 %05dU 98067A   26%012.8f  .00012345  00000-0  22186-3 0  999", number,
                  epochDay);
    std::snprintf(line2, sizeof line2,
                  "2 %05d %s 123.4567 0004567  78.9012 281.2345 15.49812345 1234", number,
                  inclination);
    return name + "\n" + withChecksum(line1) + "\n" + withChecksum(line2) + "\n";
}

const std::string demoMarkerLine = std::string(demoElementsMarker) + ": invented\n";

} // namespace

TEST(ElementCatalogue, ADemoSetGivesWayToARealOneWhateverTheEpochs)
{
    Folder folder;
    folder.write("demo.txt", demoMarkerLine + elementSet("ISS (ZARYA)", 25544, 342.0) +
                                 elementSet("ORVEX", 26931, 342.0));
    folder.write("amateur.txt", elementSet("ISS (ZARYA)", 25544, 330.5));
    OrbitEngine engine;
    ASSERT_TRUE(engine.SetElementFolder(folder.path()));

    ASSERT_TRUE(engine.findElementSet("ISS (ZARYA)"));
    EXPECT_DOUBLE_EQ(engine.findElementSet("ISS (ZARYA)")->epochDayOfYear, 330.5);
    const auto iss = engine.elementSource("ISS (ZARYA)");
    ASSERT_TRUE(iss);
    EXPECT_EQ(iss->file, folder.file("amateur.txt"));
    EXPECT_FALSE(iss->demo);
    EXPECT_EQ(iss->catalogNumber, 25544);

    // What only the demo has, it still gives, and says so.
    const auto orvex = engine.elementSource("ORVEX");
    ASSERT_TRUE(orvex);
    EXPECT_TRUE(orvex->demo);
    EXPECT_TRUE(engine.elementStatus("ORVEX"));
}

TEST(ElementCatalogue, SetsAreReadInFullOnlyWhenAskedAndEachNameIsHeldOnce)
{
    Folder folder;
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += elementSet("SAT " + std::to_string(i), 40000 + i, 300.0);
    // Good checksums, unreadable inclination: only a full read finds out.
    text += elementSet("BROKEN", 49999, 300.0, "ABC.DEFG");
    text += elementSet("ISS (ZARYA)", 25544, 330.0) + elementSet("ISS  (ZARYA)", 25544, 340.0);
    folder.write("keps.txt", text);
    OrbitEngine engine;
    ASSERT_TRUE(engine.SetElementFolder(folder.path()));
    EXPECT_EQ(engine.names().size(), 302u);
    EXPECT_TRUE(engine.skippedSets().empty());
    EXPECT_EQ(engine.catalogueCost().setsLoaded, 0u);

    Position p;
    EXPECT_TRUE(engine.GetPosition("ISS (ZARYA)", 2461382.5, p));
    EXPECT_EQ(engine.catalogueCost().setsLoaded, 1u);
    EXPECT_DOUBLE_EQ(engine.findElementSet("ISS (ZARYA)")->epochDayOfYear, 340.0);

    const Status broken = engine.elementStatus("BROKEN");
    EXPECT_EQ(broken.code(), StatusCode::BadElements);
    EXPECT_EQ(broken.reason(), "keps.txt line 903: unreadable inclination");

    // A set changed in place after the file was indexed is not taken for the one indexed.
    const std::string sat7 = elementSet("SAT 7", 40007, 300.0);
    text.replace(text.find(sat7), sat7.size(), elementSet("SAT 7", 40007, 301.0));
    folder.write("keps.txt", text);
    const Status moved = engine.elementStatus("SAT 7");
    EXPECT_EQ(moved.code(), StatusCode::BadElements);
    EXPECT_NE(moved.reason().find("has changed since it was read"), std::string::npos);
}

TEST(ElementCatalogue, AHugeFileIsReadInBlocksAndOneFileAddsALimitedNumberOfNames)
{
    Folder folder;
    {
        std::ofstream huge(folder.file("huge.txt"), std::ios::binary);
        const std::string blankLines(1 << 20, '\n');
        for (int i = 0; i < 24; ++i)
            huge << blankLines;
        huge << std::string(3 << 20, 'x') << "\r\n"; // one 3 MB line
        huge << elementSet("ISS (ZARYA)", 25544, 340.0);
    }
    OrbitEngine engine;
    ASSERT_TRUE(engine.SetElementFolder(folder.path()));
    EXPECT_TRUE(engine.elementStatus("ISS (ZARYA)"));
    EXPECT_EQ(engine.catalogueCost().bytesRead, fs::file_size(folder.file("huge.txt")));
    EXPECT_LE(engine.catalogueCost().peakReaderBytes,
              ElementCatalogue::blockSize + 4 * ElementLineReader::maxKeptLineLength + 1024);

    fs::remove(folder.file("huge.txt"));
    std::string many;
    for (int i = 0; i < 5; ++i)
        many += elementSet("SAT " + std::to_string(i), 40000 + i, 300.0);
    folder.write("many.txt", many);
    engine.setMaxNamesPerFile(3);
    ASSERT_TRUE(engine.SetElementFolder(folder.path()));
    EXPECT_EQ(engine.names().size(), 3u);
    ASSERT_EQ(engine.skippedSets().size(), 1u);
    EXPECT_EQ(engine.skippedSets()[0],
              "many.txt line 11: more than 3 names in one file; the rest of the file is not read");
}

TEST(ElementLineReader, PiecesOfAnySizeFindTheSameSets)
{
    const std::string text = "junk\r\n" + elementSet("A", 1, 300.0) + elementSet("", 2, 300.0) +
                             "1 x\n" + elementSet("B", 3, 300.0);
    std::vector<std::string> whole, bytewise;
    const auto collect = [](std::vector<std::string> &into) {
        return [&into](const ElementLines &l) {
            into.push_back(std::string(l.name) + "|" + std::to_string(l.line1Offset) + "|" +
                           std::to_string(l.line1Number) + "|" + std::string(l.line2));
        };
    };
    ElementLineReader all(collect(whole));
    all.feed(text);
    all.finish();
    ElementLineReader single(collect(bytewise));
    for (char c : text)
        single.feed(std::string_view(&c, 1));
    single.finish();
    ASSERT_EQ(whole.size(), 3u);
    EXPECT_EQ(whole, bytewise);
    EXPECT_EQ(whole[0].substr(0, whole[0].find('|', 2)), "A|8");
    EXPECT_EQ(text.substr(8, 2), "1 ");
}

// A file copied from another system may end its lines with CR alone, as the
// Keps scan and the download already allow.
TEST(ElementLineReader, CrLfAndCrAloneEndLinesAsLfDoes)
{
    const std::string lf = "junk\n\n" + elementSet("A", 1, 300.0) + elementSet("B", 2, 300.0);
    const auto withEnds = [&lf](const std::string &end) {
        std::string text;
        for (char c : lf)
            text += c == '\n' ? end : std::string(1, c);
        return text;
    };
    for (const std::string &end : {std::string("\r\n"), std::string("\r")}) {
        const std::string text = withEnds(end);
        for (const size_t pieceSize : {text.size(), size_t{1}}) {
            std::vector<std::string> sets;
            ElementLineReader reader([&](const ElementLines &l) {
                EXPECT_EQ(text.substr(l.line1Offset, 2), "1 ");
                sets.push_back(std::string(l.name) + "|" + std::to_string(l.line1Number) + "|" +
                               std::string(l.line2));
            });
            for (size_t at = 0; at < text.size(); at += pieceSize)
                reader.feed(std::string_view(text).substr(at, pieceSize));
            reader.finish();
            ASSERT_EQ(sets.size(), 2u) << "pieces of " << pieceSize;
            EXPECT_EQ(sets[0].substr(0, 4), "A|4|");
            EXPECT_EQ(sets[1].substr(0, 4), "B|7|");
            EXPECT_EQ(sets[1].find('\r'), std::string::npos) << "a CR kept in line 2";
            EXPECT_EQ(reader.linesRead(), 8u);
        }
    }
}

TEST(ElementChecks, ValuesNoOrbitHasAreRefusedWithTheReason)
{
    const auto base = parseElementSet(
        "ISS", withChecksum("1 25544U 98067A   26340.51782528  .00012345  00000-0  22186-3 0  999"),
        withChecksum("2 25544  51.6321 123.4567 0004567  78.9012 281.2345 15.49812345 1234"));
    ASSERT_TRUE(base.set);
    ASSERT_TRUE(checkOrbitElements(*base.set));
    struct Case
    {
        const char *what;
        std::function<void(ElementSet &)> change;
        const char *reason; // start of it; "" when the set is accepted
    };
    const Case cases[] = {
        {"retrograde limit", [](ElementSet &e) { e.inclinationDeg = 180; }, ""},
        {"inclination above 180", [](ElementSet &e) { e.inclinationDeg = 180.5; },
         "inclination 180.5 is outside 0 to 180 degrees"},
        {"negative inclination", [](ElementSet &e) { e.inclinationDeg = -0.1; }, "inclination"},
        {"eccentricity 1", [](ElementSet &e) { e.eccentricity = 1.0; },
         "eccentricity 1 is outside 0 up to 1"},
        {"negative eccentricity", [](ElementSet &e) { e.eccentricity = -0.01; }, "eccentricity"},
        {"mean motion too low", [](ElementSet &e) { e.meanMotion = 0.049; },
         "mean motion 0.049 is outside 0.05 to 20"},
        {"slowest accepted", [](ElementSet &e) { e.meanMotion = 0.05; }, ""},
        {"mean motion too high", [](ElementSet &e) { e.meanMotion = 20.5; }, "mean motion"},
        {"node beyond 360", [](ElementSet &e) { e.raanDeg = 360.5; },
         "right ascension of the node"},
        {"negative perigee argument", [](ElementSet &e) { e.argPerigeeDeg = -1; },
         "argument of perigee"},
        {"mean anomaly beyond 360", [](ElementSet &e) { e.meanAnomalyDeg = 400; }, "mean anomaly"},
        {"not a number", [](ElementSet &e) { e.inclinationDeg = std::nan(""); }, "inclination"},
        {"perigee inside the Earth", [](ElementSet &e) { e.eccentricity = 0.5; }, "perigee "},
        {"circular at 17.5 rev/day", [](ElementSet &e) { e.meanMotion = 17.5; }, "perigee "},
        {"geostationary",
         [](ElementSet &e) {
             e.meanMotion = 1.0027;
             e.inclinationDeg = 0;
         },
         ""},
    };
    for (const Case &c : cases) {
        ElementSet e = *base.set;
        c.change(e);
        const Status status = checkOrbitElements(e);
        if (std::string(c.reason).empty()) {
            EXPECT_TRUE(status) << c.what << ": " << status.reason();
            continue;
        }
        EXPECT_EQ(status.code(), StatusCode::BadElements) << c.what;
        EXPECT_EQ(status.reason().rfind(c.reason, 0), 0u) << c.what << ": " << status.reason();
    }

    // The engine gives the reason for the satellite, where the panel and map read it.
    OrbitEngine engine;
    engine.addElementText(elementSet("ODD", 11111, 300.0, "190.0000"));
    Position p;
    const Status refused = engine.GetPosition("ODD", 2461382.5, p);
    EXPECT_EQ(refused.code(), StatusCode::BadElements);
    EXPECT_EQ(refused.reason(), "inclination 190 is outside 0 to 180 degrees");
}
