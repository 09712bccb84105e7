// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orvex::test {

// One 7-byte AX.25 address field: "CALL" or "CALL-SSID", `last` sets bit 0.
inline QByteArray ax25Address(const QString &call, bool last)
{
    const QStringList parts = call.split(QLatin1Char('-'));
    QByteArray field = parts[0].toLatin1().leftJustified(6, ' ');
    for (char &c : field)
        c = static_cast<char>(c << 1);
    const int ssid = parts.size() > 1 ? parts[1].toInt() : 0;
    field += static_cast<char>(0x60 | (ssid << 1) | (last ? 1 : 0));
    return field;
}

// A raw UI frame (no flags, no FCS) as the engine hands it over.
inline QByteArray ax25UiFrame(const QString &source, const QString &destination,
                              const QByteArray &info, const QStringList &digipeaters = {})
{
    QByteArray frame = ax25Address(destination, false) + ax25Address(source, digipeaters.isEmpty());
    for (int i = 0; i < digipeaters.size(); ++i)
        frame += ax25Address(digipeaters[i], i == digipeaters.size() - 1);
    return frame + QByteArray("\x03\xF0", 2) + info;
}

// The engine's monitor text of a UI frame, as the control hands it on.
inline QByteArray monitorText(const QString &source, const QString &destination,
                              const QByteArray &info)
{
    return " 1:Fm " + source.toLatin1() + " To " + destination.toLatin1() +
           " <UI pid=F0 Len=" + QByteArray::number(info.size()) + " >[12:00:00]\r" + info + "\r\r";
}

} // namespace orvex::test
