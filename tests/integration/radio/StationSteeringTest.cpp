// SPDX-License-Identifier: GPL-2.0-or-later
// The whole station steering Hamlib's dummy radio and rotator: the settings
// switch both on, the tracking context hands them the current satellite
// (the ISS here) and its pass, the status bar and the sky view say what
// they do.
#include "HamlibTestRig.h"
#include "MessageBoxRecorder.h"
#include "support/StationUnderTest.h"
#include "tracking/DopplerTuning.h"
#include "tracking/SkyViewWindow.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <gtest/gtest.h>

using namespace radio::test;
using orvex::test::StationUnderTest;
using orvex::test::waitUntil;

TEST(StationSteering, TheCurrentSatellitesPassTunesTheRadioAndTurnsTheBeam)
{
    MessageBoxRecorder boxes;
    Daemon rig(QStringLiteral("rigctld"));
    Daemon rotator(QStringLiteral("rotctld"));
    QString error;
    ASSERT_TRUE(rig.start(&error)) << error.toStdString();
    ASSERT_TRUE(rotator.start(&error)) << error.toStdString();

    // In the ISS pass of 09:25 over Annapolis, the ISS followed.
    StationTrack iss(StationTrack::iss);
    const orbit::Pass pass = iss.passAfter(StationTrack::dayJd + 9.0 / 24);
    // The program's clock runs from a minute before TCA.
    HeldClock clock(pass.maxJd - 60.0 / 86400);
    const QDateTime started = QDateTime::currentDateTimeUtc();
    const QDateTime then = orvex::dateToUtc(orvex::dateOfJulianDate(clock.jd()));
    orvex::Clock::setSource([started, then] {
        return then.addMSecs(started.msecsTo(QDateTime::currentDateTimeUtc()));
    });
    // (The extra settings go on in the section SETUP.)
    StationUnderTest station(1, "LATITUDE=3859.00N\r\nLONGITUDE=07629.00W\r\n"
                                "OBJ_INDEX=1\r\n[RADIO]\r\nENABLED=TRUE\r\nMODE=SPLIT\r\nPORT=" +
                                    QByteArray::number(rig.port()) +
                                    "\r\nISS_UPLINK_HZ=437800000\r\n[ROTATOR]\r\nENABLED=TRUE\r\n"
                                    "PORT=" +
                                    QByteArray::number(rotator.port()) + "\r\n");
    QDir(station.folder.path()).mkdir(QStringLiteral("Keps"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORVEX_SOURCE_DIR "/tests/data/orbit/station.txt"),
                            station.folder.file("Keps/station.txt")));
    ASSERT_TRUE(station.load());

    // The radio is set to the downlink as heard now, and split to the uplink.
    const auto tuning = [&iss] {
        const double rate = iss.look(orvex::Clock::nowJulianDate()).rangeRateKmPerS;
        return tracking::DopplerTuning(145825000, 437800000).at(rate);
    };
    Probe probe(rig.port());
    ASSERT_TRUE(waitUntil([&] {
        return std::abs(probe.number("get_freq", "Frequency") - tuning().receiveHz) < 20 &&
               std::abs(probe.number("get_split_freq", "TX Frequency") - tuning().transmitHz) < 60;
    })) << probe.number("get_freq", "Frequency")
        << " for " << tuning().receiveHz;
    // The beam heads for the satellite (the dummy turns at a few degrees a second).
    auto *rotatorLine = station.window->findChild<QLabel *>(QStringLiteral("rotatorStatus"));
    ASSERT_NE(rotatorLine, nullptr);
    ASSERT_TRUE(waitUntil([&] {
        return rotatorLine->text().contains(QStringLiteral("following"));
    })) << rotatorLine->text().toStdString();
    Probe beam(rotator.port());
    ASSERT_TRUE(waitUntil([&] { return beam.number("get_pos", "Azimuth") > 5; }));

    // Said in the status bar, and in the sky view.
    auto *radioLine = station.window->findChild<QLabel *>(QStringLiteral("radioStatus"));
    ASSERT_NE(radioLine, nullptr);
    EXPECT_TRUE(radioLine->text().startsWith(QStringLiteral("Radio: RX 145.8")))
        << radioLine->text().toStdString();
    station.window->findChild<QAction *>(QStringLiteral("skyViewAction"))->trigger();
    auto *sky = station.window->findChild<SkyViewWindow *>();
    ASSERT_NE(sky, nullptr);
    auto *link = sky->findChild<QLabel *>(QStringLiteral("rotatorLink"));
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->text().startsWith(QStringLiteral("connected"))) << link->text().toStdString();
}
