// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "orbitengine/Sgp4.h"
#include "orbitengine/Status.h"
#include "orbitengine/Tle.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The element sets of a folder, by name. Reading a file only indexes it:
// each set's name, where its line 1 is, its catalogue number and epoch. A
// set is read in full, checked and its propagator prepared when it is first
// asked for, and then kept. Each name is held once.
namespace orbit {

// A file whose first line begins with this holds invented element sets (the
// demo station writes one): any other file's set of the same name is used
// before its own, whatever the epochs.
inline constexpr std::string_view demoElementsMarker = "# DEMO ELEMENTS";

// Where the set held under a name came from.
struct ElementSource
{
    std::string file; // path of the element file; "" for sets given as text
    std::string name; // the name line, as looked up
    int catalogNumber = 0;
    double epochJd = 0; // Julian date, UTC
    bool demo = false;  // from a file marked as demo data
};

// A set as it is used: read, checked, its propagator prepared (or why not).
struct LoadedElementSet
{
    std::optional<ElementSet> elements; // empty when the set could not be read
    Sgp4 propagator;
    Status status;
};

// What reading the folder cost: figures the engine keeps of itself.
struct CatalogueCost
{
    std::uint64_t bytesRead = 0;
    std::size_t names = 0;           // index entries
    std::size_t setsLoaded = 0;      // read in full so far
    std::size_t peakReaderBytes = 0; // most memory the file reading held at once (block and lines)
};

class ElementCatalogue
{
public:
    // One file may add no more names than this; the rest of it is not read.
    static constexpr std::size_t defaultMaxNamesPerFile = 100000;
    static constexpr std::size_t blockSize = std::size_t{64} * 1024;

    void clear();
    // Indexes the sets of one element file, block by block. Sets it cannot
    // locate (bad checksum, unreadable epoch) are skipped with a reason.
    void readFile(const std::string &path);
    // Sets of a text (tests, tools): read in full at once.
    void addText(std::string_view text);

    // The set of a name line (looked up trimmed, blanks folded), loaded on
    // first use; nullptr when no set has that name.
    // (Not const itself: the propagator keeps state between steps.)
    LoadedElementSet *find(const std::string &name) const;
    std::optional<ElementSource> source(const std::string &name) const;
    std::vector<std::string> names() const;

    const std::vector<std::string> &skipped() const { return skipped_; }
    const CatalogueCost &cost() const { return cost_; }
    void setMaxNamesPerFile(std::size_t count) { maxNamesPerFile_ = count; }

private:
    static constexpr std::uint32_t noFile = 0xffffffffu;
    struct File
    {
        std::string path;
        std::string shownName; // file name, for reasons
        bool demo = false;
    };
    struct Entry
    {
        std::uint32_t file = noFile;
        std::uint32_t fingerprint = 0; // of the two lines, to see the file has not changed
        std::uint64_t line1Offset = 0;
        std::uint64_t line1Number = 0;
        double epochJd = 0;
        int catalogNumber = 0;
        bool demo = false;
        mutable std::unique_ptr<LoadedElementSet> loaded;
    };
    // Whether a set read now takes the place of the one held under its name.
    static bool replaces(bool demo, double epochJd, const Entry &held);
    void load(const std::string &name, const Entry &entry) const;

    std::vector<File> files_;
    std::unordered_map<std::string, Entry> entries_; // by normalised name
    std::vector<std::string> skipped_;
    mutable CatalogueCost cost_;
    std::size_t maxNamesPerFile_ = defaultMaxNamesPerFile;
};

} // namespace orbit
