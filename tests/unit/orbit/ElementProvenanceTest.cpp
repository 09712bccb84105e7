// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/ElementProvenance.h"
#include "orbit/clsSats.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

orvex::Date utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return orvex::utcToDate(QDateTime(QDate(y, mo, d), QTime(h, mi, s), QTimeZone::utc()));
}

ElementProvenance iss()
{
    return {QStringLiteral("/opt/orvex/Keps/amateur.txt"), QStringLiteral("ISS (ZARYA)"), 25544,
            utc(2026, 12, 7, 18, 33, 10), false};
}

} // namespace

TEST(ElementProvenance, TextNamesSetEpochAgeAndFileBelowTheProgramFolder)
{
    const orvex::Date now = utc(2026, 12, 9, 8, 57);
    EXPECT_EQ(describeElementSet(iss(), now, QStringLiteral("/opt/orvex")),
              "ISS (ZARYA), 25544, epoch 2026-12-07 18:33 UTC, 1.6 days old, Keps/amateur.txt");
    ElementProvenance demo = iss();
    demo.file = QStringLiteral("/opt/orvex/Keps/demo.txt");
    demo.demo = true;
    demo.epoch = utc(2026, 12, 9, 12, 0);
    EXPECT_EQ(describeElementSet(demo, now, QStringLiteral("/opt/orvex/")),
              "ISS (ZARYA), 25544, epoch 2026-12-09 12:00 UTC, 0.1 days in the future, "
              "Keps/demo.txt (demo data)");
}

TEST(ElementProvenance, OlderThanSevenDaysWarnsAndOlderThanThirtyMayBeFarOff)
{
    EXPECT_EQ(classifyElementAge(7.0), ElementAge::Fresh);
    EXPECT_EQ(classifyElementAge(7.01), ElementAge::Old);
    EXPECT_EQ(classifyElementAge(30.0), ElementAge::Old);
    EXPECT_EQ(classifyElementAge(30.01), ElementAge::Stale);

    const QString folder = QStringLiteral("/opt/orvex");
    const ElementNote fresh = elementNote(iss(), {}, iss().epoch + 2, folder);
    EXPECT_FALSE(fresh.warning);
    EXPECT_FALSE(fresh.text.contains('\n'));
    const ElementNote old = elementNote(iss(), {}, iss().epoch + 8, folder);
    EXPECT_TRUE(old.warning);
    EXPECT_TRUE(
        old.text.endsWith("\nThe element set is more than 7 days old: download fresh Keps."));
    const ElementNote stale = elementNote(iss(), {}, iss().epoch + 31, folder);
    EXPECT_TRUE(stale.text.endsWith("more than 30 days old: predictions may be far off."));
    const ElementNote refused =
        elementNote(iss(), QStringLiteral("inclination 190 is outside 0 to 180 degrees"),
                    iss().epoch + 1, folder);
    EXPECT_TRUE(refused.warning);
    EXPECT_TRUE(refused.text.endsWith("\nNot used: inclination 190 is outside 0 to 180 degrees"));
}

TEST(ElementProvenance, DownloadTextSaysWhatWasInstalledAndWhichSetsChanged)
{
    ElementProvenance demo = iss();
    demo.file = QStringLiteral("/opt/orvex/Keps/demo.txt");
    demo.demo = true;
    demo.epoch = utc(2026, 12, 9);
    const std::vector<ElementSetChange> changes = {
        {QStringLiteral("ORVEX"), iss(), iss()},
        {QStringLiteral("ISS"), demo, iss()},
    };
    EXPECT_EQ(elementChangeText({QStringLiteral("amateur.txt")}, changes, utc(2026, 12, 9, 8, 57),
                                QStringLiteral("/opt/orvex")),
              "Installed: amateur.txt.\r\n"
              "ORVEX: unchanged, ISS (ZARYA), 25544, epoch 2026-12-07 18:33 UTC, 1.6 days old, "
              "Keps/amateur.txt.\r\n"
              "ISS: now ISS (ZARYA), 25544, epoch 2026-12-07 18:33 UTC, 1.6 days old, "
              "Keps/amateur.txt (was epoch 2026-12-09 00:00 UTC, Keps/demo.txt (demo data)).");
}

TEST(ElementProvenance, ClsSatsTellsTheSetInUseAndWhyItCannotBeUsed)
{
    QTemporaryDir program;
    ASSERT_TRUE(QDir(program.path()).mkdir("Keps"));
    QFile::copy(QStringLiteral(ORVEX_SOURCE_DIR "/tests/data/orbit/station.txt"),
                program.filePath("Keps/station.txt"));
    clsSats sats;
    ASSERT_TRUE(sats.setStrKeplerPath(program.filePath("Keps")));
    const auto set = sats.elementProvenance(QStringLiteral("ISS   (ZARYA)"));
    ASSERT_TRUE(set);
    EXPECT_EQ(describeElementSet(*set, utc(2026, 12, 8), program.path()),
              "ISS (ZARYA), 25544, epoch 2026-12-06 12:26 UTC, 1.5 days old, Keps/station.txt");
    EXPECT_EQ(sats.elementProblem(QStringLiteral("ISS (ZARYA)")), "");
    EXPECT_FALSE(sats.elementProvenance(QStringLiteral("NOBODY")));
    EXPECT_EQ(sats.elementProblem(QStringLiteral("NOBODY")), "no element set named \"NOBODY\"");
}
