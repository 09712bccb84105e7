// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

// The packet terminal's rules that need no window: monitor trimming, the
// wrapping of long transmit lines, address and port checks, beacon texts,
// the LOGGING key and the monitor font size.
namespace TerminalRules {

// Monitor bounds, in characters (a line end counts as one).
constexpr int monitorLimit = 10000;
constexpr int monitorKeep = 5000;
constexpr int monitorKeepAtLeast = 4500;

// How many leading characters to drop from a monitor holding `text` before
// more is appended: 0 while it holds at most 10000 characters; otherwise the
// cut ends just after the first line feed found from 5000 characters before
// the end onwards, or leaves the last 4500 characters when no line feed lies
// in those 500 characters.
int monitorCutLength(QStringView text);

// Width at which the transmit line is sent on by itself.
constexpr int transmitWrapWidth = 72;

struct WrappedLine
{
    QString first; // what is sent now
    QString rest;  // what stays in the box
};

// Splits `text` for sending at `width`: at the last space among the
// characters width-19 .. width+1 (1-based), the space itself dropped; with
// no space there, hard after `width` characters.
WrappedLine WrapLine(const QString &text, int width);

struct ViaResult
{
    bool valid = true;
    QString path;     // the rebuilt path when valid: callsigns joined by ","
    QString badPiece; // the first piece that is not a callsign
};

// Normalises a digipeater path typed with spaces and/or commas into
// callsigns joined by single commas, checking each. An empty path is valid.
ViaResult ValidateVia(const QString &text);
// "<piece> is not a valid AX25 address."
QString viaRefusal(const QString &badPiece);

// The To field: empty, or one callsign or alias.
bool isValidTo(const QString &text);

// Highest port number the Port field may hold: the engine's port count, or
// 2 while none is known.
int highestPort(qint16 portCount);
// False when the field's number exceeds highestPort(portCount).
bool isValidPort(const QString &text, qint16 portCount);
// "The highest available port is <n>."
QString portRefusal(qint16 portCount);
// The 1-based AGWPE port to send on: the field's number, 1 when that is 0.
qint16 transmitPort(const QString &text);

// Destination and digipeater path as the control's SendUnproto takes them:
// the destination, one space, then the path (which may be empty).
QString destinationWithPath(const QString &destination, const QString &via);

// APRS position report: "!" lat symbolTable long symbol comment.
QString positionBeacon(const QString &lat, const QString &lon, QChar symbolTable, QChar symbol,
                       const QString &comment);
// APRS status with a Maidenhead locator: ">" locator symbolTable symbol,
// then " " comment when there is a comment.
QString locatorBeacon(const QString &locator, QChar symbolTable, QChar symbol,
                      const QString &comment);
// A symbol setting keeps only its first character; empty gives a space.
QChar symbolFromSetting(const QString &value);

// The TERMINAL/LOGGING value: the words True and False in any letter case,
// or a number (0 off, anything else on). Any other text counts as off.
bool loggingFromText(const QString &text);
// The stored form written when logging is toggled: "True" or "False".
QString loggingText(bool on);

// The monitor face and the size it is asked for, points.
inline const char *terminalFace = "GLYPHIX";
constexpr double terminalFontPoints = 12.0;

// The point size to use for `face` nearest to `points`: for GLYPHIX one of
// its pixel heights 10, 12, 14, 16, 22 and 27 converted to points at
// `twipsPerPixel` (15 at 96 DPI), the first on a tie; any other face gets
// `points` back.
double NearestFontSize(const QString &face, double points, double twipsPerPixel);

} // namespace TerminalRules
