// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/MonitorText.h"

#include <gtest/gtest.h>

namespace {

orvex::Date at(int h, int m, int s)
{
    return orvex::utcToDate(QDateTime(QDate(2026, 12, 8), QTime(h, m, s), Qt::UTC));
}

// What the two engines write for the same frame.
const QString agwpeHeader =
    QStringLiteral(" 1:Fm Q9ZZZ-3 To APRS Via ORVEX-1 <UI pid=F0 Len=16 >[14:07:41]");
const QString direWolfHeader =
    QStringLiteral(" 1:Fm Q9ZZZ-3 To APRS Via ORVEX-1,WIDE2-1 <UI pid=F0 Len=16 PF=0 >[14:07:41]");

} // namespace

TEST(FormatMonitorHeader, LongFormOfBothEngines)
{
    EXPECT_EQ(monitor::FormatMonitorHeader(agwpeHeader, monitor::UiFrame, false, at(9, 5, 3)),
              "09:05:03R Q9ZZZ-3>APRS,ORVEX-1 Port=1 <UI Len=16>:");
    EXPECT_EQ(monitor::FormatMonitorHeader(direWolfHeader, monitor::UiFrame, false, at(9, 5, 3)),
              "09:05:03R Q9ZZZ-3>APRS,ORVEX-1,WIDE2-1 Port=1 <UI Len=16 PF=0>:");
}

TEST(FormatMonitorHeader, TransmittedFramesAndShortForm)
{
    EXPECT_EQ(monitor::FormatMonitorHeader(" 2:Fm Q9ZZZ To APZ36Q <UI pid=F0 Len=5 >",
                                           monitor::Transmitted, false, at(23, 59, 59)),
              "23:59:59T Q9ZZZ>APZ36Q Port=2 <UI Len=5>:");
    EXPECT_EQ(monitor::FormatMonitorHeader(agwpeHeader, monitor::UiFrame, true, at(0, 0, 7)),
              "00:00:07 Q9ZZZ-3>APRS,ORVEX-1:");
}

TEST(FormatMonitorHeader, HeadersItCannotReadGiveNothing)
{
    for (const char *header :
         {"", "no colon here", " 1:To APRS <UI>", " 1:Fm X", " 1:Fm Q9ZZZ To APRS",
          " 1:To APRS Fm Q9ZZZ <UI>", " 1:FmTo<>", " 1:Fm Q To X <UI pid=F0"})
        EXPECT_EQ(monitor::FormatMonitorHeader(QString::fromLatin1(header), 2, false, at(1, 2, 3)),
                  "")
            << header;
}

TEST(FormatMonitorHeader, ShortFormNeedsNoClosingBracket)
{
    EXPECT_EQ(monitor::FormatMonitorHeader(" 1:Fm A To B <UI pid=F0", 2, true, at(1, 2, 3)),
              "01:02:03 A>B:");
}

TEST(MonitoredFrame, HeaderRewrittenTextKeptAndFramesWithoutCrUnchanged)
{
    const QByteArray frame =
        (agwpeHeader + "\rHK,1,2,3,4,5,6,0011,9\r\r").toLatin1() + QByteArray(1, '\0');
    EXPECT_EQ(
        monitor::rewriteMonitoredFrame(frame, 2, at(1, 2, 3)),
        QString("01:02:03R Q9ZZZ-3>APRS,ORVEX-1 Port=1 <UI Len=16>:\rHK,1,2,3,4,5,6,0011,9\r\r") +
            QChar(0));
    EXPECT_EQ(monitor::rewriteMonitoredFrame("just text", 2, at(1, 2, 3)), "just text");
    // An unreadable header leaves only the frame's own text.
    EXPECT_EQ(monitor::rewriteMonitoredFrame("garbage\rtext", 2, at(1, 2, 3)), "\rtext");
}

TEST(MonitoredFrame, FrameLinesNormaliseEveryLineEnd)
{
    const QStringList lines = monitor::frameLines("head\r\nfirst\nsecond\rthird");
    EXPECT_EQ(lines, QStringList({"head", "first", "second", "third"}));
}

TEST(MonitorLines, TrimmedNonEmptyLinesEachEndWithCrLf)
{
    EXPECT_EQ(monitor::joinMonitorLines("  a  \r\n\r\n b\n\rc\r"), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(monitor::joinMonitorLines(QString("text\r") + QChar(0)), "text\r\n")
        << "the zero byte that ends AGWPE's data is no line";
    EXPECT_EQ(monitor::joinMonitorLines(""), "");
}
