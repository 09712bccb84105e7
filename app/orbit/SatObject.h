// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <array>

// One of the two tracked satellites: 0 is ORVEX, 1 the ISS.
struct SatObject
{
    QString name;         // element-set name line, or "ORVEX" / "ISS"
    QString objectNumber; // catalogue number
    qint16 refreshPeriod = 10;
    qint16 tickCounter = 0;
    bool elementSetFound = false;
};

using SatTable = std::array<SatObject, 2>;

// The display name of satellite `index`: "ORVEX" or "ISS", with the element
// set's own name in brackets when it is another.
QString MakeLocationCaption(int index, const QString &name);

// Looks through one element file's text for the element sets of both
// satellites (name line, line 1 and line 2 of the catalogue number); a set
// found sets the satellite's name and its found flag. A later match wins.
void ScanKepsText(const QString &text, SatTable &sats);

// The same scan over a text that arrives in pieces of any size (a file read
// block by block), so that a file of any size is scanned in little memory.
// CR LF, CR and LF all end a line. Lines longer than maxLineLength keep only
// their start: no element set line comes near it.
class KepsScanner
{
public:
    static constexpr qsizetype maxLineLength = 4096;

    explicit KepsScanner(SatTable &sats) : sats_(sats) {}
    void feed(QStringView piece);
    // The text has ended: its last line, if it had no line end, is scanned.
    void finish();

private:
    void scanLine(const QString &line);

    SatTable &sats_;
    QString line_; // the line being gathered
    bool afterCr_ = false;
    QString older_, middle_, newest_;
};
// Every satellite has its element set.
bool blnAllKepsFound(const SatTable &sats);
