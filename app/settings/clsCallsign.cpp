// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/clsCallsign.h"

clsCallsign::clsCallsign(const QString &callsign, const QString &side) : callsign_(callsign)
{
    setStrSide(side);
}

QString clsCallsign::strCallsign() const
{
    return callsign_;
}

void clsCallsign::setStrCallsign(const QString &callsign)
{
    callsign_ = callsign;
}

QString clsCallsign::strSide() const
{
    return side_;
}

void clsCallsign::setStrSide(const QString &side)
{
    side_ = side.isEmpty() ? QStringLiteral(" ") : side.left(1);
}
