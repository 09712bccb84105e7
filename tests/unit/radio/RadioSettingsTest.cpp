// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/RadioSettings.h"
#include "radio/RotatorSettings.h"
#include "shared/clsIni.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace radio;

TEST(RadioSettings, DefaultsAreWrittenAndBadValuesFallBackToThem)
{
    QTemporaryDir dir;
    clsIni ini(dir.filePath(QStringLiteral("orvexdecode.INI")));
    const RadioSettings radio = RadioSettings::load(ini);
    EXPECT_FALSE(radio.enabled);
    EXPECT_EQ(radio.port, 4532);
    EXPECT_EQ(radio.mode, RadioMode::Rx);
    EXPECT_EQ(radio.iss.uplinkHz, 145825000);
    EXPECT_EQ(ini.GetIniString(QStringLiteral("RADIO"), QStringLiteral("ORVEX_DOWNLINK_HZ"), {}),
              QStringLiteral("145825000"));
    EXPECT_EQ(ini.GetIniString(QStringLiteral("ROTATOR"), QStringLiteral("PORT"), {}), QString());
    const RotatorSettings rotator = RotatorSettings::load(ini);
    EXPECT_EQ(rotator.port, 4533);
    EXPECT_EQ(rotator.prepositionSeconds, 60);
    EXPECT_EQ(rotator.limits.maxAzimuthDeg, 360);
    EXPECT_EQ(rotator.daemon.model, 1);

    ini.SaveIniString(QStringLiteral("RADIO"), QStringLiteral("PORT"), QStringLiteral("99999"));
    ini.SaveIniString(QStringLiteral("RADIO"), QStringLiteral("MODE"), QStringLiteral("duplex"));
    ini.SaveIniString(QStringLiteral("RADIO"), QStringLiteral("ISS_UPLINK_HZ"),
                      QStringLiteral("x"));
    ini.SaveIniString(QStringLiteral("ROTATOR"), QStringLiteral("AZ_MAX"), QStringLiteral("-5"));
    EXPECT_EQ(RadioSettings::load(ini).port, 4532);
    EXPECT_EQ(RadioSettings::load(ini).mode, RadioMode::Rx);
    EXPECT_EQ(RadioSettings::load(ini).iss.uplinkHz, 145825000);
    EXPECT_EQ(RotatorSettings::load(ini).limits.maxAzimuthDeg, 360);
}

TEST(RadioSettings, WhatIsSavedIsReadBackAndStartsTheDaemonSo)
{
    QTemporaryDir dir;
    clsIni ini(dir.filePath(QStringLiteral("orvexdecode.INI")));
    RadioSettings radio;
    radio.enabled = true;
    radio.mode = RadioMode::Split;
    radio.orvex = {435300000, 145900000};
    radio.daemon = {true, 1035, QStringLiteral("/dev/ttyUSB0"), 38400};
    radio.save(ini);
    const RadioSettings read = RadioSettings::load(ini);
    EXPECT_TRUE(read.enabled);
    EXPECT_EQ(read.mode, RadioMode::Split);
    EXPECT_EQ(read.orvex.downlinkHz, 435300000);
    EXPECT_EQ(read.orvex.uplinkHz, 145900000);
    EXPECT_EQ(daemonArguments(read.daemon, 4532).join(QLatin1Char(' ')),
              QStringLiteral("-m 1035 -r /dev/ttyUSB0 -s 38400 -T 127.0.0.1 -t 4532"));

    RotatorSettings rotator;
    rotator.parkAzimuthDeg = 180;
    rotator.parkElevationDeg = 12.5;
    rotator.limits = {-180, 180, 0, 180};
    rotator.save(ini);
    const RotatorSettings back = RotatorSettings::load(ini);
    EXPECT_EQ(back.parkAzimuthDeg, 180);
    EXPECT_EQ(back.parkElevationDeg, 12.5);
    EXPECT_EQ(back.limits.minAzimuthDeg, -180);
    EXPECT_EQ(back.limits.maxElevationDeg, 180);
}
