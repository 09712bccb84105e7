// SPDX-License-Identifier: GPL-2.0-or-later
// The automatic element update against a local HTTP server: due only when
// switched on and the interval has passed, installs as the window does, and
// never replaces a good file with a bad download, nor takes a tracked
// satellite's set away; anything short of success is tried again in an hour.
#include "orbit/KepsAutoUpdate.h"

#include "TestHttpServer.h"
#include "platform/DateTime.h"
#include "shared/clsIni.h"
#include "support/Wait.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QByteArray elements =
    "ISS (ZARYA)\r\n"
    "1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927\r\n"
    "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537\r\n";
const QByteArray orvexSet =
    "ORVEX\r\n"
    "1 26931U 01043C   26342.00000000  .00000512  00000-0  65000-4 0  9999\r\n"
    "2 26931  97.6012  52.1809 0011873  84.4671 275.7904 14.98021546875704\r\n";

void setClock(int day, int hour, int minute)
{
    orvex::Clock::setFixed(QDateTime(QDate(2026, 12, day), QTime(hour, minute), Qt::UTC));
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
} // namespace

TEST(KepsAutoUpdate, InstallsWhenDueAndKeepsAGoodFileFromABadDownload)
{
    TestHttpServer server;
    server.serve("/amateur.txt", elements);
    QTemporaryDir folder;
    clsIni ini(folder.filePath("settings.INI"));
    ini.SaveIniString("KEPS", "FILE_1", server.hostAndPort() + "/amateur.txt");
    orvex::Clock::setFixed(QDateTime(QDate(2026, 12, 8), QTime(12, 0), Qt::UTC));

    KepsAutoUpdate update(ini, folder.path() + QLatin1Char('/'), {26931, 25544});
    QSignalSpy installed(&update, &KepsAutoUpdate::installed);
    QSignalSpy status(&update, &KepsAutoUpdate::statusChanged);
    update.check();
    EXPECT_FALSE(update.running()) << "off unless switched on";

    ini.SaveIniString("KEPS", "AUTO_UPDATE", "TRUE");
    update.check();
    ASSERT_TRUE(orvex::test::waitUntil([&] { return status.count() == 1; }, 30000));
    ASSERT_EQ(installed.count(), 1);
    EXPECT_EQ(installed.at(0).at(0).toStringList(), QStringList{"amateur.txt"});
    EXPECT_EQ(readAll(folder.filePath("Keps/amateur.txt")), elements + "\r\n");
    EXPECT_EQ(update.statusText(), "Keps updated 2026-12-08 12:00 UTC");
    EXPECT_EQ(ini.GetIniString("KEPS", "LAST_UPDATE", ""), "2026-12-08T12:00:00Z");

    // Not due again before the interval has passed.
    orvex::Clock::setFixed(QDateTime(QDate(2026, 12, 9), QTime(11, 0), Qt::UTC));
    update.check();
    EXPECT_FALSE(update.running());

    // Due, but the server now sends junk: the good file stays.
    server.serve("/amateur.txt", QByteArray(4000, 'x'));
    setClock(9, 12, 30);
    update.check();
    ASSERT_TRUE(orvex::test::waitUntil([&] { return status.count() == 2; }, 30000));
    EXPECT_EQ(installed.count(), 1);
    EXPECT_EQ(readAll(folder.filePath("Keps/amateur.txt")), elements + "\r\n");
    EXPECT_TRUE(update.statusText().startsWith("Keps update failed 2026-12-09 12:30 UTC: "
                                               "amateur.txt: "))
        << update.statusText().toStdString();
    EXPECT_TRUE(update.statusText().endsWith("; next try 13:30 UTC"));
    orvex::Clock::setSource({});
}

TEST(KepsAutoUpdate, AFileWithoutOrvexKeepsOrvexsSetAndIsNoSuccess)
{
    TestHttpServer server;
    // A valid file that holds only another satellite.
    server.serve("/amateur.txt", elements);
    QTemporaryDir folder;
    QDir(folder.path()).mkpath("Keps");
    QFile old(folder.filePath("Keps/amateur.txt"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(orvexSet);
    old.close();
    clsIni ini(folder.filePath("settings.INI"));
    ini.SaveIniString("KEPS", "FILE_1", server.hostAndPort() + "/amateur.txt");
    ini.SaveIniString("KEPS", "AUTO_UPDATE", "TRUE");
    ini.SaveIniString("KEPS", "LAST_UPDATE", "2026-12-07T10:00:00Z");
    setClock(9, 12, 30);

    KepsAutoUpdate update(ini, folder.path() + QLatin1Char('/'), {26931, 25544});
    QSignalSpy installed(&update, &KepsAutoUpdate::installed);
    QSignalSpy status(&update, &KepsAutoUpdate::statusChanged);
    update.check();
    ASSERT_TRUE(orvex::test::waitUntil([&] { return status.count() == 1; }, 30000));
    EXPECT_EQ(readAll(folder.filePath("Keps/amateur.txt")), elements + "\r\n" + orvexSet);
    EXPECT_EQ(installed.count(), 1) << "the new ISS set is read";
    EXPECT_EQ(update.statusText(), "Keps partly updated 2026-12-09 12:30 UTC: amateur.txt lacks "
                                   "ORVEX (26931), old set kept; next try 13:30 UTC");
    EXPECT_EQ(ini.GetIniString("KEPS", "LAST_UPDATE", ""), "2026-12-07T10:00:00Z");

    setClock(9, 13, 0);
    update.check();
    EXPECT_FALSE(update.running());
    setClock(9, 13, 30);
    update.check();
    EXPECT_TRUE(update.running());
    ASSERT_TRUE(orvex::test::waitUntil([&] { return status.count() == 2; }, 30000));
    EXPECT_TRUE(update.statusText().startsWith("Keps partly updated 2026-12-09 13:30 UTC"));
    EXPECT_EQ(readAll(folder.filePath("Keps/amateur.txt")), elements + "\r\n" + orvexSet)
        << "kept once, not again with each try";
    orvex::Clock::setSource({});
}
