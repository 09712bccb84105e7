// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "pklink/clsPortCapabilities.h"
#include "pklink/clsTncParam.h"
#include "pklink/pklink32_export.h"

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <QWidget>

#include <memory>

// Error codes of the control; each has a fixed message (see strLastErrMsg).
enum class AGW_ERR : qint16 { // NOLINT(readability-identifier-naming): the interface's name
    NO_ERROR = 0,
    WINSOCK_CONNECTION_ALREADY_EXISTS = 1,
    NO_WINSOCK_CONNECTION = 2,
    NO_HOST_ADDRESS = 3,
    NO_HOST_PORT = 4,
    NO_AX25_CONNECTION = 5,
    INVALID_CALLSIGN = 6,
    TOO_MANY_DIGIS = 7,
    INVALID_AGW_PORT = 8,
    CALLSIGN_ALREADY_REGISTERED = 9,
    NOT_CONNECTED_TO_STATION = 10,
    UNTRAPPED_ERROR = 11,
};

// PKLINK: a client of an AGWPE packet engine over one TCP connection.
//
// A host places one control, sets AgwIpHost/AgwIpPort (and optionally the
// login), calls ConnectToAgw and then receives everything the engine reports
// as signals. Every sending method checks its arguments and the link and
// either sends exactly one frame and returns true, or sends nothing, records
// an AGW_ERR code and message (read, and thereby cleared, through eLastErr and
// strLastErrMsg) and returns false. The control never shows a message.
//
// Ports in this interface are numbered from 1 to intPortCount; the engine's
// own numbering starts at 0. Texts are Latin-1, one byte per character.
// Everything runs on the thread that owns the control; signals are emitted
// synchronously, so a slot may call back into the control.
class PKLINK32_EXPORT PKLINK : public QWidget
{
    Q_OBJECT

public:
    explicit PKLINK(QWidget *parent = nullptr);
    ~PKLINK() override;

    QString AgwLoginId() const;
    void setAgwLoginId(const QString &strLoginId);
    QString AgwPassword() const;
    void setAgwPassword(const QString &strPassword);

    // true when the link was up and has been closed; an empty QVariant (and
    // NO_WINSOCK_CONNECTION) when there was no link.
    QVariant DisconnectFromAgw();
    // Asks for the heard list of a port ("H"); the answers arrive as MhData.
    bool AskMH(qint16 intPort);
    // Reading returns the last code and resets it to NO_ERROR (the message is
    // kept). Writing sets the code and its message; values outside the enum
    // are ignored.
    AGW_ERR eLastErr();
    void setELastErr(AGW_ERR eErr);
    bool RegisterCallsign(const QString &strCall);
    // strRemoteCall: "DEST", "DEST via D1,D2", "DEST v D1 D2", ... (up to 8 digis).
    bool ConnectTo(qint16 intPort, const QString &strOurCall, const QString &strRemoteCall);
    bool DisconnectFrom(qint16 intPort, const QString &strOurCall, const QString &strRemoteCall);
    // Sends a UI frame; strRemoteCall as for ConnectTo.
    bool SendUnproto(qint16 intPort, const QString &strOurCall, const QString &strRemoteCall,
                     const QByteArray &bData);
    bool SendDataToStation(qint16 intPort, const QString &strOurCall, const QString &strRemoteCall,
                           const QByteArray &bData);
    // bData is a raw AX.25 frame.
    bool SendKissFrame(qint16 intPort, const QByteArray &bData);
    // Returns the last message and resets it to the empty text (the code is kept).
    QString strLastErrMsg();
    bool UnregisterCallsign(const QString &strCall);
    bool AskPortCapabilities(qint16 intPort);
    // Switch monitoring / raw reception; true only when a switch frame was sent.
    bool ReceiveMonitoredFrames(bool blnR);
    bool ReceiveRawFrames(bool blnR);
    // Starts the TCP connect and returns at once; the outcome arrives as
    // WsConnected or WsError.
    bool ConnectToAgw();
    // Milliseconds a connect may wait for the engine's host to answer before
    // it gives up with WsError (default 15000), so that an address that
    // swallows the attempt is reported long before the system would.
    void setConnectTimeout(int milliseconds);
    int connectTimeout() const;
    // TCP port of the engine. Unsigned 16-bit so that every TCP port fits.
    quint16 AgwIpPort() const;
    void setAgwIpPort(quint16 intIpPort);
    qint32 lngMajorVersion() const;
    qint32 lngMinorVersion() const;
    QString AgwIpHost() const;
    void setAgwIpHost(const QString &strIpHost);
    // The host of the current or last connection attempt.
    QString AgwRemoteHost() const;
    QStringList strPortInfo() const;
    qint16 intPortCount() const;
    // The link start sequence: login (when both login id and password are
    // set), version request, port information request, monitoring on. Runs by
    // itself when the link comes up.
    void AgwInit();

    // The host's saved design: keys "AgwIpHost" (default "localhost") and
    // "AgwIpPort" (default 8000). Nothing else is persisted.
    void readProperties(const QVariantMap &propBag);
    void writeProperties(QVariantMap &propBag) const;

signals:
    void WsConnected(const QString &strHost);
    void WsDisConnected(const QString &strHost);
    void WsError(qint16 intNum, const QString &strDesc);
    void MonUFrame(qint16 intPort, const QString &strFromCall, const QString &strToCall,
                   const QByteArray &bData);
    void MonKissFrame(qint16 intPort, const QString &strFromCall, const QString &strToCall,
                      const QByteArray &bData);
    void MonTFrame(qint16 intPort, const QString &strFromCall, const QString &strToCall,
                   const QByteArray &bData);
    void MonSFrame(qint16 intPort, const QByteArray &bData);
    void MonIFrame(qint16 intPort, const QByteArray &bData);
    // intPort is the engine's own 0-based number here, unlike every other signal.
    void Connected(qint16 intPort, const QString &strCall, const QString &strStatus);
    void Disconnected(qint16 intPort, const QString &strCall, const QString &strStatus);
    void OutStandingFramesForStation(qint16 intPort, const QString &strCall, qint16 intCount);
    void OutStandingFramesForPort(qint16 intPort, qint16 intCount);
    void PortCapabilities(qint16 intPort, const clsPortCapabilities &cP);
    void CallsignRegistered(const QString &strCall, bool blnOk);
    void RxFrame(qint16 intPort, const QString &strFromCall, const QString &strToCall,
                 qint16 intPid, const QByteArray &bData);
    void MhData(qint16 intPort, const QString &strHeard);
    void GotVersion(qint32 lngMajorVersion, qint32 lngMinorVersion, const QString &strVersion);
    void GotPortInfo(const QStringList &strPortInfo);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    class Private;
    std::unique_ptr<Private> d; // NOLINT(readability-identifier-naming): Qt's d-pointer
};

Q_DECLARE_METATYPE(clsPortCapabilities)
