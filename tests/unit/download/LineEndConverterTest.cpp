// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/LineEndConverter.h"

#include <gtest/gtest.h>

namespace {

// Converts `text` cut into blocks at the given offsets.
QByteArray convertCutAt(const QByteArray &text, const QList<qsizetype> &cuts)
{
    LineEndConverter converter;
    QByteArray out;
    qsizetype from = 0;
    for (qsizetype cut : cuts) {
        out += converter.convertBlock(text.mid(from, cut - from));
        from = cut;
    }
    out += converter.convertBlock(text.mid(from));
    return out;
}

} // namespace

TEST(LineEndConversion, EveryKindOfLineEndBecomesCrLf)
{
    EXPECT_EQ(LineEndConverter::convert("a\r\nb\r\n"), QByteArray("a\r\nb\r\n"));
    EXPECT_EQ(LineEndConverter::convert("a\nb\n"), QByteArray("a\r\nb\r\n"));
    EXPECT_EQ(LineEndConverter::convert("a\rb\r"), QByteArray("a\r\nb\r\n"));
    EXPECT_EQ(LineEndConverter::convert("a\n\rb"), QByteArray("a\r\n\r\nb"))
        << "LF CR is two line ends";
    EXPECT_EQ(LineEndConverter::convert("a\r\r\nb"), QByteArray("a\r\n\r\nb"));
    EXPECT_EQ(LineEndConverter::convert("no line end"), QByteArray("no line end"));
    EXPECT_EQ(LineEndConverter::convert(""), QByteArray());
}

TEST(LineEndConversion, CrLfSplitBetweenBlocksIsOneLineEnd)
{
    QByteArray text(8191, 'x');
    text += "\r\nnext line\r\n";
    ASSERT_EQ(text[8191], '\r');
    ASSERT_EQ(text[8192], '\n');
    const QByteArray out = LineEndConverter::convert(text);
    EXPECT_EQ(out, text);
    EXPECT_EQ(out.count("\r\n"), 2);
}

TEST(LineEndConversion, SameResultWhereverTheBlocksAreCut)
{
    const QByteArray text = "1 a\r\n2 b\n3 c\r4 d\r\n\r\n5 e\n\n6\r\r7\r\n";
    const QByteArray whole = LineEndConverter::convert(text, text.size());
    EXPECT_EQ(whole, QByteArray("1 a\r\n2 b\r\n3 c\r\n4 d\r\n\r\n5 e\r\n\r\n6\r\n\r\n7\r\n"));
    for (qsizetype cut = 0; cut <= text.size(); ++cut)
        EXPECT_EQ(convertCutAt(text, {cut}), whole) << "cut at " << cut;
    for (qsizetype first = 0; first <= text.size(); ++first)
        for (qsizetype second = first; second <= text.size(); ++second)
            ASSERT_EQ(convertCutAt(text, {first, second}), whole)
                << "cuts at " << first << ", " << second;
    for (qsizetype size = 1; size <= text.size(); ++size)
        EXPECT_EQ(LineEndConverter::convert(text, size), whole) << "blocks of " << size;
}

TEST(LineEndConversion, AnLfBlockAfterACrBlockAddsNothing)
{
    LineEndConverter converter;
    EXPECT_EQ(converter.convertBlock("abc\r"), QByteArray("abc\r\n"));
    EXPECT_EQ(converter.convertBlock("\n"), QByteArray());
    EXPECT_EQ(converter.convertBlock("\n"), QByteArray("\r\n")) << "only the LF right after the CR";
}

TEST(LineEndConversion, BytesOtherThanLineEndsPassUnchanged)
{
    QByteArray all;
    for (int c = 0; c < 256; ++c) {
        if (c != '\r' && c != '\n')
            all += static_cast<char>(c);
    }
    EXPECT_EQ(LineEndConverter::convert(all, 7), all);
}
