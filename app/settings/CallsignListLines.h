// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "settings/clsCallsign.h"

#include <QList>
#include <QString>
#include <QStringList>

// The lines of the callsign list dialog: the callsign padded (or cut) to 12
// characters, then "Side " and the side letter:
//   "Q9ZZZ-5     Side A"
namespace orvex {

QString callsignLine(const QString &callsign, const QString &side);
// The line's callsign: its first 9 characters, blanks trimmed.
QString lineCallsign(const QString &line);
// The line's side: its last character.
QString lineSide(const QString &line);

// A one-digit SSID written as two ("Q9ZZZ-5 " sorts as "Q9ZZZ-05"), so that
// the list sorts -2 before -10; sortKey and unsortKey keep the length.
QString sortKey(const QString &line);
// Back from the sort form: any SSID with a leading zero loses it ("-05"
// becomes "-5 "; "-00" becomes "-0 ").
QString unsortKey(const QString &line);
// Ascending order without regard to case, SSIDs in numeric order; lines
// that compare equal keep their order.
QStringList sortedCallsignLines(const QStringList &lines);

// The entries the lines stand for, in list order, one for each line.
QList<clsCallsign> callsignsFromLines(const QStringList &lines);

} // namespace orvex
