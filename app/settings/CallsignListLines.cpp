// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/CallsignListLines.h"

#include <algorithm>

namespace orvex {

QString callsignLine(const QString &callsign, const QString &side)
{
    return callsign.leftJustified(12, QLatin1Char(' '), true) + QStringLiteral("Side ") + side;
}

QString lineCallsign(const QString &line)
{
    return line.left(9).trimmed();
}

QString lineSide(const QString &line)
{
    return line.right(1);
}

QString sortKey(const QString &line)
{
    const qsizetype dash = line.indexOf(QLatin1Char('-'));
    if (dash < 0 || dash + 2 >= line.size() || line.at(dash + 2) != QLatin1Char(' '))
        return line;
    return line.left(dash + 1) + QLatin1Char('0') + line.at(dash + 1) + line.mid(dash + 3);
}

QString unsortKey(const QString &line)
{
    const qsizetype at = line.indexOf(QLatin1String("-0"));
    if (at < 0)
        return line;
    const QString after = at + 2 < line.size() ? QString(line.at(at + 2)) : QString();
    return line.left(at + 1) + after + QLatin1Char(' ') + line.mid(at + 3);
}

QStringList sortedCallsignLines(const QStringList &lines)
{
    QStringList keys;
    keys.reserve(lines.size());
    for (const QString &line : lines)
        keys.append(sortKey(line));
    std::stable_sort(keys.begin(), keys.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    QStringList sorted;
    sorted.reserve(keys.size());
    for (const QString &key : keys)
        sorted.append(unsortKey(key));
    return sorted;
}

QList<clsCallsign> callsignsFromLines(const QStringList &lines)
{
    QList<clsCallsign> calls;
    calls.reserve(lines.size());
    for (const QString &line : lines)
        calls.append(clsCallsign(lineCallsign(line), lineSide(line)));
    return calls;
}

} // namespace orvex
