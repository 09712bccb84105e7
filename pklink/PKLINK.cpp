// SPDX-License-Identifier: GPL-2.0-or-later
#include "pklink/PKLINK.h"

#include "pklink/AgwCodec.h"
#include "pklink/AgwDispatcher.h"
#include "pklink/AgwStreamCutter.h"

#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <array>

namespace {

std::string latin1(const QString &text)
{
    return text.toLatin1().toStdString();
}

QString fromLatin1(const std::string &text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

agw::Bytes toBytes(const QByteArray &data)
{
    return agw::Bytes(data.begin(), data.end());
}

QByteArray toByteArray(const agw::Bytes &data)
{
    return QByteArray(reinterpret_cast<const char *>(data.data()),
                      static_cast<qsizetype>(data.size()));
}

constexpr std::array<const char *, 12> errorMessages = {
    "No error",
    "A Winsock connection to AGWPE already exists",
    "No Winsock connection exists",
    "No IP host address has been specified",
    "No IP port has been specified",
    "No AX25 connection to this station exists",
    "An invalid callsign has been specified",
    "You are trying to use too many digis. the maximum is eight",
    "An invalid AGW port has been specified",
    "That callsign is already registered",
    "Not connected to the station on the specified port",
    "An untrapped error occurred in sub/function ",
};

// The error numbers a host of the Winsock control knew, so that hosts can tell
// failures apart by number as before.
qint16 winsockErrorNumber(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return 10061;
    case QAbstractSocket::RemoteHostClosedError:
        return 10054;
    case QAbstractSocket::HostNotFoundError:
        return 11001;
    case QAbstractSocket::SocketAccessError:
        return 10013;
    case QAbstractSocket::SocketResourceError:
        return 10055;
    case QAbstractSocket::SocketTimeoutError:
        return 10060;
    case QAbstractSocket::DatagramTooLargeError:
        return 10040;
    case QAbstractSocket::NetworkError:
        return 10050;
    case QAbstractSocket::AddressInUseError:
        return 10048;
    case QAbstractSocket::SocketAddressNotAvailableError:
        return 10049;
    case QAbstractSocket::UnsupportedSocketOperationError:
        return 10045;
    default:
        return 10022;
    }
}

// The months of heard-list lines in the language of the default locale (the
// system's, unless the host set another), cut to three letters so that the
// columns stay aligned; English where that language has no names the
// program's one-byte text can carry, or none of three letters.
agw::MonthNames localMonthNames()
{
    const QLocale locale;
    agw::MonthNames names;
    for (int month = 1; month <= 12; ++month) {
        QString name = locale.monthName(month, QLocale::ShortFormat);
        if (name.endsWith(QLatin1Char('.')))
            name.chop(1);
        name.truncate(3);
        const bool letters =
            std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c.isLetter(); });
        if (name.size() != 3 || !letters || QString::fromLatin1(name.toLatin1()) != name)
            return agw::englishMonthNames();
        names[static_cast<std::size_t>(month - 1)] = name.toLatin1().toStdString();
    }
    return names;
}

// Reported with WsError when a connect gets no answer in time, as the
// system's own connect timeout is.
constexpr qint16 connectTimeoutErrorNumber = 10060;

// Reported with WsError when the engine announces a data part no engine sends.
constexpr qint16 badLengthErrorNumber = 10040;

// At most this much received data waits in the socket. Each read then hands
// the host a bounded batch of frames, so a flooding engine cannot hold the
// event loop for seconds (the timers tick between batches), and the rest
// stays with the system, whose window pushes back on the engine.
constexpr qint64 readBufferBytes = qint64{32} * 1024;

} // namespace

class PKLINK::Private : public agw::AgwEvents
{
public:
    explicit Private(PKLINK *control) : q(control), dispatcher(*this) {}

    void fail(AGW_ERR code)
    {
        lastErr = code;
        lastErrMsg = QString::fromLatin1(errorMessages[static_cast<std::size_t>(code)]);
    }

    void untrapped(const char *procName)
    {
        strProcName = QString::fromLatin1(procName);
        fail(AGW_ERR::UNTRAPPED_ERROR);
        lastErrMsg += strProcName + QStringLiteral("()");
    }

    bool checkLink()
    {
        if (!linkUp)
            fail(AGW_ERR::NO_WINSOCK_CONNECTION);
        return linkUp;
    }

    bool checkPort(qint16 port)
    {
        const bool ok = port >= 1 && port <= dispatcher.portCount();
        if (!ok)
            fail(AGW_ERR::INVALID_AGW_PORT);
        return ok;
    }

    bool checkCallsign(const QString &call)
    {
        const bool ok = call.size() >= 1 && call.size() <= 9;
        if (!ok)
            fail(AGW_ERR::INVALID_CALLSIGN);
        return ok;
    }

    // The destination and its digipeaters, or nothing after recording why not.
    std::optional<agw::Destination> checkDestination(const QString &destination)
    {
        agw::Destination parsed = agw::ParseDestination(latin1(destination));
        if (!parsed.ok || parsed.destinationField.empty()) {
            fail(AGW_ERR::INVALID_CALLSIGN);
            return std::nullopt;
        }
        if (parsed.digipeaterCount > agw::MaxDigipeaters) {
            fail(AGW_ERR::TOO_MANY_DIGIS);
            return std::nullopt;
        }
        return parsed;
    }

    static std::uint16_t enginePort(qint16 port) { return static_cast<std::uint16_t>(port - 1); }

    // Hands one whole frame to the socket in one write; dropped while the
    // link is down.
    void SendFrame(const agw::Bytes &frame)
    {
        if (!linkUp || !socket)
            return;
        socket->write(reinterpret_cast<const char *>(frame.data()),
                      static_cast<qint64>(frame.size()));
        socket->flush();
    }

    void sendSimple(char kind, std::uint16_t port = 0, const std::string &fromField = {},
                    const std::string &toField = {})
    {
        SendFrame(agw::buildFrame(kind, port, fromField, toField));
    }

    void AskVersion()
    {
        if (checkLink())
            sendSimple('R');
    }

    void AskPortInfo()
    {
        if (checkLink())
            sendSimple('G');
    }

    // Drops the socket without letting it report anything more.
    void dropSocket()
    {
        connectTimer->stop();
        if (!socket)
            return;
        QTcpSocket *old = socket;
        socket = nullptr;
        QObject::disconnect(old, nullptr, q, nullptr);
        old->abort();
        old->deleteLater();
    }

    void startSocket()
    {
        dropSocket();
        socket = new QTcpSocket(q);
        socket->setReadBufferSize(readBufferBytes);
        QObject::connect(socket, &QTcpSocket::connected, q, [this] { LinkUp(); });
        QObject::connect(socket, &QTcpSocket::readyRead, q, [this] { ReadStream(); });
        QObject::connect(socket, &QTcpSocket::disconnected, q, [this] { peerClosed(); });
        QObject::connect(socket, &QTcpSocket::errorOccurred, q,
                         [this](QAbstractSocket::SocketError error) { socketError(error); });
        socket->connectToHost(ipHost, ipPort);
        connectTimer->start(connectTimeoutMs);
    }

    void connectTimedOut()
    {
        if (!socket || linkUp)
            return;
        failLink(connectTimeoutErrorNumber,
                 QStringLiteral("Connection timed out: no answer within %1 seconds")
                     .arg(connectTimeoutMs / 1000.0));
    }

    void LinkUp()
    {
        connectTimer->stop();
        cutter.reset();
        ++linkGeneration;
        linkUp = true;
        monitorOn = false;
        rawOn = false;
        dispatcher.resetLinkState();
        q->AgwInit();
        emit q->WsConnected(remoteHost);
    }

    void CloseLink()
    {
        linkUp = false;
        ++linkGeneration;
        dropSocket();
        emit q->WsDisConnected(remoteHost);
    }

    void ReadStream()
    {
        if (!socket || !linkUp)
            return;
        const QByteArray bytes = socket->readAll();
        cutter.append(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                      static_cast<std::size_t>(bytes.size()));
        // A slot may close or reopen the link while a frame is dispatched; the
        // rest of the old stream is then no longer ours to deliver.
        const quint64 generation = linkGeneration;
        agw::Bytes header, data;
        while (linkGeneration == generation) {
            const auto result = cutter.next(header, data);
            if (result == agw::AgwStreamCutter::Result::NeedMore)
                return;
            if (result == agw::AgwStreamCutter::Result::BadLength) {
                failLink(badLengthErrorNumber,
                         QStringLiteral("Received a frame announcing %1 data bytes, outside "
                                        "0 to %2; the link was closed")
                             .arg(cutter.badLength())
                             .arg(agw::MaxReceivedDataLength));
                return;
            }
            dispatcher.DispatchFrame(header.data(), data);
        }
    }

    void peerClosed()
    {
        if (!linkUp)
            return;
        // Frames that arrived just before the close are still delivered.
        ReadStream();
        if (linkUp)
            CloseLink();
    }

    // A failed link can be opened again at once: the flag is cleared and the
    // socket closed before the host hears of it.
    void failLink(qint16 number, const QString &description)
    {
        linkUp = false;
        ++linkGeneration;
        dropSocket();
        emit q->WsError(number, description);
    }

    void socketError(QAbstractSocket::SocketError error)
    {
        if (error == QAbstractSocket::RemoteHostClosedError && linkUp) {
            peerClosed();
            return;
        }
        const QString description = socket ? socket->errorString() : QString();
        failLink(winsockErrorNumber(error), description);
    }

    // agw::AgwEvents
    void MonUFrame(std::int16_t port, const std::string &fromCall, const std::string &toCall,
                   const agw::Bytes &data) override
    {
        emit q->MonUFrame(port, fromLatin1(fromCall), fromLatin1(toCall), toByteArray(data));
    }
    void MonKissFrame(std::int16_t port, const std::string &fromCall, const std::string &toCall,
                      const agw::Bytes &data) override
    {
        emit q->MonKissFrame(port, fromLatin1(fromCall), fromLatin1(toCall), toByteArray(data));
    }
    void MonTFrame(std::int16_t port, const std::string &fromCall, const std::string &toCall,
                   const agw::Bytes &data) override
    {
        emit q->MonTFrame(port, fromLatin1(fromCall), fromLatin1(toCall), toByteArray(data));
    }
    void MonSFrame(std::int16_t port, const agw::Bytes &data) override
    {
        emit q->MonSFrame(port, toByteArray(data));
    }
    void MonIFrame(std::int16_t port, const agw::Bytes &data) override
    {
        emit q->MonIFrame(port, toByteArray(data));
    }
    void Connected(std::int16_t port, const std::string &call, const std::string &status) override
    {
        emit q->Connected(port, fromLatin1(call), fromLatin1(status));
    }
    void Disconnected(std::int16_t port, const std::string &call,
                      const std::string &status) override
    {
        emit q->Disconnected(port, fromLatin1(call), fromLatin1(status));
    }
    void OutStandingFramesForStation(std::int16_t port, const std::string &call,
                                     std::int16_t count) override
    {
        emit q->OutStandingFramesForStation(port, fromLatin1(call), count);
    }
    void OutStandingFramesForPort(std::int16_t port, std::int16_t count) override
    {
        emit q->OutStandingFramesForPort(port, count);
    }
    void PortCapabilities(std::int16_t port, const clsPortCapabilities &capabilities) override
    {
        emit q->PortCapabilities(port, capabilities);
    }
    void CallsignRegistered(const std::string &call, bool ok) override
    {
        emit q->CallsignRegistered(fromLatin1(call), ok);
    }
    void RxFrame(std::int16_t port, const std::string &fromCall, const std::string &toCall,
                 std::int16_t pid, const agw::Bytes &data) override
    {
        emit q->RxFrame(port, fromLatin1(fromCall), fromLatin1(toCall), pid, toByteArray(data));
    }
    void MhData(std::int16_t port, const std::string &heard) override
    {
        emit q->MhData(port, fromLatin1(heard));
    }
    void GotVersion(std::int32_t major, std::int32_t minor, const std::string &version) override
    {
        emit q->GotVersion(major, minor, fromLatin1(version));
    }
    void GotPortInfo(const std::vector<std::string> &) override
    {
        emit q->GotPortInfo(q->strPortInfo());
    }

    PKLINK *q;
    QLabel *Label1 = nullptr; // NOLINT(readability-identifier-naming): the control's own name
    QTcpSocket *socket = nullptr;
    QTimer *connectTimer = nullptr;
    int connectTimeoutMs = 15000;
    agw::AgwDispatcher dispatcher;
    agw::AgwStreamCutter cutter;
    quint64 linkGeneration = 0;
    bool linkUp = false;
    bool monitorOn = false;
    bool rawOn = false;
    QString ipHost = QStringLiteral("localhost");
    quint16 ipPort = 8000;
    QString remoteHost;
    QString loginId;
    QString password;
    AGW_ERR lastErr = AGW_ERR::NO_ERROR;
    QString lastErrMsg;
    QString strProcName;
};

PKLINK::PKLINK(QWidget *parent) : QWidget(parent), d(std::make_unique<Private>(this))
{
    d->Label1 = new QLabel(QStringLiteral("PK LINK"), this);
    d->dispatcher.setMonthNames(localMonthNames());
    d->connectTimer = new QTimer(this);
    d->connectTimer->setSingleShot(true);
    connect(d->connectTimer, &QTimer::timeout, this, [this] { d->connectTimedOut(); });
    d->Label1->move(0, 0);
    d->Label1->adjustSize();
    setFixedSize(d->Label1->size());
    readProperties({});
}

PKLINK::~PKLINK()
{
    d->dropSocket();
}

void PKLINK::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (size() != d->Label1->size())
        setFixedSize(d->Label1->size());
}

void PKLINK::readProperties(const QVariantMap &propBag)
{
    d->ipHost = propBag.value(QStringLiteral("AgwIpHost"), QStringLiteral("localhost")).toString();
    bool ok = false;
    const int port = propBag.value(QStringLiteral("AgwIpPort"), QStringLiteral("8000")).toInt(&ok);
    d->ipPort = (ok && port >= 0 && port <= 65535) ? static_cast<quint16>(port) : 8000;
}

void PKLINK::writeProperties(QVariantMap &propBag) const
{
    propBag.insert(QStringLiteral("AgwIpHost"), d->ipHost);
    propBag.insert(QStringLiteral("AgwIpPort"), static_cast<int>(d->ipPort));
}

QString PKLINK::AgwLoginId() const
{
    return d->loginId;
}
void PKLINK::setAgwLoginId(const QString &strLoginId)
{
    d->loginId = strLoginId;
}
QString PKLINK::AgwPassword() const
{
    return d->password;
}
void PKLINK::setAgwPassword(const QString &strPassword)
{
    d->password = strPassword;
}
quint16 PKLINK::AgwIpPort() const
{
    return d->ipPort;
}
void PKLINK::setAgwIpPort(quint16 intIpPort)
{
    d->ipPort = intIpPort;
}
QString PKLINK::AgwIpHost() const
{
    return d->ipHost;
}
void PKLINK::setAgwIpHost(const QString &strIpHost)
{
    d->ipHost = strIpHost;
}
QString PKLINK::AgwRemoteHost() const
{
    return d->remoteHost;
}
qint32 PKLINK::lngMajorVersion() const
{
    return d->dispatcher.majorVersion();
}
qint32 PKLINK::lngMinorVersion() const
{
    return d->dispatcher.minorVersion();
}
qint16 PKLINK::intPortCount() const
{
    return d->dispatcher.portCount();
}

QStringList PKLINK::strPortInfo() const
{
    QStringList list;
    for (const std::string &entry : d->dispatcher.portInfo())
        list.append(fromLatin1(entry));
    return list;
}

AGW_ERR PKLINK::eLastErr()
{
    const AGW_ERR code = d->lastErr;
    d->lastErr = AGW_ERR::NO_ERROR;
    return code;
}

void PKLINK::setELastErr(AGW_ERR eErr)
{
    const auto value = static_cast<int>(eErr);
    if (value >= 0 && value < static_cast<int>(errorMessages.size()))
        d->fail(eErr);
}

QString PKLINK::strLastErrMsg()
{
    QString message;
    message.swap(d->lastErrMsg);
    return message;
}

bool PKLINK::ConnectToAgw()
{
    if (d->linkUp) {
        d->fail(AGW_ERR::WINSOCK_CONNECTION_ALREADY_EXISTS);
        return false;
    }
    if (d->ipHost.isEmpty()) {
        d->fail(AGW_ERR::NO_HOST_ADDRESS);
        return false;
    }
    if (d->ipPort == 0) {
        d->fail(AGW_ERR::NO_HOST_PORT);
        return false;
    }
    // A connect still under way is replaced by this one.
    d->remoteHost = d->ipHost;
    d->startSocket();
    return true;
}

void PKLINK::setConnectTimeout(int milliseconds)
{
    d->connectTimeoutMs = milliseconds;
}

int PKLINK::connectTimeout() const
{
    return d->connectTimeoutMs;
}

QVariant PKLINK::DisconnectFromAgw()
{
    if (!d->linkUp) {
        d->fail(AGW_ERR::NO_WINSOCK_CONNECTION);
        return {};
    }
    d->CloseLink();
    return true;
}

void PKLINK::AgwInit()
{
    if (!d->loginId.isEmpty() && !d->password.isEmpty()) {
        const auto frame = agw::loginFrame(latin1(d->loginId), latin1(d->password));
        if (!frame)
            return;
        d->SendFrame(*frame);
    }
    d->AskVersion();
    d->AskPortInfo();
    ReceiveMonitoredFrames(true);
}

bool PKLINK::ReceiveMonitoredFrames(bool blnR)
{
    if (!d->linkUp || blnR == d->monitorOn)
        return false;
    d->sendSimple('m');
    d->monitorOn = blnR;
    return true;
}

bool PKLINK::ReceiveRawFrames(bool blnR)
{
    if (!d->linkUp || blnR == d->rawOn)
        return false;
    d->sendSimple('k');
    d->rawOn = blnR;
    return true;
}

bool PKLINK::RegisterCallsign(const QString &strCall)
{
    if (!d->checkLink() || !d->checkCallsign(strCall))
        return false;
    if (d->dispatcher.IsRegistered(latin1(strCall))) {
        d->fail(AGW_ERR::CALLSIGN_ALREADY_REGISTERED);
        return false;
    }
    d->sendSimple('X', 0, agw::PadCallsign(latin1(strCall)));
    return true;
}

bool PKLINK::UnregisterCallsign(const QString &strCall)
{
    if (!d->checkLink() || !d->checkCallsign(strCall))
        return false;
    d->sendSimple('x', 0, agw::PadCallsign(latin1(strCall)));
    d->dispatcher.RemoveRegistered(latin1(strCall));
    return true;
}

bool PKLINK::AskMH(qint16 intPort)
{
    if (!d->checkLink() || !d->checkPort(intPort))
        return false;
    d->sendSimple('H', Private::enginePort(intPort));
    return true;
}

bool PKLINK::AskPortCapabilities(qint16 intPort)
{
    if (!d->checkLink() || !d->checkPort(intPort))
        return false;
    d->sendSimple('g', Private::enginePort(intPort));
    return true;
}

bool PKLINK::ConnectTo(qint16 intPort, const QString &strOurCall, const QString &strRemoteCall)
{
    if (!d->checkLink() || !d->checkPort(intPort) || !d->checkCallsign(strOurCall))
        return false;
    const auto destination = d->checkDestination(strRemoteCall);
    if (!destination)
        return false;
    d->SendFrame(agw::connectFrame(Private::enginePort(intPort), latin1(strOurCall), *destination));
    return true;
}

bool PKLINK::DisconnectFrom(qint16 intPort, const QString &strOurCall, const QString &strRemoteCall)
{
    if (!d->checkLink() || !d->checkPort(intPort) || !d->checkCallsign(strOurCall) ||
        !d->checkCallsign(strRemoteCall))
        return false;
    d->sendSimple('d', Private::enginePort(intPort), agw::PadCallsign(latin1(strOurCall)),
                  agw::PadCallsign(latin1(strRemoteCall)));
    return true;
}

bool PKLINK::SendUnproto(qint16 intPort, const QString &strOurCall, const QString &strRemoteCall,
                         const QByteArray &bData)
{
    if (!d->checkLink() || !d->checkPort(intPort) || !d->checkCallsign(strOurCall))
        return false;
    const auto destination = d->checkDestination(strRemoteCall);
    if (!destination)
        return false;
    const auto frame = agw::unprotoFrame(Private::enginePort(intPort), latin1(strOurCall),
                                         *destination, toBytes(bData));
    if (!frame) {
        d->untrapped("SendUnproto");
        return false;
    }
    d->SendFrame(*frame);
    return true;
}

bool PKLINK::SendDataToStation(qint16 intPort, const QString &strOurCall,
                               const QString &strRemoteCall, const QByteArray &bData)
{
    if (!d->checkLink() || !d->checkPort(intPort) || !d->checkCallsign(strOurCall) ||
        !d->checkCallsign(strRemoteCall))
        return false;
    if (!d->dispatcher.IsConnected(Private::enginePort(intPort), latin1(strRemoteCall))) {
        d->fail(AGW_ERR::NOT_CONNECTED_TO_STATION);
        return false;
    }
    const auto frame = agw::dataFrame(Private::enginePort(intPort), latin1(strOurCall),
                                      latin1(strRemoteCall), toBytes(bData));
    if (!frame) {
        d->untrapped("SendDataToStation");
        return false;
    }
    d->SendFrame(*frame);
    return true;
}

bool PKLINK::SendKissFrame(qint16 intPort, const QByteArray &bData)
{
    if (!d->checkLink() || !d->checkPort(intPort))
        return false;
    const auto frame = agw::kissFrame(Private::enginePort(intPort), toBytes(bData));
    if (!frame) {
        d->untrapped("SendKissFrame");
        return false;
    }
    d->SendFrame(*frame);
    return true;
}
