// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbitengine/ElementLines.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace orbit {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool blankLine(std::string_view line)
{
    for (char c : line)
        if (!isBlank(c))
            return false;
    return true;
}

} // namespace

void ElementLineReader::feed(std::string_view piece)
{
    while (!piece.empty()) {
        // The LF of a CR LF, perhaps at the start of the next piece.
        if (afterCr_) {
            afterCr_ = false;
            if (piece.front() == '\n') {
                ++bytes_;
                piece.remove_prefix(1);
                continue;
            }
        }
        const void *lf = std::memchr(piece.data(), '\n', piece.size());
        const size_t toLf =
            lf ? static_cast<size_t>(static_cast<const char *>(lf) - piece.data()) : piece.size();
        const void *cr = std::memchr(piece.data(), '\r', toLf);
        const size_t length =
            cr ? static_cast<size_t>(static_cast<const char *>(cr) - piece.data()) : toLf;
        if (currentLength_ == 0)
            current_.offset = bytes_;
        const size_t room = maxKeptLineLength - current_.text.size();
        current_.text.append(piece.data(), std::min(length, room));
        currentLength_ += length;
        bytes_ += length;
        if (!lf && !cr)
            return;
        ++bytes_;
        afterCr_ = cr != nullptr;
        endLine();
        piece.remove_prefix(length + 1);
        // Runs of empty lines after empty lines change nothing but the counts.
        if (!afterCr_ && lines_ > 1 && older_.text.empty() && previous_.text.empty()) {
            const size_t empty = std::min(piece.find_first_not_of('\n'), piece.size());
            lines_ += empty;
            bytes_ += empty;
            piece.remove_prefix(empty);
        }
    }
}

void ElementLineReader::finish()
{
    if (currentLength_ > 0)
        endLine();
}

std::size_t ElementLineReader::heldBytes() const
{
    return older_.text.capacity() + previous_.text.capacity() + current_.text.capacity() +
           first_.capacity();
}

bool ElementLineReader::begins(const Line &line, char digit) const
{
    return line.text.size() >= 2 && line.text[0] == digit && line.text[1] == ' ';
}

void ElementLineReader::endLine()
{
    current_.consumed = false;
    ++lines_;
    if (lines_ == 1)
        first_ = current_.text.substr(0, 256);
    if (begins(previous_, '1') && !previous_.consumed && begins(current_, '2')) {
        ElementLines set;
        if (!older_.consumed && lines_ >= 3 && !blankLine(older_.text))
            set.name = older_.text;
        set.line1 = previous_.text;
        set.line2 = current_.text;
        set.line1Offset = previous_.offset;
        set.line1Number = lines_ - 1;
        previous_.consumed = true;
        current_.consumed = true;
        onSet_(set);
    }
    // The oldest line's buffer is reused for the next one.
    std::swap(older_, previous_);
    std::swap(previous_, current_);
    current_.text.clear();
    current_.consumed = false;
    currentLength_ = 0;
}

} // namespace orbit
