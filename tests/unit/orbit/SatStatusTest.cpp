// SPDX-License-Identifier: GPL-2.0-or-later
// The status panel's content and the Keps folder scan, without a window.
#include "orbit/SatStatus.h"
#include "orbit/KepsFolder.h"
#include "orbit/clsSats.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

#include <sys/stat.h>

using orvex::Clock;

namespace {

class SatStatusTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(keps.isValid());
        QFile::copy(QStringLiteral(ORVEX_SOURCE_DIR "/tests/data/orbit/station.txt"),
                    keps.filePath("station.txt"));
        ASSERT_TRUE(sats.setStrKeplerPath(keps.path()));
        ASSERT_TRUE(sats.setDblObsLat(38.9833));
        ASSERT_TRUE(sats.setDblObsLong(-76.4833));
    }
    void TearDown() override { Clock::setSource({}); }
    static void at(int hour, int minute)
    {
        Clock::setFixed(QDateTime(QDate(2026, 12, 8), QTime(hour, minute), QTimeZone::utc()));
    }

    QTemporaryDir keps;
    clsSats sats;
};

} // namespace

TEST_F(SatStatusTest, InViewShowsWholeDegreesAndRefreshesEveryFiveSeconds)
{
    at(9, 30);
    const SatStatus status = computeSatStatus(sats, "ISS (ZARYA)", true, 10);
    EXPECT_TRUE(status.inView);
    EXPECT_EQ(status.azimuthText, "154");
    EXPECT_EQ(status.elevationText, "30");
    EXPECT_EQ(status.dueText, "Now!");
    EXPECT_EQ(status.latitudeText, "33.55.24N");
    EXPECT_EQ(status.longitudeText, "073.32.41W");
    EXPECT_EQ(status.refreshPeriod, 5);
}

TEST_F(SatStatusTest, OutOfViewShowsDashesAndTheNextPass)
{
    at(8, 0);
    const SatStatus status = computeSatStatus(sats, "ISS (ZARYA)", true, 5);
    EXPECT_FALSE(status.inView);
    EXPECT_EQ(status.azimuthText, "-");
    EXPECT_EQ(status.elevationText, "-");
    EXPECT_EQ(status.dueText, "09:25:18");
    EXPECT_EQ(status.refreshPeriod, 10);
}

TEST_F(SatStatusTest, WithoutALocationOnlyThePositionIsGiven)
{
    at(9, 30);
    const SatStatus status = computeSatStatus(sats, "ISS (ZARYA)", false, 5);
    EXPECT_FALSE(status.locationKnown);
    EXPECT_FALSE(status.inView);
    EXPECT_EQ(status.latitudeText, "33.55.24N");
    EXPECT_EQ(status.azimuthText, "-");
    EXPECT_EQ(status.dueText, "-");
    EXPECT_EQ(status.refreshPeriod, 5); // kept as it was
}

TEST_F(SatStatusTest, WithoutElementsNoPositionIsMadeUpAndTheReasonIsGiven)
{
    at(9, 30);
    const SatStatus status = computeSatStatus(sats, "ORVEX", true, 10);
    EXPECT_FALSE(status.positionKnown);
    EXPECT_EQ(status.latitudeText, "");
    EXPECT_EQ(status.longitudeText, "");
    EXPECT_EQ(status.azimuthText, "");
    EXPECT_EQ(status.dueText, "");
    EXPECT_TRUE(status.problem.startsWith("No position of ORVEX: "))
        << status.problem.toStdString();
}

namespace {

SatTable defaultSats()
{
    SatTable table;
    table[0].objectNumber = "26931";
    table[1].objectNumber = "25544";
    return table;
}

void writeFile(const QString &path, const QByteArray &text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

} // namespace

TEST(KepsFolder, EveryFileOfTheFolderIsScannedInNameOrder)
{
    QTemporaryDir folder;
    QFile station(QStringLiteral(ORVEX_SOURCE_DIR "/tests/data/orbit/station.txt"));
    ASSERT_TRUE(station.open(QIODevice::ReadOnly));
    const QByteArray text = station.readAll();
    // The ISS is in the first file, ORVEX only in the second.
    writeFile(folder.filePath("a.txt"), text.left(text.indexOf("ORVEX-1")));
    writeFile(folder.filePath("b.txt"), text);
    SatTable sats = defaultSats();
    sats[0].elementSetFound = true; // cleared first
    sats[1].elementSetFound = true;
    FindKeps(folder.path() + "/nothing-here", sats);
    EXPECT_FALSE(sats[0].elementSetFound);
    EXPECT_FALSE(sats[1].elementSetFound);

    FindKeps(folder.path(), sats);
    EXPECT_TRUE(sats[0].elementSetFound);
    EXPECT_EQ(sats[0].name, "ORVEX-1");
    EXPECT_TRUE(sats[1].elementSetFound);
    EXPECT_EQ(sats[1].name, "ISS (ZARYA)");
}

TEST(KepsFolder, OnlyRegularFilesAreRead)
{
    QTemporaryDir folder;
    const QString fifo = folder.filePath("pipe.txt");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    SatTable sats = defaultSats();
    // Opening the FIFO would wait for a writer for ever.
    ScanKepsFile(fifo, sats);
    FindKeps(folder.path(), sats);
    EXPECT_FALSE(sats[0].elementSetFound);
}
