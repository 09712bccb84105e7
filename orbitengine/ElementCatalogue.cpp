// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbitengine/ElementCatalogue.h"

#include "orbitengine/ElementChecks.h"
#include "orbitengine/ElementLines.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace orbit {
namespace {

// FNV-1a of both lines.
std::uint32_t fingerprintOf(std::string_view line1, std::string_view line2)
{
    std::uint32_t hash = 2166136261u;
    for (std::string_view part : {line1, std::string_view("\n"), line2})
        for (char c : part) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 16777619u;
        }
    return hash;
}

bool isDemoMarked(std::string_view firstLine)
{
    return firstLine.substr(0, demoElementsMarker.size()) == demoElementsMarker;
}

class FileHandle
{
public:
    explicit FileHandle(const std::string &path) : file_(std::fopen(path.c_str(), "rb")) {}
    ~FileHandle()
    {
        if (file_)
            std::fclose(file_);
    }
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;
    std::FILE *get() const { return file_; }

private:
    std::FILE *file_;
};

// The prepared set of a full parse: checked, its propagator initialised.
std::unique_ptr<LoadedElementSet> prepared(ElementSet elements)
{
    auto loaded = std::make_unique<LoadedElementSet>();
    loaded->status = checkOrbitElements(elements);
    if (loaded->status)
        loaded->status = loaded->propagator.init(elements);
    loaded->elements = std::move(elements);
    return loaded;
}

} // namespace

void ElementCatalogue::clear()
{
    files_.clear();
    entries_.clear();
    skipped_.clear();
    cost_ = {};
}

bool ElementCatalogue::replaces(bool demo, double epochJd, const Entry &held)
{
    if (demo != held.demo)
        return held.demo;           // a real set always before an invented one
    return epochJd >= held.epochJd; // the later epoch; of equal ones the last read
}

void ElementCatalogue::readFile(const std::string &path)
{
    const std::string shownName = std::filesystem::path(path).filename().string();
    FileHandle handle(path);
    if (!handle.get()) {
        skipped_.push_back(shownName + ": cannot be read");
        return;
    }
    const auto fileIndex = static_cast<std::uint32_t>(files_.size());
    files_.push_back({path, shownName, false});
    std::size_t namesAdded = 0;
    bool full = false;
    ElementLineReader reader([&](const ElementLines &lines) {
        if (full)
            return;
        const ElementHeadResult head = readElementHead(lines.line1, lines.line2);
        if (!head.head) {
            skipped_.push_back(shownName + " " + setFailureReason(lines.line1Number, head.error));
            return;
        }
        files_[fileIndex].demo = isDemoMarked(reader.firstLine());
        std::string name = normaliseName(lines.name);
        if (name.empty())
            return; // a set is looked up by its name line
        const bool demo = files_[fileIndex].demo;
        const double epochJd = head.head->epochJd();
        auto found = entries_.find(name);
        if (found == entries_.end()) {
            if (namesAdded == maxNamesPerFile_) {
                full = true;
                skipped_.push_back(shownName + " line " + std::to_string(lines.line1Number) +
                                   ": more than " + std::to_string(maxNamesPerFile_) +
                                   " names in one file; the rest of the file is not read");
                return;
            }
            ++namesAdded;
            found = entries_.emplace(std::move(name), Entry{}).first;
        } else if (!replaces(demo, epochJd, found->second)) {
            return;
        }
        Entry &entry = found->second;
        entry.file = fileIndex;
        entry.fingerprint = fingerprintOf(lines.line1, lines.line2);
        entry.line1Offset = lines.line1Offset;
        entry.line1Number = lines.line1Number;
        entry.epochJd = epochJd;
        entry.catalogNumber = head.head->catalogNumber;
        entry.demo = demo;
        entry.loaded.reset();
    });
    std::vector<char> block(blockSize);
    while (!full) {
        const size_t got = std::fread(block.data(), 1, block.size(), handle.get());
        if (got == 0)
            break;
        reader.feed(std::string_view(block.data(), got));
        cost_.peakReaderBytes =
            std::max(cost_.peakReaderBytes, block.capacity() + reader.heldBytes());
    }
    if (!full)
        reader.finish();
    cost_.bytesRead += reader.bytesRead();
    cost_.names = entries_.size();
}

void ElementCatalogue::addText(std::string_view text)
{
    bool demo = false;
    ElementLineReader reader([&](const ElementLines &lines) {
        demo = isDemoMarked(reader.firstLine());
        ElementSetResult result = parseElementSet(lines.name, lines.line1, lines.line2);
        if (!result.set) {
            skipped_.push_back(setFailureReason(lines.line1Number, result.error));
            return;
        }
        if (result.set->name.empty())
            return;
        const double epochJd = result.set->epochJd();
        auto found = entries_.find(result.set->name);
        if (found != entries_.end() && !replaces(demo, epochJd, found->second))
            return;
        Entry &entry = entries_[result.set->name];
        entry = Entry{};
        entry.epochJd = epochJd;
        entry.catalogNumber = result.set->catalogNumber;
        entry.demo = demo;
        entry.loaded = prepared(std::move(*result.set));
        ++cost_.setsLoaded;
    });
    reader.feed(text);
    reader.finish();
    cost_.bytesRead += reader.bytesRead();
    cost_.names = entries_.size();
}

void ElementCatalogue::load(const std::string &name, const Entry &entry) const
{
    const File &file = files_[entry.file];
    const std::string where = file.shownName + " line " + std::to_string(entry.line1Number);
    auto failed = [&entry](std::string reason) {
        entry.loaded = std::make_unique<LoadedElementSet>();
        entry.loaded->status = {StatusCode::BadElements, std::move(reason)};
    };
    // The set is read again from its line 1, with the reader that found it,
    // so that it sees the very same lines.
    std::ifstream in(file.path, std::ios::binary);
    if (!in || !in.seekg(static_cast<std::streamoff>(entry.line1Offset)))
        return failed(file.shownName + ": cannot be read again");
    std::optional<ElementSetResult> result;
    bool same = false;
    ElementLineReader reader([&](const ElementLines &lines) {
        if (result || lines.line1Number != 1)
            return;
        same = fingerprintOf(lines.line1, lines.line2) == entry.fingerprint;
        result = parseElementSet(name, lines.line1, lines.line2);
    });
    char block[4096];
    while (!result && reader.linesRead() < 2) {
        in.read(block, sizeof block);
        const auto got = static_cast<size_t>(in.gcount());
        if (got == 0) {
            reader.finish();
            break;
        }
        reader.feed(std::string_view(block, got));
    }
    // Line 1 must stand where it stood, line 2 right after it.
    if (!result || !same)
        return failed(file.shownName + " has changed since it was read: read the Keps again");
    if (!result->set)
        return failed(file.shownName + " " + setFailureReason(entry.line1Number, result->error));
    entry.loaded = prepared(std::move(*result->set));
    Status &status = entry.loaded->status;
    if (!status)
        status = Status(status.code(), where + ": " + status.reason());
    ++cost_.setsLoaded;
}

LoadedElementSet *ElementCatalogue::find(const std::string &name) const
{
    const auto found = entries_.find(normaliseName(name));
    if (found == entries_.end())
        return nullptr;
    if (!found->second.loaded)
        load(found->first, found->second);
    return found->second.loaded.get();
}

std::optional<ElementSource> ElementCatalogue::source(const std::string &name) const
{
    const auto found = entries_.find(normaliseName(name));
    if (found == entries_.end())
        return std::nullopt;
    const Entry &entry = found->second;
    ElementSource out;
    if (entry.file != noFile)
        out.file = files_[entry.file].path;
    out.name = found->first;
    out.catalogNumber = entry.catalogNumber;
    out.epochJd = entry.epochJd;
    out.demo = entry.demo;
    return out;
}

std::vector<std::string> ElementCatalogue::names() const
{
    std::vector<std::string> out;
    out.reserve(entries_.size());
    for (const auto &[name, entry] : entries_)
        out.push_back(name);
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace orbit
