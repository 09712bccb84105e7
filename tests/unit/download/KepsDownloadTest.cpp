// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/KepsDownload.h"

#include <gtest/gtest.h>

TEST(KepsDownloadRun, StartsWithTheFirstAddressThatNamesAFile)
{
    KepsDownload run;
    ASSERT_TRUE(run.start(" celestrak.org/NORAD/elements/amateur.txt ", "host/dir/"));
    EXPECT_EQ(run.currentIndex(), 0);
    EXPECT_EQ(run.address(0), "http://celestrak.org/NORAD/elements/amateur.txt");
    EXPECT_EQ(run.fileName(0), "amateur.txt");
    EXPECT_EQ(run.fileName(1), "");
    EXPECT_FALSE(run.moveToNextFile()) << "the second address names no file";

    ASSERT_TRUE(run.start("", "https://host/b.txt"));
    EXPECT_EQ(run.currentIndex(), 1);
    EXPECT_EQ(run.address(1), "https://host/b.txt");
    EXPECT_FALSE(run.moveToNextFile());
}

TEST(KepsDownloadRun, BothBlankIsRefused)
{
    KepsDownload run;
    EXPECT_FALSE(run.start("", "   "));
    EXPECT_FALSE(run.start("host/", "host/.."));
}

TEST(KepsDownloadRun, SecondFileFollowsTheFirst)
{
    KepsDownload run;
    ASSERT_TRUE(run.start("a/one.txt", "b/two.txt"));
    EXPECT_TRUE(run.moveToNextFile());
    EXPECT_EQ(run.currentIndex(), 1);
    EXPECT_FALSE(run.moveToNextFile());
}

TEST(KepsDownloadRun, FinishedMessageListsTheErrors)
{
    KepsDownload run;
    ASSERT_TRUE(run.start("a/one.txt", "b/two.txt"));
    EXPECT_EQ(run.finishedMessage(), "The Keps have been downloaded.");
    run.setError(1, "two.txt is too short to be an element file");
    EXPECT_EQ(run.finishedMessage(),
              "The Keps have been downloaded.\r\nThe following errors occurred - "
              "\r\nFile 2 - two.txt is too short to be an element file");
    run.setError(0, "Not Found 404");
    EXPECT_EQ(run.finishedMessage(),
              "The Keps have been downloaded.\r\nThe following errors occurred - "
              "\r\nFile 1 - Not Found 404"
              "\r\nFile 2 - two.txt is too short to be an element file");
    run.setNotice(0, "The new one.txt lacks ISS (ZARYA) (25544), which the old file held.");
    EXPECT_EQ(run.finishedMessage(),
              "The Keps have been downloaded."
              "\r\nFile 1 - The new one.txt lacks ISS (ZARYA) (25544), which the old file held."
              "\r\nThe following errors occurred - "
              "\r\nFile 1 - Not Found 404"
              "\r\nFile 2 - two.txt is too short to be an element file");
    ASSERT_TRUE(run.start("a/one.txt", ""));
    EXPECT_EQ(run.finishedMessage(), "The Keps have been downloaded.")
        << "a new run forgets old errors and notices";
}

TEST(KepsDownloadStatus, LinesForTheTransferStates)
{
    EXPECT_EQ(KepsDownload::statusLine(1, "h"), "Resolving host");
    EXPECT_EQ(KepsDownload::statusLine(3, "celestrak.org"),
              "Attempting to connect to - celestrak.org");
    EXPECT_EQ(KepsDownload::statusLine(8, "h"), "Received some data");
    for (int silent : {5, 7, 11, 12, 13, -1})
        EXPECT_EQ(KepsDownload::statusLine(silent, "h"), "") << silent;
}

TEST(KepsDownloadStatus, BoxKeepsItsLast10000Characters)
{
    QString box = KepsDownload::withStatusLine("", "Getting amateur.txt");
    EXPECT_EQ(box, "Getting amateur.txt\r\n");
    const QString full(10001, 'x');
    box = KepsDownload::withStatusLine(full + "y", "next");
    EXPECT_EQ(box, QString(9999, 'x') + "y" + "next\r\n");
    EXPECT_EQ(KepsDownload::withStatusLine(QString(10000, 'x'), "n").size(), 10003);
}
