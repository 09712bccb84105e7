// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/DateTime.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The monitor's text handling: AGWPE's monitor header rewritten for display,
// line ends normalised, and the kinds of monitor text.
//
// AGWPE writes a monitored frame as a header line, CR, the frame's text:
//    1:Fm Q9ZZZ-3 To APRS Via ORVEX-1 <UI pid=F0 Len=16 >[14:07:41]\r...
// and Dire Wolf the same with a PF field: <UI pid=F0 Len=16 PF=0 >.
// The long form shown is
//   14:07:41R Q9ZZZ-3>APRS,ORVEX-1 Port=1 <UI Len=16>:
// and the short form, for the satellite's own frames,
//   14:07:41 Q9ZZZ-3>APRS,ORVEX-1:
namespace monitor {

// Kinds of monitor text.
enum Kind : qint32 {
    LinkMessage = 0,
    SatelliteShort = 1,
    UiFrame = 2,
    IFrame = 3,
    Transmitted = 4,
    SFrame = 5,
};

// One character per byte.
QString bytesToText(const QByteArray &bytes);

// CR LF, then any remaining LF, become CR.
QString normaliseLineEnds(const QString &text);

// The header rewritten; empty when it cannot be parsed. `displayTime`
// gives the hh:mm:ss of the line.
QString FormatMonitorHeader(const QString &header, qint32 kind, bool shortForm,
                            orvex::Date displayTime);

// A monitored frame as shown: its header (up to the first CR) rewritten in
// long form, the rest kept. Text without a CR is returned unchanged.
QString rewriteMonitoredFrame(const QByteArray &data, qint32 kind, orvex::Date displayTime);

// The frame's lines after normalising line ends: line 0 is the header line,
// line 1 the first line of the frame's own text.
QStringList frameLines(const QByteArray &data);

// Lines trimmed, empty ones dropped, each ended by CR LF.
QString joinMonitorLines(const QString &text);

// The text box keeps at most about 10000 characters: above that it is cut
// back to its last 5000 before more is added.
constexpr int monitorLimit = 10000;
constexpr int monitorKeep = 5000;

} // namespace monitor
