// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's AGWPE link and its monitor.
#include "core/MonitorText.h"
#include "core/frmORVEX.h"
#include "orbit/clsSats.h"
#include "pklink/PKLINK.h"
#include "platform/MonitorView.h"
#include "sharing/SidsUploader.h"
#include "terminal/frmTerm.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolButton>

namespace {
const QString lineBreak = QStringLiteral("\r\n");
const QString retrySentence = QStringLiteral("Will automatically retry in 30 seconds time.");
} // namespace

void frmORVEX::connectLinkEvents()
{
    connect(pklink_, &PKLINK::WsConnected, this, [this](const QString &strHost) {
        txtMon_->setEnabled(true);
        blnConnected_ = true;
        linkState_.linked(strHost, pklink_->AgwIpPort(), orvex::Clock::nowUtc());
        ShowMonitorText(QStringLiteral("*** AGW-Connected to - ") + strHost + lineBreak,
                        monitor::LinkMessage);
        showLinkStatus();
    });
    connect(pklink_, &PKLINK::WsDisConnected, this, [this](const QString &strHost) {
        onLinkDown(QStringLiteral("*** AGW-Disconnected from - ") + strHost,
                   QStringLiteral("disconnected by the engine"));
    });
    connect(pklink_, &PKLINK::WsError, this, [this](qint16, const QString &strDesc) {
        // A failed link is down as well: the terminal must not believe it is
        // connected while the retry is pending.
        onLinkDown(QStringLiteral("*** AGW-Error with connection to ") + pklink_->AgwIpHost() +
                       QStringLiteral(" - ") + strDesc,
                   strDesc);
    });
    connect(pklink_, &PKLINK::GotVersion, this, [this](qint32, qint32, const QString &strVersion) {
        ShowMonitorText(QStringLiteral("*** AGWPE V") + strVersion + lineBreak,
                        monitor::LinkMessage);
    });
    connect(pklink_, &PKLINK::GotPortInfo, this, [this](const QStringList &strPortInfo) {
        for (const QString &entry : strPortInfo)
            ShowMonitorText(QStringLiteral("*** ") + entry + lineBreak, monitor::LinkMessage);
    });
    connect(pklink_, &PKLINK::MonUFrame, this,
            [this](qint16, const QString &strFromCall, const QString &, const QByteArray &bData) {
                ShowMonitoredFrame(bData, monitor::UiFrame);
                onMonUFrame(strFromCall, bData);
            });
    connect(pklink_, &PKLINK::MonIFrame, this, [this](qint16, const QByteArray &bData) {
        ShowMonitoredFrame(bData, monitor::IFrame);
    });
    connect(pklink_, &PKLINK::MonTFrame, this,
            [this](qint16, const QString &, const QString &, const QByteArray &bData) {
                ShowMonitoredFrame(bData, monitor::Transmitted);
            });
    connect(pklink_, &PKLINK::MonSFrame, this, [this](qint16, const QByteArray &bData) {
        ShowMonitoredFrame(bData, monitor::SFrame);
    });
}

void frmORVEX::onLinkDown(const QString &text, const QString &reason)
{
    txtMon_->setEnabled(false);
    blnConnected_ = false;
    // Every failed try is told in full, in the monitor and the terminal (and
    // so in its log); the status bar counts them.
    QString shown = text + lineBreak;
    if (!blnNoRetry_) {
        shown += retrySentence + lineBreak;
        timRetry_->start();
    }
    linkState_.failed(reason, orvex::Clock::nowUtc());
    showLinkStatus();
    ShowMonitorText(shown, monitor::LinkMessage);
}

void frmORVEX::showLinkStatus()
{
    if (!linkStatus_)
        return;
    linkStatus_->setText(
        linkState_.statusText(timRetry_->isActive() ? timRetry_->remainingTime() : -1));
    connectNowButton_->setVisible(!linkState_.isLinked());
}

void frmORVEX::connectNow()
{
    timRetry_->stop();
    if (blnConnected_)
        return;
    ConnectToAgwpe();
}

void frmORVEX::ConnectToAgwpe()
{
    pklink_->setAgwIpHost(strAgwHost());
    pklink_->setAgwIpPort(static_cast<quint16>(intAgwPort()));
    pklink_->setAgwLoginId(strAgwLoginId());
    pklink_->setAgwPassword(strAgwPassword());
    // The outcome arrives as WsConnected, WsError or WsDisConnected.
    pklink_->ConnectToAgw();
}

void frmORVEX::onRetryTick()
{
    timRetry_->stop();
    ConnectToAgwpe();
}

void frmORVEX::AgwReconnect()
{
    blnNoRetry_ = true;
    pklink_->DisconnectFromAgw();
    QCoreApplication::processEvents();
    blnNoRetry_ = false;
    ConnectToAgwpe();
}

bool frmORVEX::SendUnproto(qint16 intPort, const QString &strOurCall, const QString &strDest,
                           const QString &strText)
{
    const bool sent = pklink_->SendUnproto(intPort, strOurCall, strDest, strText.toLatin1());
    // Every frame the station sends (the terminal's lines and beacons, the
    // messages and their acks) is followed until it is heard back.
    if (sent)
        noteSent(strOurCall, strDest, strText);
    return sent;
}

qint16 frmORVEX::intPortCount() const
{
    return pklink_->intPortCount();
}

void frmORVEX::onMonUFrame(const QString &strFromCall, const QByteArray &bData)
{
    if (!callsigns_ || !callsigns_->contains(strFromCall))
        return;
    if (sids_)
        sids_->monitoredFrame(strFromCall, bData);
    const QStringList lines = monitor::frameLines(bData);
    if (lines.size() < 2)
        return;
    DecodeTelemetry(strFromCall, lines[1]);
    if (blnOnlyShowOrvex_) {
        const QString header =
            monitor::FormatMonitorHeader(lines[0], monitor::UiFrame, true, displayTime());
        ShowMonitorText(header + lineBreak + lines[1] + lineBreak, monitor::SatelliteShort);
    }
}

void frmORVEX::ShowMonitoredFrame(const QByteArray &bData, qint32 intWhere)
{
    ShowMonitorText(monitor::rewriteMonitoredFrame(bData, intWhere, displayTime()), intWhere);
}

void frmORVEX::ShowMonitorText(const QString &text, qint32 intWhere)
{
    const QString joined = monitor::joinMonitorLines(text);
    // The terminal window gets every kind but the short form.
    if (intWhere != monitor::SatelliteShort && mfrmTerm_)
        mfrmTerm_->ShowData(intWhere >= monitor::UiFrame ? joined + QStringLiteral("\r\n") : joined,
                            static_cast<qint16>(intWhere));

    const bool show =
        intWhere == monitor::LinkMessage ||
        (intWhere == monitor::SatelliteShort ? blnOnlyShowOrvex_ : !blnOnlyShowOrvex_);
    if (!show)
        return;
    // The box shows LF line ends; the text's CR LF pairs become one line break each.
    QString shown = joined;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    // What came in during one turn of the event loop is laid out once.
    monitorPending_->add(shown);
    if (monitorFlushScheduled_)
        return;
    monitorFlushScheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        monitorFlushScheduled_ = false;
        monitorPending_->write();
    });
}
