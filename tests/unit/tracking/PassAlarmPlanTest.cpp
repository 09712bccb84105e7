// SPDX-License-Identifier: GPL-2.0-or-later
#include "tracking/PassAlarmPlan.h"
#include "tracking/PassGeometry.h"

#include "StationPasses.h"

#include <gtest/gtest.h>

using namespace tracking;

namespace {
constexpr double second = 1.0 / 86400.0;

AlarmSettings alarmsOn()
{
    AlarmSettings settings;
    settings.enabled = true;
    settings.leadMinutes = 5;
    settings.minElevationDeg = 10;
    settings.aosCommand = QStringLiteral("rotor-start");
    settings.losCommand = QStringLiteral("rotor-park");
    settings.marginSeconds = 30;
    return settings;
}

std::vector<orbit::Pass> morningPasses()
{
    clsSats sats;
    StationPasses::load(sats);
    return passesFrom(sats, StationPasses::iss, StationPasses::at(7, 0), 3.0 / 24);
}
} // namespace

TEST(PassAlarmPlan, LowPassesRaiseNothingAndEachHighPassItsThreeEvents)
{
    const std::vector<orbit::Pass> passes = morningPasses();
    ASSERT_EQ(passes.size(), 2u);
    ASSERT_LT(passes[0].maxElevationDeg, 1.0);

    const std::vector<AlarmEvent> plan = planAlarms(passes, alarmsOn());
    ASSERT_EQ(plan.size(), 3u);
    const orbit::Pass &high = passes[1];
    EXPECT_EQ(plan[0].kind, AlarmKind::Warning);
    EXPECT_NEAR(plan[0].dueJd, high.aosJd - 300 * second, 1e-9);
    EXPECT_EQ(plan[1].kind, AlarmKind::AosCommand);
    EXPECT_NEAR(plan[1].dueJd, high.aosJd - 30 * second, 1e-9);
    EXPECT_EQ(plan[2].kind, AlarmKind::LosCommand);
    EXPECT_NEAR(plan[2].dueJd, high.losJd + 30 * second, 1e-9);

    AlarmSettings warningOnly = alarmsOn();
    warningOnly.aosCommand = QStringLiteral("  ");
    warningOnly.losCommand.clear();
    EXPECT_EQ(planAlarms(passes, warningOnly).size(), 1u);
    AlarmSettings off = alarmsOn();
    off.enabled = false;
    EXPECT_TRUE(planAlarms(passes, off).empty());
}

TEST(PassAlarmPlan, AnEventIsDueOnceAndNeverLongAfterItsTime)
{
    const std::vector<AlarmEvent> plan = planAlarms(morningPasses(), alarmsOn());
    const double aosCommand = plan[1].dueJd;
    // Looks half a second apart: the event comes in exactly one of them.
    EXPECT_TRUE(dueAlarms(plan, aosCommand - 1 * second, aosCommand - 0.5 * second).empty());
    const auto due = dueAlarms(plan, aosCommand - 0.5 * second, aosCommand);
    ASSERT_EQ(due.size(), 1u);
    EXPECT_EQ(due[0].kind, AlarmKind::AosCommand);
    EXPECT_TRUE(dueAlarms(plan, aosCommand, aosCommand + 0.5 * second).empty());
    // Woken from a long sleep: what is more than a minute late is dropped.
    EXPECT_TRUE(dueAlarms(plan, aosCommand - 3600 * second, aosCommand + 120 * second).empty());
}

TEST(PassAlarmPlan, AWarningWhoseTimeHasPassedIsLateUntilItsPassRises)
{
    AlarmSettings settings = alarmsOn();
    settings.leadMinutes = 45;
    const std::vector<AlarmEvent> plan = planAlarms(morningPasses(), settings);
    const orbit::Pass &pass = plan.at(0).pass;
    // Found 15 minutes before AOS, half an hour after the warning's time.
    const std::vector<AlarmEvent> late = lateWarnings(plan, pass.aosJd - 900 * second);
    ASSERT_EQ(late.size(), 1u);
    EXPECT_EQ(late[0].kind, AlarmKind::Warning);
    EXPECT_EQ(lateWarnings(plan, pass.aosJd - 10 * second).size(), 1u) << "not the AOS command";
    EXPECT_TRUE(lateWarnings(plan, pass.aosJd - 46 * 60 * second).empty()) << "not yet due";
    EXPECT_TRUE(lateWarnings(plan, pass.aosJd + second).empty()) << "risen";
}

TEST(PassAlarmPlan, APassMovedALittleByNewElementsIsStillTheOneWarnedOf)
{
    const double aos = StationPasses::at(9, 25);
    WarnedPasses warned;
    warned.add(QStringLiteral("ISS (ZARYA)"), aos);
    EXPECT_TRUE(warned.contains(QStringLiteral("ISS (ZARYA)"), aos + 40 * second));
    EXPECT_FALSE(warned.contains(QStringLiteral("ISS (ZARYA)"), aos + 92 * 60 * second))
        << "the next orbit";
    EXPECT_FALSE(warned.contains(QStringLiteral("ORVEX"), aos));
    warned.forgetBefore(aos + second);
    EXPECT_FALSE(warned.contains(QStringLiteral("ISS (ZARYA)"), aos));
}

TEST(PassAlarmPlan, TheCommandsEnvironmentNamesThePass)
{
    const orbit::Pass pass = morningPasses().at(1);
    const QProcessEnvironment environment =
        commandEnvironment(QProcessEnvironment(), QStringLiteral("ISS (ZARYA)"), pass);
    EXPECT_EQ(environment.value(QStringLiteral("ORVEX_SAT")), QStringLiteral("ISS (ZARYA)"));
    EXPECT_EQ(environment.value(QStringLiteral("ORVEX_AOS")),
              QStringLiteral("2026-12-08T09:25:18Z"));
    EXPECT_EQ(environment.value(QStringLiteral("ORVEX_LOS")),
              QStringLiteral("2026-12-08T09:35:44Z"));
    EXPECT_EQ(environment.value(QStringLiteral("ORVEX_MAXEL")), QStringLiteral("32.0"));
    EXPECT_EQ(environment.value(QStringLiteral("ORVEX_AOS_AZ")), QStringLiteral("209.3"));
}
