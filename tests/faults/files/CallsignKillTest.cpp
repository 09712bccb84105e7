// SPDX-License-Identifier: GPL-2.0-or-later
// A program killed while it saves the callsign list: whatever moment the kill
// comes, the list in the file is whole, the old one or the new one.
#include "core/CallsignList.h"
#include "shared/clsIni.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

QStringList callsignsIn(const QString &file)
{
    clsIni ini(file);
    QStringList calls;
    const std::array<QStringList, 2> keys = ini.LoadAllKeysInSection(QStringLiteral("CALLSIGNS"));
    for (int i = 1; i < keys[0].size(); ++i)
        calls << keys[0][i] + QLatin1Char('=') + keys[1][i];
    return calls;
}

QStringList asLines(const QList<clsCallsign> &list, const QString &suffix = {})
{
    QStringList lines;
    for (const clsCallsign &entry : list)
        lines << entry.strCallsign() + suffix + QLatin1Char('=') + entry.strSide();
    return lines;
}

} // namespace

TEST(CallsignListKills, AKillDuringASaveNeverLosesACallsign)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("orvexdecode.INI"));
    {
        clsIni ini(file);
        CallsignList(ini).InitCallsigns();
    }
    const QStringList oldList = asLines(CallsignList::defaultList());
    const QStringList newList = asLines(CallsignList::defaultList(), QStringLiteral("X"));
    ASSERT_EQ(callsignsIn(file), oldList);

    QRandomGenerator random(15016);
    constexpr int kills = 40;
    int sawNew = 0;
    for (int round = 0; round < kills; ++round) {
        QProcess saver;
        saver.start(QStringLiteral(CALLSIGN_SAVER_PATH), {file});
        ASSERT_TRUE(saver.waitForReadyRead(30000)) << "the saver did not start";
        QThread::usleep(random.bounded(1000, 60000));
        saver.kill();
        ASSERT_TRUE(saver.waitForFinished(30000));

        const QStringList found = callsignsIn(file);
        ASSERT_TRUE(found == oldList || found == newList)
            << "after kill " << round + 1 << " the list holds " << found.size()
            << " entries: " << found.join(QLatin1Char(' ')).toStdString();
        sawNew += found == newList;
    }
    EXPECT_GT(sawNew, 0) << "the saver never got a save done";
}
