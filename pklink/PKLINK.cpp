// SPDX-License-Identifier: GPL-2.0-or-later
#include "pklink/PKLINK.h"

class PKLINK::Private
{
public:
    QString loginId, password, host = QStringLiteral("localhost");
    quint16 port = 8000;
};

PKLINK::PKLINK(QWidget *parent) : QWidget(parent), d(std::make_unique<Private>()) {}
PKLINK::~PKLINK() = default;
QString PKLINK::AgwLoginId() const { return d->loginId; }
void PKLINK::setAgwLoginId(const QString &strLoginId) { d->loginId = strLoginId; }
QString PKLINK::AgwPassword() const { return d->password; }
void PKLINK::setAgwPassword(const QString &strPassword) { d->password = strPassword; }
QVariant PKLINK::DisconnectFromAgw() { return {}; }
bool PKLINK::AskMH(qint16) { return false; }
AGW_ERR PKLINK::eLastErr() { return AGW_ERR::NO_ERROR; }
void PKLINK::setELastErr(AGW_ERR) {}
bool PKLINK::RegisterCallsign(const QString &) { return false; }
bool PKLINK::ConnectTo(qint16, const QString &, const QString &) { return false; }
bool PKLINK::DisconnectFrom(qint16, const QString &, const QString &) { return false; }
bool PKLINK::SendUnproto(qint16, const QString &, const QString &, const QByteArray &) { return false; }
bool PKLINK::SendDataToStation(qint16, const QString &, const QString &, const QByteArray &) { return false; }
bool PKLINK::SendKissFrame(qint16, const QByteArray &) { return false; }
QString PKLINK::strLastErrMsg() { return {}; }
bool PKLINK::UnregisterCallsign(const QString &) { return false; }
bool PKLINK::AskPortCapabilities(qint16) { return false; }
bool PKLINK::ReceiveMonitoredFrames(bool) { return false; }
bool PKLINK::ReceiveRawFrames(bool) { return false; }
bool PKLINK::ConnectToAgw() { return false; }
quint16 PKLINK::AgwIpPort() const { return d->port; }
void PKLINK::setAgwIpPort(quint16 intIpPort) { d->port = intIpPort; }
qint32 PKLINK::lngMajorVersion() const { return 0; }
qint32 PKLINK::lngMinorVersion() const { return 0; }
QString PKLINK::AgwIpHost() const { return d->host; }
void PKLINK::setAgwIpHost(const QString &strIpHost) { d->host = strIpHost; }
QString PKLINK::AgwRemoteHost() const { return {}; }
QStringList PKLINK::strPortInfo() const { return {}; }
qint16 PKLINK::intPortCount() const { return 0; }
void PKLINK::AgwInit() {}
void PKLINK::readProperties(const QVariantMap &) {}
void PKLINK::writeProperties(QVariantMap &) const {}
void PKLINK::resizeEvent(QResizeEvent *event) { QWidget::resizeEvent(event); }
