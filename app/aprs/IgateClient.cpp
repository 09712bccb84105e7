// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprs/IgateClient.h"

#include "shared/clsIni.h"
#include "version.h"

namespace aprs {

namespace {

const QString section = QStringLiteral("APRSIS");

// Path entries of a frame that must not go to the network.
bool staysOffTheNet(const Frame &frame)
{
    for (const Ax25Address &hop : frame.path) {
        if (hop.callsign == "TCPIP" || hop.callsign == "TCPXX" || hop.callsign == "NOGATE" ||
            hop.callsign == "RFONLY")
            return true;
    }
    return false;
}

} // namespace

IgateSettings IgateSettings::read(clsIni &ini)
{
    IgateSettings settings;
    settings.enabled = clsIni::IsItTrue(ini.GetIniStringWriteDefault(
        section, QStringLiteral("ENABLED"), clsIni::TrueOrFalse(settings.enabled)));
    settings.host =
        ini.GetIniStringWriteDefault(section, QStringLiteral("HOST"), settings.host).trimmed();
    bool ok = false;
    const uint port = ini.GetIniStringWriteDefault(section, QStringLiteral("PORT"),
                                                   QString::number(settings.port))
                          .trimmed()
                          .toUInt(&ok);
    if (ok && port > 0 && port <= 65535)
        settings.port = static_cast<quint16>(port);
    settings.passcode =
        ini.GetIniStringWriteDefault(section, QStringLiteral("PASSCODE"), settings.passcode)
            .trimmed();
    return settings;
}

std::optional<QString> gatedLine(const Frame &frame, const QString &gateway)
{
    std::string info = frame.info;
    info = info.substr(0, info.find_first_of("\r\n"));
    if (info.empty() || info.front() == '?' || staysOffTheNet(frame))
        return std::nullopt;
    Frame gated = frame;
    gated.info = info;
    const QString line = QString::fromLatin1(monitorLine(gated));
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    return line.left(colon) + QStringLiteral(",qAR,") + gateway + line.mid(colon);
}

IgateClient::IgateClient(IgateSettings settings, std::function<QString()> callsign,
                         std::function<qint64()> nowMs, int retryMs, QObject *parent)
    : QObject(parent), settings_(std::move(settings)), callsign_(std::move(callsign)),
      nowMs_(std::move(nowMs))
{
    retry_.setSingleShot(true);
    retry_.setInterval(retryMs);
    connect(&retry_, &QTimer::timeout, this, &IgateClient::connectNow);
    connect(&socket_, &QTcpSocket::connected, this, [this] {
        const QByteArray login = "user " + callsign_().trimmed().toUpper().toLatin1() + " pass " +
                                 settings_.passcode.toLatin1() + " vers orvexdecode " +
                                 QByteArray::number(orvex::version::major) + '.' +
                                 QByteArray::number(orvex::version::minor) + '.' +
                                 QByteArray::number(orvex::version::revision) + "\r\n";
        socket_.write(login);
        loggedIn_ = true;
        emit statusChanged(
            QStringLiteral("APRS-IS: connected to %1:%2").arg(settings_.host).arg(settings_.port));
    });
    // Receive-only: what the server sends is read and dropped.
    connect(&socket_, &QTcpSocket::readyRead, this, [this] { socket_.readAll(); });
    connect(&socket_, &QTcpSocket::disconnected, this,
            [this] { linkDown(QStringLiteral("closed by the server")); });
    connect(&socket_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) {
        if (socket_.state() != QAbstractSocket::ConnectedState)
            linkDown(socket_.errorString());
    });
}

IgateClient::~IgateClient()
{
    // The socket tells of its own end as it goes, after the retry timer
    // has gone: nothing may answer it then.
    socket_.disconnect(this);
}

void IgateClient::start()
{
    if (settings_.enabled && !callsign_().trimmed().isEmpty())
        connectNow();
}

void IgateClient::connectNow()
{
    if (socket_.state() == QAbstractSocket::ConnectedState ||
        socket_.state() == QAbstractSocket::ConnectingState ||
        socket_.state() == QAbstractSocket::HostLookupState)
        return;
    // What is left of a broken link is ended here, not inside the
    // socket's own signal that told of the break.
    socket_.abort();
    socket_.connectToHost(settings_.host, settings_.port);
}

void IgateClient::linkDown(const QString &reason)
{
    loggedIn_ = false;
    if (retry_.isActive())
        return;
    retry_.start();
    emit statusChanged(QStringLiteral("APRS-IS: %1, trying again in %2 s")
                           .arg(reason)
                           .arg(retry_.interval() / 1000));
}

void IgateClient::heard(const HeardPacket &packet)
{
    if (!loggedIn_ || packet.transmitted || !packet.viaSatellite)
        return;
    const QString gateway = callsign_().trimmed().toUpper();
    const std::optional<QString> line = gatedLine(packet.frame, gateway);
    if (!line)
        return;
    const qint64 now = nowMs_();
    for (auto it = lastSent_.begin(); it != lastSent_.end();) {
        if (now - it.value() >= duplicateWindowMs)
            it = lastSent_.erase(it);
        else
            ++it;
    }
    const QString key = QString::fromStdString(packet.frame.source.text()) + QLatin1Char('>') +
                        QString::fromLatin1(packet.frame.info);
    if (lastSent_.contains(key))
        return;
    lastSent_.insert(key, now);
    socket_.write(line->toLatin1() + "\r\n");
}

} // namespace aprs
