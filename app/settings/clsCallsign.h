// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

// One entry of the callsign list: a callsign and the satellite side ("A" or
// "B") whose telemetry it sends.
class clsCallsign
{
public:
    clsCallsign() = default;
    clsCallsign(const QString &callsign, const QString &side);

    QString strCallsign() const;
    void setStrCallsign(const QString &callsign);
    // Always exactly one character: longer text keeps its first character,
    // empty text becomes one blank.
    QString strSide() const;
    void setStrSide(const QString &side);

    friend bool operator==(const clsCallsign &, const clsCallsign &) = default;

private:
    QString callsign_;
    QString side_ = QStringLiteral(" ");
};
