// SPDX-License-Identifier: GPL-2.0-or-later
#include "AgwTerm.h"

#include <QStringList>

#include <cctype>

namespace {

QByteArray hex(const QByteArray &bytes)
{
    return bytes.toHex().toUpper();
}

QByteArray boolText(bool value)
{
    return value ? QByteArrayLiteral("True") : QByteArrayLiteral("False");
}

QByteArray number(qint64 value)
{
    return QByteArray::number(value);
}

QByteArray join(std::initializer_list<QByteArray> fields)
{
    QByteArray line;
    for (const QByteArray &field : fields) {
        if (!line.isEmpty() || &field != fields.begin())
            line += '|';
        line += field;
    }
    return line;
}

QByteArray portInfoText(const QStringList &list)
{
    QByteArray text;
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (i > 0)
            text += ';';
        text += AgwTerm::escapeText(list[i]);
    }
    return text;
}

QByteArray capabilitiesText(const clsPortCapabilities &c)
{
    return "lngHowManyBytes=" + number(c.lngHowManyBytes()) +
           ",intAx25Channels=" + number(c.intAx25Channels()) +
           ",intMaxFrame=" + number(c.intMaxFrame()) + ",intSlotTime=" + number(c.intSlotTime()) +
           ",intPersist=" + number(c.intPersist()) + ",intTxTail=" + number(c.intTxTail()) +
           ",intTxDelay=" + number(c.intTxDelay()) +
           ",intTrafficLevel=" + number(c.intTrafficLevel()) +
           ",intOnAirBaudRate=" + number(c.intOnAirBaudRate());
}

// Text arguments may carry \xHH escapes, the same as printed texts.
QString unescapeText(const QString &text)
{
    const QByteArray in = text.toLatin1();
    QByteArray out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '\\' && i + 3 < in.size() && in[i + 1] == 'x') {
            bool ok = false;
            const int value = in.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                out += static_cast<char>(value);
                i += 3;
                continue;
            }
        }
        out += in[i];
    }
    return QString::fromLatin1(out);
}

bool parseBool(const QString &text, bool &value)
{
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 ||
        text == QLatin1String("1")) {
        value = true;
        return true;
    }
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 ||
        text == QLatin1String("0")) {
        value = false;
        return true;
    }
    return false;
}

bool parseHex(const QString &text, QByteArray &bytes)
{
    const QByteArray in = text.toLatin1();
    if (in.size() % 2 != 0)
        return false;
    for (char c : in) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    }
    bytes = QByteArray::fromHex(in);
    return true;
}

} // namespace

AgwTerm::AgwTerm(PKLINK &control, Writer writer, QObject *parent)
    : QObject(parent), control_(control), writer_(std::move(writer))
{
    connectEvents();
}

QByteArray AgwTerm::escapeText(const QString &text)
{
    static const char digits[] = "0123456789ABCDEF";
    QByteArray out;
    for (char c : text.toLatin1()) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u > 0x7E || u == '\\' || u == '|') {
            out += "\\x";
            out += digits[u >> 4];
            out += digits[u & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

void AgwTerm::print(const QByteArray &line)
{
    writer_(line);
}

void AgwTerm::printResultOf(const std::function<bool()> &call)
{
    // An error recorded before (and never read) is not this call's: some
    // methods fail without recording any.
    control_.eLastErr();
    control_.strLastErrMsg();
    if (call()) {
        print("ok");
        return;
    }
    const auto code = static_cast<int>(control_.eLastErr());
    print(join({"fail", number(code), escapeText(control_.strLastErrMsg())}));
}

void AgwTerm::connectEvents()
{
    PKLINK *c = &control_;
    connect(c, &PKLINK::WsConnected, this, [this](const QString &strHost) {
        print(join({"WsConnected", escapeText(strHost)}));
    });
    connect(c, &PKLINK::WsDisConnected, this, [this](const QString &strHost) {
        print(join({"WsDisConnected", escapeText(strHost)}));
    });
    connect(c, &PKLINK::WsError, this, [this](qint16 intNum, const QString &strDesc) {
        print(join({"WsError", number(intNum), escapeText(strDesc)}));
    });
    const auto monitor = [this](const char *name) {
        return [this, name](qint16 intPort, const QString &strFromCall, const QString &strToCall,
                            const QByteArray &bData) {
            print(join({name, number(intPort), escapeText(strFromCall), escapeText(strToCall),
                        hex(bData)}));
        };
    };
    connect(c, &PKLINK::MonUFrame, this, monitor("MonUFrame"));
    connect(c, &PKLINK::MonKissFrame, this, monitor("MonKissFrame"));
    connect(c, &PKLINK::MonTFrame, this, monitor("MonTFrame"));
    connect(c, &PKLINK::MonSFrame, this, [this](qint16 intPort, const QByteArray &bData) {
        print(join({"MonSFrame", number(intPort), hex(bData)}));
    });
    connect(c, &PKLINK::MonIFrame, this, [this](qint16 intPort, const QByteArray &bData) {
        print(join({"MonIFrame", number(intPort), hex(bData)}));
    });
    connect(
        c, &PKLINK::Connected, this,
        [this](qint16 intPort, const QString &strCall, const QString &strStatus) {
            print(join({"Connected", number(intPort), escapeText(strCall), escapeText(strStatus)}));
        });
    connect(c, &PKLINK::Disconnected, this,
            [this](qint16 intPort, const QString &strCall, const QString &strStatus) {
                print(join(
                    {"Disconnected", number(intPort), escapeText(strCall), escapeText(strStatus)}));
            });
    connect(c, &PKLINK::OutStandingFramesForStation, this,
            [this](qint16 intPort, const QString &strCall, qint16 intCount) {
                print(join({"OutStandingFramesForStation", number(intPort), escapeText(strCall),
                            number(intCount)}));
            });
    connect(c, &PKLINK::OutStandingFramesForPort, this, [this](qint16 intPort, qint16 intCount) {
        print(join({"OutStandingFramesForPort", number(intPort), number(intCount)}));
    });
    connect(c, &PKLINK::PortCapabilities, this,
            [this](qint16 intPort, const clsPortCapabilities &cP) {
                print(join({"PortCapabilities", number(intPort), capabilitiesText(cP)}));
            });
    connect(c, &PKLINK::CallsignRegistered, this, [this](const QString &strCall, bool blnOk) {
        print(join({"CallsignRegistered", escapeText(strCall), boolText(blnOk)}));
    });
    connect(c, &PKLINK::RxFrame, this,
            [this](qint16 intPort, const QString &strFromCall, const QString &strToCall,
                   qint16 intPid, const QByteArray &bData) {
                print(join({"RxFrame", number(intPort), escapeText(strFromCall),
                            escapeText(strToCall), number(intPid), hex(bData)}));
            });
    connect(c, &PKLINK::MhData, this, [this](qint16 intPort, const QString &strHeard) {
        print(join({"MhData", number(intPort), escapeText(strHeard)}));
    });
    connect(c, &PKLINK::GotVersion, this,
            [this](qint32 lngMajorVersion, qint32 lngMinorVersion, const QString &strVersion) {
                print(join({"GotVersion", number(lngMajorVersion), number(lngMinorVersion),
                            escapeText(strVersion)}));
            });
    connect(c, &PKLINK::GotPortInfo, this, [this](const QStringList &strPortInfo) {
        print(join({"GotPortInfo", portInfoText(strPortInfo)}));
    });
}

bool AgwTerm::execute(const QString &rawLine)
{
    QString line = rawLine;
    while (line.endsWith(QLatin1Char('\r')) || line.endsWith(QLatin1Char('\n')))
        line.chop(1);
    if (line.isEmpty())
        return true;
    const QStringList a = line.split(QLatin1Char('|'));
    const QString &name = a[0];
    const qsizetype args = a.size() - 1;

    const auto wrongArgs = [&] {
        print("error|wrong number of arguments for " + escapeText(name));
    };
    const auto port = [&](qsizetype i, qint16 &value) {
        bool ok = false;
        value = a[i].toShort(&ok);
        if (!ok)
            print("error|not a port number: " + escapeText(a[i]));
        return ok;
    };
    const auto text = [&](qsizetype i) { return unescapeText(a[i]); };
    const auto bytes = [&](qsizetype i, QByteArray &value) {
        const bool ok = parseHex(a[i], value);
        if (!ok)
            print("error|not hex bytes: " + escapeText(a[i]));
        return ok;
    };

    qint16 p = 0;
    QByteArray data;

    if (name == QLatin1String("quit"))
        return false;

    if (name == QLatin1String("set")) {
        if (args != 2) {
            wrongArgs();
            return true;
        }
        const QString &property = a[1];
        if (property == QLatin1String("AgwIpHost")) {
            control_.setAgwIpHost(text(2));
        } else if (property == QLatin1String("AgwIpPort")) {
            bool ok = false;
            const quint16 value = a[2].toUShort(&ok);
            if (!ok) {
                print("error|not a TCP port: " + escapeText(a[2]));
                return true;
            }
            control_.setAgwIpPort(value);
        } else if (property == QLatin1String("AgwLoginId")) {
            control_.setAgwLoginId(text(2));
        } else if (property == QLatin1String("AgwPassword")) {
            control_.setAgwPassword(text(2));
        } else if (property == QLatin1String("eLastErr")) {
            bool ok = false;
            const int value = a[2].toInt(&ok);
            if (!ok || value < 0 || value > static_cast<int>(AGW_ERR::UNTRAPPED_ERROR)) {
                print("error|not an error code: " + escapeText(a[2]));
                return true;
            }
            control_.setELastErr(static_cast<AGW_ERR>(value));
        } else {
            print("error|not a writable property: " + escapeText(property));
            return true;
        }
        print("ok");
        return true;
    }

    struct Reading
    {
        const char *name;
        std::function<QByteArray()> value;
    };
    const Reading readings[] = {
        {"intPortCount", [&] { return number(control_.intPortCount()); }},
        {"strPortInfo", [&] { return portInfoText(control_.strPortInfo()); }},
        {"lngMajorVersion", [&] { return number(control_.lngMajorVersion()); }},
        {"lngMinorVersion", [&] { return number(control_.lngMinorVersion()); }},
        {"AgwRemoteHost", [&] { return escapeText(control_.AgwRemoteHost()); }},
        {"eLastErr", [&] { return number(static_cast<int>(control_.eLastErr())); }},
        {"strLastErrMsg", [&] { return escapeText(control_.strLastErrMsg()); }},
        {"AgwIpHost", [&] { return escapeText(control_.AgwIpHost()); }},
        {"AgwIpPort", [&] { return number(control_.AgwIpPort()); }},
        {"AgwLoginId", [&] { return escapeText(control_.AgwLoginId()); }},
        {"AgwPassword", [&] { return escapeText(control_.AgwPassword()); }},
    };
    for (const Reading &reading : readings) {
        if (name == QLatin1String(reading.name)) {
            if (args != 0)
                wrongArgs();
            else
                print(reading.value());
            return true;
        }
    }

    const auto expect = [&](qsizetype n) {
        if (args != n)
            wrongArgs();
        return args == n;
    };

    if (name == QLatin1String("ConnectToAgw")) {
        if (expect(0))
            printResultOf([&] { return control_.ConnectToAgw(); });
    } else if (name == QLatin1String("DisconnectFromAgw")) {
        if (expect(0))
            printResultOf([&] { return control_.DisconnectFromAgw().toBool(); });
    } else if (name == QLatin1String("AgwInit")) {
        if (expect(0)) {
            control_.AgwInit();
            print("ok");
        }
    } else if (name == QLatin1String("AskMH")) {
        if (expect(1) && port(1, p))
            printResultOf([&] { return control_.AskMH(p); });
    } else if (name == QLatin1String("AskPortCapabilities")) {
        if (expect(1) && port(1, p))
            printResultOf([&] { return control_.AskPortCapabilities(p); });
    } else if (name == QLatin1String("RegisterCallsign")) {
        if (expect(1))
            printResultOf([&] { return control_.RegisterCallsign(text(1)); });
    } else if (name == QLatin1String("UnregisterCallsign")) {
        if (expect(1))
            printResultOf([&] { return control_.UnregisterCallsign(text(1)); });
    } else if (name == QLatin1String("ConnectTo")) {
        if (expect(3) && port(1, p))
            printResultOf([&] { return control_.ConnectTo(p, text(2), text(3)); });
    } else if (name == QLatin1String("DisconnectFrom")) {
        if (expect(3) && port(1, p))
            printResultOf([&] { return control_.DisconnectFrom(p, text(2), text(3)); });
    } else if (name == QLatin1String("SendUnproto")) {
        if (expect(4) && port(1, p) && bytes(4, data))
            printResultOf([&] { return control_.SendUnproto(p, text(2), text(3), data); });
    } else if (name == QLatin1String("SendDataToStation")) {
        if (expect(4) && port(1, p) && bytes(4, data))
            printResultOf([&] { return control_.SendDataToStation(p, text(2), text(3), data); });
    } else if (name == QLatin1String("SendKissFrame")) {
        if (expect(2) && port(1, p) && bytes(2, data))
            printResultOf([&] { return control_.SendKissFrame(p, data); });
    } else if (name == QLatin1String("ReceiveMonitoredFrames") ||
               name == QLatin1String("ReceiveRawFrames")) {
        bool on = false;
        if (!expect(1))
            return true;
        if (!parseBool(a[1], on)) {
            print("error|not True or False: " + escapeText(a[1]));
            return true;
        }
        printResultOf([&] {
            return name == QLatin1String("ReceiveMonitoredFrames")
                       ? control_.ReceiveMonitoredFrames(on)
                       : control_.ReceiveRawFrames(on);
        });
    } else {
        print("error|unknown member: " + escapeText(name));
    }
    return true;
}
