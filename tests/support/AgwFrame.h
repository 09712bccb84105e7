// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// AGWPE frames for tests, built and read independently of the code under test.

#include <QByteArray>
#include <QList>

namespace orvex::test {

struct AgwFrame
{
    quint16 port = 0;
    char kind = 0;
    quint16 pid = 0;
    QByteArray fromCall; // up to the first zero byte
    QByteArray toCall;
    qint32 dataLength = 0; // as written in the header
    QByteArray data;
    QByteArray raw; // the whole frame as it was on the wire

    // A frame as an engine would write it; the data length is the data's size.
    static QByteArray make(char kind, quint16 port = 0, const QByteArray &fromCall = {},
                           const QByteArray &toCall = {}, const QByteArray &data = {},
                           quint16 pid = 0);
    // The data of a monitored UI frame as AGWPE writes it: the header line
    // (to APRS, via `via` when given), CR, `info`, CR CR and a NUL.
    static QByteArray monitorData(const QByteArray &fromCall, const QByteArray &via,
                                  const QByteArray &info);
    // A whole 'U' frame carrying that data.
    static QByteArray monitored(const QByteArray &fromCall, const QByteArray &via,
                                const QByteArray &info);
    // A bare header announcing `dataLength` bytes, whatever follows.
    static QByteArray header(char kind, qint32 dataLength, quint16 port = 0,
                             const QByteArray &fromCall = {}, const QByteArray &toCall = {});
};

// Cuts whole frames off the front of `stream`; what is left is a partial frame.
QList<AgwFrame> takeFrames(QByteArray &stream);

// Hex text ("4D 00 ..." or "4D00...") to bytes.
QByteArray fromHex(const char *text);

} // namespace orvex::test
