// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/DaemonRunner.h"
#include "radio/HamlibLink.h"

#include "HamlibTestRig.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

using radio::DaemonRunner;
using radio::DaemonSettings;
using radio::HamlibLink;

TEST(DaemonRunner, RunsRigctldForTheProgramStopsItAndReportsOneThatEnds)
{
    const quint16 port = radio::test::freeLoopbackPort();
    DaemonRunner runner(QStringLiteral("rigctld"));
    runner.start(DaemonSettings{true, 1, QString(), 0}, port);
    EXPECT_EQ(runner.commandLine(), QStringLiteral("rigctld -m 1 -T 127.0.0.1 -t %1").arg(port));
    HamlibLink link(QStringLiteral("rigctld"));
    link.setTimings(1000, 100, 400);
    link.open(QStringLiteral("127.0.0.1"), port);
    ASSERT_TRUE(radio::test::waitForIdle(link)) << runner.stateText().toStdString();
    EXPECT_TRUE(runner.stateText().contains(QStringLiteral("running")));

    runner.stop();
    EXPECT_FALSE(runner.isRunning());
    EXPECT_TRUE(orvex::test::waitUntil([&] { return link.state() != HamlibLink::State::Up; }));

    // A model Hamlib does not know: rigctld says so and ends.
    runner.start(DaemonSettings{true, 999999, QString(), 0}, port);
    ASSERT_TRUE(orvex::test::waitUntil(
        [&] { return runner.stateText().contains(QStringLiteral("ended with exit code")); }));
    EXPECT_TRUE(runner.stateText().contains(QStringLiteral("--list")))
        << runner.stateText().toStdString();
}
