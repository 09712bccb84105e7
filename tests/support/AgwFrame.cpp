// SPDX-License-Identifier: GPL-2.0-or-later
#include "support/AgwFrame.h"

#include <QtEndian>

namespace orvex::test {

namespace {

QByteArray field(const QByteArray &call)
{
    QByteArray f = call.left(10);
    f.append(10 - f.size(), '\0');
    return f;
}

QByteArray untilZero(const QByteArray &bytes)
{
    const qsizetype zero = bytes.indexOf('\0');
    return zero < 0 ? bytes : bytes.left(zero);
}

} // namespace

QByteArray AgwFrame::header(char kind, qint32 dataLength, quint16 port, const QByteArray &fromCall,
                            const QByteArray &toCall)
{
    QByteArray h(36, '\0');
    qToLittleEndian<quint16>(port, h.data());
    h[4] = kind;
    h.replace(8, 10, field(fromCall));
    h.replace(18, 10, field(toCall));
    qToLittleEndian<qint32>(dataLength, h.data() + 28);
    return h;
}

QByteArray AgwFrame::monitorData(const QByteArray &fromCall, const QByteArray &via,
                                 const QByteArray &info)
{
    const QByteArray path = via.isEmpty() ? QByteArray() : " Via " + via;
    return " 1:Fm " + fromCall + " To APRS" + path +
           " <UI pid=F0 Len=" + QByteArray::number(info.size()) + " >[14:07:41]\r" + info + "\r\r" +
           QByteArray(1, '\0');
}

QByteArray AgwFrame::monitored(const QByteArray &fromCall, const QByteArray &via,
                               const QByteArray &info)
{
    return make('U', 0, fromCall, "APRS", monitorData(fromCall, via, info));
}

QByteArray AgwFrame::make(char kind, quint16 port, const QByteArray &fromCall,
                          const QByteArray &toCall, const QByteArray &data, quint16 pid)
{
    QByteArray f = header(kind, static_cast<qint32>(data.size()), port, fromCall, toCall);
    qToLittleEndian<quint16>(pid, f.data() + 6);
    return f + data;
}

QList<AgwFrame> takeFrames(QByteArray &stream)
{
    QList<AgwFrame> frames;
    while (stream.size() >= 36) {
        const qint32 length = qFromLittleEndian<qint32>(stream.constData() + 28);
        if (length < 0 || stream.size() < 36 + length)
            break;
        AgwFrame f;
        f.port = qFromLittleEndian<quint16>(stream.constData());
        f.kind = stream[4];
        f.pid = qFromLittleEndian<quint16>(stream.constData() + 6);
        f.fromCall = untilZero(stream.mid(8, 10));
        f.toCall = untilZero(stream.mid(18, 10));
        f.dataLength = length;
        f.data = stream.mid(36, length);
        f.raw = stream.left(36 + length);
        stream.remove(0, 36 + length);
        frames.append(f);
    }
    return frames;
}

QByteArray fromHex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

} // namespace orvex::test
