// SPDX-License-Identifier: GPL-2.0-or-later
#include "map/MapClock.h"
#include "map/MapText.h"

#include <gtest/gtest.h>

namespace {

orvex::Date at(int hour, int minute, int second, int ms = 0)
{
    return orvex::utcToDate(
        QDateTime(QDate(2026, 12, 8), QTime(hour, minute, second, ms), QTimeZone::utc()));
}

// A map clock on a settable "now", and what the window would do with it:
// each refresh shows the base time and then steps the clock.
class MapClockTest : public ::testing::Test
{
protected:
    orvex::Date now = at(12, 34, 27);
    MapClock clock{[this] { return now; }};

    // One timer tick: the time the picture shows.
    QString tick()
    {
        const QString shown = MapText::timeText(clock.baseTime());
        clock.advance();
        return shown;
    }
    static QString text(int hour, int minute, int second = 0)
    {
        return MapText::timeText(at(hour, minute, second));
    }
    void expectTicks(bool normal, bool fast, bool veryFast, bool backwards, bool pause) const
    {
        EXPECT_EQ(clock.normalTicked(), normal);
        EXPECT_EQ(clock.fastTicked(), fast);
        EXPECT_EQ(clock.veryFastTicked(), veryFast);
        EXPECT_EQ(clock.backwardsTicked(), backwards);
        EXPECT_EQ(clock.pauseTicked(), pause);
    }
};

bool same(const MapClock::Reaction &a, const MapClock::Reaction &b)
{
    return a.refresh == b.refresh && a.restartTimer == b.restartTimer &&
           a.timerSwitched == b.timerSwitched;
}

const MapClock::Reaction nothing{false, false, false};
const MapClock::Reaction redrawAndRestart{true, true, false};

} // namespace

TEST_F(MapClockTest, OpensInRealTimeWithNormalTicked)
{
    expectTicks(true, false, false, false, false);
    EXPECT_EQ(clock.datMapClock(), 0);
    EXPECT_EQ(clock.timerInterval(), 15000);
    EXPECT_TRUE(clock.timerEnabled());
    EXPECT_EQ(tick(), text(12, 34, 27)) << "real time keeps its seconds";
    now = at(12, 34, 42);
    EXPECT_EQ(tick(), text(12, 34, 42));
    EXPECT_EQ(clock.datMapClock(), 0) << "a zero clock stays zero";
}

TEST_F(MapClockTest, MapStartTimeIsThePresentWholeMinute)
{
    now = at(12, 34, 59, 900);
    EXPECT_EQ(MapText::timeText(clock.MapStartTime()), text(12, 34));
    clock.backwards();
    now = at(23, 59, 30);
    EXPECT_EQ(MapText::timeText(clock.MapStartTime()),
              MapText::timeText(at(23, 59, 0) + 1.0 / 1440))
        << "one minute on when Backwards is ticked, over midnight too";
}

TEST_F(MapClockTest, FastRunsAMinuteATickFromThePresentWholeMinute)
{
    EXPECT_TRUE(same(clock.fastSpeed(), redrawAndRestart));
    expectTicks(false, true, false, false, false);
    EXPECT_EQ(clock.timerInterval(), 500);
    EXPECT_EQ(tick(), text(12, 34));
    EXPECT_EQ(tick(), text(12, 35));
    now = at(18, 0, 0);
    EXPECT_EQ(tick(), text(12, 36)) << "the simulated clock no longer follows the real one";
}

TEST_F(MapClockTest, VeryFastRunsTwoMinutesATick)
{
    EXPECT_TRUE(same(clock.veryFast(), redrawAndRestart));
    expectTicks(false, false, true, false, false);
    EXPECT_EQ(clock.timerInterval(), 250);
    EXPECT_EQ(tick(), text(12, 34));
    EXPECT_EQ(tick(), text(12, 36));
    EXPECT_EQ(tick(), text(12, 38));
}

TEST_F(MapClockTest, BackToNormalKeepsTheSimulatedTimeRunningOnlyResetEndsIt)
{
    clock.fastSpeed();
    tick();
    tick();
    EXPECT_TRUE(same(clock.normal(), redrawAndRestart));
    expectTicks(true, false, false, false, false);
    EXPECT_EQ(clock.timerInterval(), 15000);
    EXPECT_EQ(tick(), text(12, 36)) << "one simulated minute per 15 s";
    EXPECT_EQ(tick(), text(12, 37));

    EXPECT_TRUE(same(clock.reset(), redrawAndRestart));
    EXPECT_EQ(clock.datMapClock(), 0);
    now = at(12, 40, 5);
    EXPECT_EQ(tick(), text(12, 40, 5));
}

TEST_F(MapClockTest, BackwardsInRealTimeStartsAMinuteAheadAndThenGoesBack)
{
    EXPECT_TRUE(same(clock.backwards(), nothing)) << "no redraw and no timer change";
    expectTicks(true, false, false, true, false);
    EXPECT_EQ(clock.timerInterval(), 15000);
    EXPECT_EQ(tick(), text(12, 35));
    EXPECT_EQ(tick(), text(12, 34));
    EXPECT_EQ(tick(), text(12, 33));

    clock.veryFast();
    EXPECT_EQ(tick(), text(12, 32));
    EXPECT_EQ(tick(), text(12, 30));

    clock.backwards();
    EXPECT_FALSE(clock.backwardsTicked());
    EXPECT_EQ(tick(), text(12, 28));
    EXPECT_EQ(tick(), text(12, 30));
}

TEST_F(MapClockTest, BackwardsOnARunningClockDoesNotMoveIt)
{
    clock.fastSpeed();
    tick();
    clock.backwards();
    EXPECT_EQ(tick(), text(12, 35));
    EXPECT_EQ(tick(), text(12, 34));
}

TEST_F(MapClockTest, PauseStopsTheTimerAndASecondPauseStartsIt)
{
    MapClock::Reaction reaction = clock.pause();
    EXPECT_TRUE(clock.pauseTicked());
    EXPECT_FALSE(clock.timerEnabled());
    EXPECT_TRUE(reaction.timerSwitched);
    EXPECT_FALSE(reaction.refresh);

    reaction = clock.pause();
    EXPECT_FALSE(clock.pauseTicked());
    EXPECT_TRUE(clock.timerEnabled());
    EXPECT_TRUE(reaction.timerSwitched);
}

TEST_F(MapClockTest, FastWhilePausedRestartsTheTimerAndThenPauseLeavesItRunning)
{
    clock.pause();
    ASSERT_FALSE(clock.timerEnabled());
    EXPECT_TRUE(same(clock.fastSpeed(), redrawAndRestart));
    EXPECT_TRUE(clock.timerEnabled());
    EXPECT_TRUE(clock.pauseTicked()) << "Pause stays ticked";

    const MapClock::Reaction reaction = clock.pause();
    EXPECT_FALSE(clock.pauseTicked());
    EXPECT_TRUE(clock.timerEnabled()) << "the timer keeps running";
    EXPECT_FALSE(reaction.timerSwitched);

    clock.pause();
    clock.veryFast();
    EXPECT_TRUE(clock.timerEnabled());
    EXPECT_TRUE(clock.pauseTicked());
}

TEST_F(MapClockTest, ChoosingTheTickedSpeedAgainDoesNothing)
{
    EXPECT_TRUE(same(clock.normal(), nothing));
    clock.fastSpeed();
    tick();
    const orvex::Date running = clock.datMapClock();
    EXPECT_TRUE(same(clock.fastSpeed(), nothing));
    EXPECT_EQ(clock.datMapClock(), running);
    clock.veryFast();
    EXPECT_TRUE(same(clock.veryFast(), nothing));
    expectTicks(false, false, true, false, false);
    EXPECT_EQ(clock.timerInterval(), 250);
}

TEST_F(MapClockTest, ResetUnticksEverythingButNormal)
{
    clock.veryFast();
    clock.backwards();
    clock.pause();
    EXPECT_TRUE(same(clock.reset(), redrawAndRestart));
    expectTicks(true, false, false, false, false);
    EXPECT_EQ(clock.datMapClock(), 0);
    EXPECT_EQ(clock.timerInterval(), 15000);
    EXPECT_TRUE(clock.timerEnabled());
}

TEST(MapClockKeys, CtrlLettersGiveTheirControlCodes)
{
    using A = MapClock::Action;
    const struct
    {
        Qt::Key key;
        int code;
        A action;
    } table[] = {
        {Qt::Key_N, 14, A::Normal},    {Qt::Key_F, 6, A::Fast},   {Qt::Key_V, 22, A::VeryFast},
        {Qt::Key_B, 2, A::Backwards},  {Qt::Key_P, 16, A::Pause}, {Qt::Key_R, 18, A::Reset},
        {Qt::Key_S, 19, A::ChangeSat},
    };
    for (const auto &row : table) {
        const int code = MapClock::keyCode(row.key, Qt::ControlModifier, QString());
        EXPECT_EQ(code, row.code);
        EXPECT_EQ(MapClock::actionForKeyCode(code), row.action) << row.code;
    }
}

TEST(MapClockKeys, OtherKeysDoNothing)
{
    EXPECT_EQ(MapClock::keyCode(Qt::Key_N, Qt::NoModifier, QStringLiteral("n")), 0);
    EXPECT_EQ(MapClock::keyCode(Qt::Key_N, Qt::ControlModifier | Qt::AltModifier, QString()), 0);
    EXPECT_EQ(MapClock::keyCode(Qt::Key_1, Qt::ControlModifier, QString()), 0);
    EXPECT_EQ(MapClock::keyCode(Qt::Key_unknown, Qt::NoModifier, QString(QChar(6))), 6);
    EXPECT_EQ(MapClock::actionForKeyCode(MapClock::keyCode(Qt::Key_A, Qt::ControlModifier, {})),
              MapClock::Action::None);
    EXPECT_EQ(MapClock::actionForKeyCode(13), MapClock::Action::None);
}
