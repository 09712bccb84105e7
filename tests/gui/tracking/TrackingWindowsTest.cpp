// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/TrackingContext.h"
#include "tracking/PassAlarms.h"
#include "tracking/PassGeometry.h"
#include "tracking/SkyPlot.h"
#include "tracking/SkyViewWindow.h"

#include "StationPasses.h"
#include "support/Wait.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using orvex::Clock;

namespace {
void setClockJd(double jd)
{
    Clock::setFixed(orvex::dateToUtc(orvex::dateOfJulianDate(jd)));
}

struct Station : ::testing::Test
{
    clsSats sats;
    TrackingContext context{sats};
    void SetUp() override
    {
        ASSERT_TRUE(sats.setStrKeplerPath(StationPasses::folder()));
        sats.setDblObsLat(StationPasses::latitude);
        sats.setDblObsLong(StationPasses::longitude);
    }
    // The station follows the ISS.
    void followIss()
    {
        SatTable satellites;
        satellites[1].name = StationPasses::iss;
        satellites[1].elementSetFound = true;
        context.setSatellites(satellites);
        context.setCurrent(1);
        context.setStation(StationPasses::latitude, StationPasses::longitude);
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
    followIss();
    SkyViewWindow window(context, nullptr);
    EXPECT_EQ(labelText(window, "countdown"), QStringLiteral("AOS in 00:05:18"));
    EXPECT_TRUE(labelText(window, "aos").startsWith(QStringLiteral("09:25:17 UTC  az 209°")));
    EXPECT_EQ(labelText(window, "maxElevation"), QStringLiteral("32.0°"));

    setClockJd(StationPasses::at(9, 30));
    window.refresh();
    EXPECT_TRUE(labelText(window, "countdown").startsWith(QStringLiteral("LOS in 00:05:4")));
    EXPECT_TRUE(window.view().live);
    EXPECT_EQ(labelText(window, "lookNow"), QStringLiteral("az %1°  el %2°")
                                                .arg(window.view().live->azimuthDeg, 0, 'f', 1)
                                                .arg(window.view().live->elevationDeg, 0, 'f', 1));
    const QString tune = labelText(window, "downTune");
    EXPECT_TRUE(tune.startsWith(QStringLiteral("145.82"))) << tune.toStdString();
    EXPECT_NE(tune, QStringLiteral("145.825 000 MHz"));
}

TEST_F(Station, AlarmWarnsBeforeThePassAndRunsTheAosCommandWithItsEnvironment)
{
    QTemporaryDir folder;
    const QString out = folder.filePath(QStringLiteral("aos.env"));
    const orbit::Pass pass =
        tracking::passesFrom(sats, StationPasses::iss, StationPasses::at(9, 0), 0.1).at(0);
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
    followIss();
    alarms.follow(context);
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

// Alarms for the ISS pass at 09:25, switched on `minutesBefore` its AOS.
struct LateAlarms : Station
{
    orbit::Pass pass;
    QWidget owner;
    PassAlarms alarms{&owner};
    void start(const QString &name, int leadMinutes, double minutesBefore)
    {
        pass = tracking::passesFrom(sats, StationPasses::iss, StationPasses::at(9, 0), 0.1).at(0);
        tracking::AlarmSettings settings;
        settings.enabled = true;
        settings.leadMinutes = leadMinutes;
        setClockJd(pass.aosJd - minutesBefore / 1440);
        alarms.setSettings(settings);
        alarms.setSatellite(name,
                            [this](double from, double days) {
                                return tracking::passesFrom(sats, StationPasses::iss, from, days);
                            },
                            {});
    }
};

TEST_F(LateAlarms, APassFoundInsideTheLeadTimeIsWarnedOfAtOnceAndOnce)
{
    QSignalSpy warned(&alarms, &PassAlarms::warned);
    start(StationPasses::iss, 45, 15);
    ASSERT_EQ(warned.count(), 1);
    EXPECT_TRUE(
        warned.at(0).at(0).toString().startsWith(QStringLiteral("ISS (ZARYA) rises in 15 min")));

    // New elements, a minute later: the same pass, no second warning.
    setClockJd(pass.aosJd - 14.0 / 1440);
    alarms.replan();
    alarms.tick();
    EXPECT_EQ(warned.count(), 1);
}

TEST_F(LateAlarms, TheAlarmBoxShowsAnElementSetNamedLikeHtmlAsTextOnTheScreen)
{
    const QString name =
        QStringLiteral("<table width=4000 bgcolor=red><tr><td>ISS</td></tr></table>");
    start(name, 5, 2);
    QMessageBox *box = nullptr;
    ASSERT_TRUE(orvex::test::waitUntil([&] {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *found = qobject_cast<QMessageBox *>(top); found && found->isVisible())
                box = found;
        return box != nullptr;
    }));
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_TRUE(box->text().startsWith(name + QStringLiteral(" rises in 2 min")));
    EXPECT_TRUE(
        QGuiApplication::primaryScreen()->availableGeometry().contains(box->frameGeometry()));
    box->close();
}

TEST(SkyPlotLabels, AosAndLosCoverNoCompassMarkAndStayInThePlot)
{
    // Passes that rise and set right by the compass marks.
    const struct
    {
        double aosAzimuth, maxAzimuth, losAzimuth;
    } passes[] = {{90, 0, 270}, {0, 90, 180}, {270, 180, 90}, {5, 300, 265}};
    for (const auto &shape : passes) {
        SCOPED_TRACE(shape.aosAzimuth);
        tracking::SkyView view;
        orbit::Pass pass;
        pass.aosJd = 2461382.5;
        pass.maxJd = pass.aosJd + 5.0 / 1440;
        pass.losJd = pass.aosJd + 10.0 / 1440;
        pass.maxElevationDeg = 40;
        view.pass = pass;
        view.track = {{pass.aosJd, shape.aosAzimuth, 0},
                      {pass.maxJd, shape.maxAzimuth, pass.maxElevationDeg},
                      {pass.losJd, shape.losAzimuth, 0}};
        SkyPlot plot;
        plot.resize(360, 360);
        plot.setView(view, [](double) { return QStringLiteral("09:25:17 UTC"); });
        const SkyPlot::Layout layout = plot.layout();
        ASSERT_EQ(layout.marks.size(), 3u);
        for (const SkyPlot::Mark &mark : layout.marks) {
            SCOPED_TRACE(mark.label.text.toStdString());
            EXPECT_TRUE(QRectF(plot.rect()).contains(mark.label.rect));
            const QRectF dot(mark.at - QPointF(4, 4), QSizeF(8, 8));
            for (const SkyPlot::Text &letter : layout.compass) {
                EXPECT_FALSE(mark.label.rect.intersects(letter.rect)) << letter.text.toStdString();
                EXPECT_FALSE(dot.intersects(letter.rect)) << letter.text.toStdString();
            }
            for (const SkyPlot::Mark &other : layout.marks) {
                if (&other != &mark) {
                    EXPECT_FALSE(mark.label.rect.intersects(other.label.rect));
                }
            }
        }
    }
}
