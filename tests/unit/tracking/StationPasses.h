// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "orbit/clsSats.h"

#include <QFile>
#include <QString>

// The ISS set of the test station file, seen from Annapolis: passes on
// 2026-12-08 begin 07:53:34 (0.4° high) and 09:25:17.7 (32.0° high, LOS 09:35:43.9).
struct StationPasses
{
    static inline const QString iss = QStringLiteral("ISS (ZARYA)");
    static constexpr double latitude = 38.9833;
    static constexpr double longitude = -76.4833;

    static QString folder() { return QStringLiteral(ORVEX_SOURCE_DIR "/tests/data/orbit"); }
    static void load(clsSats &sats)
    {
        QFile file(folder() + QStringLiteral("/station.txt"));
        if (file.open(QIODevice::ReadOnly))
            sats.engine().addElementText(file.readAll().toStdString());
        sats.setDblObsLat(latitude);
        sats.setDblObsLong(longitude);
    }
    // Julian date UTC of 2026-12-08 at the given time.
    static double at(int hour, int minute, double second = 0)
    {
        return 2461382.5 + (hour * 3600 + minute * 60 + second) / 86400.0;
    }
};
