// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "orbit/clsSats.h"
#include "platform/DateTime.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A Keps folder with one real element set of the ISS (epoch 2008-09-20
// 12:25:40 UTC), and a clsSats that reads it.
struct IssElements
{
    static QString name() { return QStringLiteral("ISS (ZARYA)"); }
    static QByteArray text()
    {
        return "ISS (ZARYA)\r\n"
               "1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927\r\n"
               "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537\r\n";
    }
    // 2008-09-20 12:00:00 UTC, half an hour before the epoch.
    static orvex::Date nearEpoch()
    {
        return orvex::utcToDate(QDateTime(QDate(2008, 9, 20), QTime(12, 0), QTimeZone::utc()));
    }

    // Writes the element file into `folder`/Keps and points `sats` at it.
    static bool install(const QString &folder, clsSats &sats)
    {
        const QString keps = folder + QStringLiteral("/Keps");
        if (!QDir().mkpath(keps))
            return false;
        QFile file(keps + QStringLiteral("/iss.txt"));
        if (!file.open(QIODevice::WriteOnly) || file.write(text()) != text().size())
            return false;
        file.close();
        return sats.setStrKeplerPath(keps).isOk();
    }
};
