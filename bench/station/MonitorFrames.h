// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QList>
#include <QString>

// Four monitored frames as the program writes them to its monitors: CR LF
// ended lines, another CR LF after each frame; the last was transmitted.
inline QList<QString> monitorFrameTexts()
{
    return {
        QStringLiteral("14:07:41R Q9ZZZ-3>APRS,ORVEX-1 Port=1 <UI "
                       "Len=27>:\r\nHK,112,87,131,96,0,0,0011,0\r\n\r\n"),
        QStringLiteral("14:07:51R Q9ZZZ-3>APRS,ORVEX-1 Port=1 <UI "
                       "Len=27>:\r\nHK,201,14,77,250,0,0,0000,0\r\n\r\n"),
        QStringLiteral("14:07:55R Q9YYY-9>APRS,ORVEX-1,WIDE2-1 Port=1 <UI Len=55 PF=0>:\r\n"
                       "=3854.79N/07628.80W-ORVEX ground station, 2 m and 70 cm\r\n\r\n"),
        QStringLiteral("14:08:01T Q9ZZZ>APZ36Q Port=1 <UI Len=44>:\r\n"
                       ">ORVEX-1 station ready, telemetry every 10 s\r\n\r\n"),
    };
}
