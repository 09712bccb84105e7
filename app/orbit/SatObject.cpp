// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/SatObject.h"

#include <QRegularExpression>

#include <utility>

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
    KepsScanner scanner(sats);
    scanner.feed(text);
    scanner.finish();
}

void KepsScanner::feed(QStringView piece)
{
    for (const QChar c : piece) {
        if (c == QLatin1Char('\n') && afterCr_) {
            afterCr_ = false; // the LF of a CR LF
            continue;
        }
        afterCr_ = c == QLatin1Char('\r');
        if (afterCr_ || c == QLatin1Char('\n')) {
            scanLine(std::exchange(line_, QString()));
            continue;
        }
        if (line_.size() < maxLineLength)
            line_ += c;
    }
}

void KepsScanner::finish()
{
    if (!line_.isEmpty())
        scanLine(std::exchange(line_, QString()));
    afterCr_ = false;
}

void KepsScanner::scanLine(const QString &line)
{
    older_ = std::move(middle_);
    middle_ = std::move(newest_);
    newest_ = line;
    if (newest_.trimmed().isEmpty())
        return;
    newest_ = foldBlanks(newest_);
    const QStringList fields = newest_.split(QLatin1Char(' '));
    if (fields.size() < 2 || fields[0] != QLatin1String("2"))
        return;
    for (SatObject &sat : sats_) {
        if (sat.objectNumber != fields[1] || middle_.trimmed().isEmpty())
            continue;
        const QStringList first = foldBlanks(middle_).split(QLatin1Char(' '));
        if (first.size() >= 2 && first[0] == QLatin1String("1") &&
            first[1].startsWith(sat.objectNumber) && !older_.trimmed().isEmpty()) {
            sat.name = foldBlanks(older_);
            sat.elementSetFound = true;
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
