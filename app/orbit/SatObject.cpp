// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/SatObject.h"

#include <QStringList>

#include <algorithm>
#include <utility>

namespace {

// Trimmed, with every run of blanks folded to one.
QString foldBlanks(const QString &line)
{
    const QString trimmed = line.trimmed();
    QString folded;
    folded.reserve(trimmed.size());
    for (qsizetype i = 0; i < trimmed.size(); ++i)
        if (trimmed[i] != QLatin1Char(' ') || trimmed[i - 1] != QLatin1Char(' '))
            folded += trimmed[i];
    return folded;
}

// After leading blanks, "2" and a blank: what a line 2 looks like once folded.
bool beginsLineTwo(const QString &line)
{
    qsizetype i = 0;
    while (i < line.size() && line[i].isSpace())
        ++i;
    return i + 1 < line.size() && line[i] == QLatin1Char('2') && line[i + 1] == QLatin1Char(' ');
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
    // Runs of ordinary characters are taken at once; CR, LF and CR LF end a line.
    qsizetype start = 0;
    for (qsizetype i = 0; i <= piece.size(); ++i) {
        const bool atEnd = i == piece.size();
        const QChar c = atEnd ? QChar() : piece[i];
        if (!atEnd && c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        if (i > start) {
            afterCr_ = false;
            if (line_.size() < maxLineLength)
                line_ += piece.sliced(start, std::min(i - start, maxLineLength - line_.size()));
        }
        start = i + 1;
        if (atEnd)
            break;
        if (c == QLatin1Char('\n') && afterCr_) {
            afterCr_ = false; // the LF of a CR LF
            continue;
        }
        afterCr_ = c == QLatin1Char('\r');
        // An empty line after three empty ones changes nothing.
        if (line_.isEmpty() && newest_.isEmpty() && middle_.isEmpty() && older_.isEmpty())
            continue;
        scanLine(std::exchange(line_, QString()));
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
    // Only a line 2 ("2 " and the number) can end a set: every other line is
    // kept as it is (the older lines are folded when they are used).
    if (!beginsLineTwo(newest_))
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
