// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Finds element sets in the three-line form (name, line 1, line 2) in a text
// that arrives in pieces of any size, so that a file of any size is read in
// the memory of a few lines.
namespace orbit {

// One set as it stands in the text; the views last until the handler returns.
struct ElementLines
{
    std::string_view name;     // the line before line 1, "" when blank or part of another set
    std::string_view line1;    // without its line end
    std::string_view line2;    // without its line end
    std::uint64_t line1Offset; // bytes from the start of the text to line 1
    std::uint64_t line1Number; // 1-based
};

// Lines end at LF, CR LF or CR alone, as files from any system have them.
// Line 1 begins "1 ", line 2 right after it "2 "; a line taken as line 2 is
// never line 1 or name of the next set. Lines longer than maxKeptLineLength
// keep only their start: no element set line comes near it.
class ElementLineReader
{
public:
    static constexpr std::size_t maxKeptLineLength = 4096;
    using SetHandler = std::function<void(const ElementLines &)>;

    explicit ElementLineReader(SetHandler onSet) : onSet_(std::move(onSet)) {}

    void feed(std::string_view piece);
    // The text has ended: its last line, if it had no line end, is looked at.
    void finish();

    std::uint64_t bytesRead() const { return bytes_; }
    std::uint64_t linesRead() const { return lines_; }
    // The text's first line (its start, without the line end), once it is complete.
    const std::string &firstLine() const { return first_; }
    // Memory the reader holds for lines: what a huge line or file costs it.
    std::size_t heldBytes() const;

private:
    struct Line
    {
        std::string text;
        std::uint64_t offset = 0;
        bool consumed = false; // part of a set already
    };
    void endLine();
    bool begins(const Line &line, char digit) const;

    SetHandler onSet_;
    Line older_, previous_, current_;
    std::uint64_t currentLength_ = 0; // of the current line, beyond what is kept too
    bool afterCr_ = false;            // the last line ended at a CR: an LF next is part of it
    std::uint64_t bytes_ = 0;
    std::uint64_t lines_ = 0;
    std::string first_;
};

} // namespace orbit
