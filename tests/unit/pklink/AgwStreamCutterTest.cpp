// SPDX-License-Identifier: GPL-2.0-or-later
#include "pklink/AgwStreamCutter.h"

#include <gtest/gtest.h>

#include <string>

using namespace agw;

namespace {

Bytes frameBytes(char kind, const std::string &data)
{
    return buildFrame(kind, 0, {}, {}, reinterpret_cast<const std::uint8_t *>(data.data()),
                      data.size());
}

Bytes headerAnnouncing(std::int32_t length)
{
    Bytes h(HeaderSize, 0);
    h[4] = 'U';
    const auto v = static_cast<std::uint32_t>(length);
    for (int i = 0; i < 4; ++i)
        h[28 + i] = static_cast<std::uint8_t>(v >> (8 * i));
    return h;
}

// Feeds `stream` in pieces of the given sizes (the rest in one) and returns
// the kinds and data of the frames cut, in order, as "K:data" strings.
std::vector<std::string> cut(const Bytes &stream, const std::vector<std::size_t> &pieces)
{
    AgwStreamCutter cutter;
    std::vector<std::string> out;
    std::size_t at = 0;
    auto drain = [&] {
        Bytes header, data;
        while (cutter.next(header, data) == AgwStreamCutter::Result::Frame)
            out.push_back(std::string(1, static_cast<char>(header[4])) + ":" +
                          std::string(data.begin(), data.end()));
    };
    for (std::size_t n : pieces) {
        cutter.append(stream.data() + at, n);
        at += n;
        drain();
    }
    cutter.append(stream.data() + at, stream.size() - at);
    drain();
    return out;
}

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes &p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

} // namespace

TEST(AgwStreamCutting, EveryByteAlone)
{
    const Bytes stream = concat({frameBytes('U', "ab"), frameBytes('G', ""), frameBytes('X', "c")});
    EXPECT_EQ(cut(stream, std::vector<std::size_t>(stream.size(), 1)),
              (std::vector<std::string>{"U:ab", "G:", "X:c"}));
}

TEST(AgwStreamCutting, LengthsOutsideZeroTo8192AreRefused)
{
    for (std::int32_t bad : {-1, -2147483647 - 1, 8193, 2147483647}) {
        AgwStreamCutter cutter;
        const Bytes h = headerAnnouncing(bad);
        cutter.append(h.data(), h.size());
        Bytes header, data;
        EXPECT_EQ(cutter.next(header, data), AgwStreamCutter::Result::BadLength) << bad;
        EXPECT_EQ(cutter.badLength(), bad);
        // Stays refused: what follows cannot be trusted.
        const Bytes good = frameBytes('U', "x");
        cutter.append(good.data(), good.size());
        EXPECT_EQ(cutter.next(header, data), AgwStreamCutter::Result::BadLength);
    }
}

TEST(AgwStreamCutting, LengthOf8192IsAccepted)
{
    const Bytes stream = frameBytes('U', std::string(8192, 'z'));
    AgwStreamCutter cutter;
    cutter.append(stream.data(), stream.size());
    Bytes header, data;
    ASSERT_EQ(cutter.next(header, data), AgwStreamCutter::Result::Frame);
    EXPECT_EQ(data.size(), 8192u);
}

TEST(AgwStreamCutting, ResetStartsAfreshWithAHeader)
{
    const Bytes stream = frameBytes('U', "abcdef");
    AgwStreamCutter cutter;
    Bytes header, data;
    cutter.append(stream.data(), 40); // header and part of the data
    EXPECT_EQ(cutter.next(header, data), AgwStreamCutter::Result::NeedMore);
    cutter.reset();
    EXPECT_EQ(cutter.buffered(), 0u);
    cutter.append(stream.data(), stream.size());
    ASSERT_EQ(cutter.next(header, data), AgwStreamCutter::Result::Frame);
    EXPECT_EQ(std::string(data.begin(), data.end()), "abcdef");
}
