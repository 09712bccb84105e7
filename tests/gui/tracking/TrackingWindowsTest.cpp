// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/clsSats.h"
#include "tracking/PassAlarms.h"
#include "tracking/PassGeometry.h"
#include "tracking/SkyViewWindow.h"

#include "StationPasses.h"
#include "support/Wait.h"

#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using orvex::Clock;

namespace {
void setClockJd(double jd)
{
    Clock::setFixed(orvex::dateToUtc(jd - 2415018.5));
}

struct Station : ::testing::Test
{
    clsSats sats;
    void SetUp() override
    {
        ASSERT_TRUE(sats.setStrKeplerPath(StationPasses::folder()));
        sats.setDblObsLat(StationPasses::latitude);
        sats.setDblObsLong(StationPasses::longitude);
    }
    void TearDown() override { Clock::setSource({}); }
};

QString labelText(const QWidget &window, const char *name)
{
    const auto *label = window.findChild<QLabel *>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<no label %1>").arg(QLatin1String(name));
}
} // namespace

TEST_F(Station, SkyViewCountsDownToAosThenShowsThePassAndItsDoppler)
{
    setClockJd(StationPasses::at(9, 20));
    SkyViewWindow window(sats, nullptr);
    window.setSatellite(QString::fromLatin1(StationPasses::iss));
    EXPECT_EQ(labelText(window, "labCountdown"), QStringLiteral("AOS in 00:05:18"));
    EXPECT_TRUE(labelText(window, "labAos").startsWith(QStringLiteral("09:25:17 UTC  az 209°")));
    EXPECT_EQ(labelText(window, "labMaxEl"), QStringLiteral("32.0°"));

    setClockJd(StationPasses::at(9, 30));
    window.refresh();
    EXPECT_TRUE(labelText(window, "labCountdown").startsWith(QStringLiteral("LOS in 00:05:4")));
    EXPECT_TRUE(window.view().live);
    const QString tune = labelText(window, "labDownTune");
    EXPECT_TRUE(tune.startsWith(QStringLiteral("145.82"))) << tune.toStdString();
    EXPECT_NE(tune, QStringLiteral("145.825 000 MHz"));
}

TEST_F(Station, AlarmWarnsBeforeThePassAndRunsTheAosCommandWithItsEnvironment)
{
    QTemporaryDir folder;
    const QString out = folder.filePath(QStringLiteral("aos.env"));
    orbit::OrbitEngine &engine = sats.engine();
    const orbit::Pass pass =
        tracking::passesFrom(engine, StationPasses::iss, StationPasses::at(9, 0), 0.1).at(0);
    constexpr double second = 1.0 / 86400;

    QWidget owner;
    PassAlarms alarms(&owner);
    QSignalSpy warned(&alarms, &PassAlarms::warned);
    QSignalSpy started(&alarms, &PassAlarms::commandStarted);
    tracking::AlarmSettings settings;
    settings.enabled = true;
    settings.aosCommand = QStringLiteral("sh -c \"env > '%1'\"").arg(out);
    settings.marginSeconds = 30;
    setClockJd(pass.aosJd - 301 * second);
    alarms.setSettings(settings);
    alarms.setSatellite(QString::fromLatin1(StationPasses::iss),
                        [&engine](double from, double days) {
                            return tracking::passesFrom(engine, StationPasses::iss, from, days);
                        },
                        {});
    alarms.tick();
    EXPECT_EQ(warned.count(), 0);

    setClockJd(pass.aosJd - 299.5 * second);
    alarms.tick();
    ASSERT_EQ(warned.count(), 1);
    EXPECT_TRUE(
        warned.at(0).at(0).toString().startsWith(QStringLiteral("ISS (ZARYA) rises in 5 min")));

    setClockJd(pass.aosJd - 30.5 * second);
    alarms.tick();
    EXPECT_EQ(started.count(), 0);
    setClockJd(pass.aosJd - 29.6 * second);
    alarms.tick();
    ASSERT_EQ(started.count(), 1);
    ASSERT_TRUE(orvex::test::waitUntil([&] {
        QFile file(out);
        return file.open(QIODevice::ReadOnly) && file.readAll().contains("ORVEX_LOS=");
    }));
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray environment = file.readAll();
    EXPECT_TRUE(environment.contains("ORVEX_SAT=ISS (ZARYA)\n"));
    EXPECT_TRUE(environment.contains("ORVEX_AOS=2026-12-08T09:25:18Z\n"));
    EXPECT_TRUE(environment.contains("ORVEX_AOS_AZ=209.3\n"));
    alarms.tick();
    EXPECT_EQ(started.count(), 1);
}
