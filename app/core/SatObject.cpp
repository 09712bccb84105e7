// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/SatObject.h"

#include <QRegularExpression>

namespace {

// Trimmed, with every run of blanks folded to one.
QString foldBlanks(const QString &line)
{
    static const QRegularExpression blanks(QStringLiteral(" {2,}"));
    QString folded = line.trimmed();
    folded.replace(blanks, QStringLiteral(" "));
    return folded;
}

} // namespace

QString MakeLocationCaption(int index, const QString &name)
{
    if (index == 0) {
        if (!name.isEmpty() && name.toUpper() != QLatin1String("ORVEX"))
            return QStringLiteral("ORVEX (") + name + QLatin1Char(')');
        return QStringLiteral("ORVEX");
    }
    if (!name.isEmpty() && name.left(3).toUpper() != QLatin1String("ISS"))
        return QStringLiteral("ISS (") + name + QLatin1Char(')');
    return QStringLiteral("ISS");
}

void ScanKepsText(const QString &text, SatTable &sats)
{
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (normalised.endsWith(QLatin1Char('\n')))
        normalised.chop(1);

    QString older, middle, newest;
    const QStringList lines = normalised.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        older = middle;
        middle = newest;
        newest = line;
        if (newest.trimmed().isEmpty())
            continue;
        newest = foldBlanks(newest);
        const QStringList fields = newest.split(QLatin1Char(' '));
        if (fields.size() < 2 || fields[0] != QLatin1String("2"))
            continue;
        for (SatObject &sat : sats) {
            if (sat.objectNumber != fields[1] || middle.trimmed().isEmpty())
                continue;
            const QStringList first = foldBlanks(middle).split(QLatin1Char(' '));
            if (first.size() >= 2 && first[0] == QLatin1String("1") &&
                first[1].startsWith(sat.objectNumber) && !older.trimmed().isEmpty()) {
                sat.name = foldBlanks(older);
                sat.elementSetFound = true;
            }
        }
    }
}

bool blnAllKepsFound(const SatTable &sats)
{
    for (const SatObject &sat : sats)
        if (!sat.elementSetFound)
            return false;
    return true;
}
