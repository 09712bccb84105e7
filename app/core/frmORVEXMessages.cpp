// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's part in APRS messaging: the messages to the station are
// acknowledged, the operator's go out via the satellite while it is in
// view, the station's own frames are followed until heard back, and the
// packets heard via the satellite go to APRS-IS when the gateway is on.
#include "aprs/AprsTraffic.h"
#include "aprs/ConversationWindow.h"
#include "aprs/IgateClient.h"
#include "aprs/MessageTraffic.h"
#include "core/frmORVEX.h"
#include "orbit/TrackingContext.h"
#include "platform/DateTime.h"
#include "shared/clsIni.h"
#include "terminal/TerminalRules.h"
#include "ui/ToolWindow.h"

#include <QLabel>
#include <QStatusBar>

namespace {
const QString messagesSection = QStringLiteral("MESSAGES");
const QString nextNumberKey = QStringLiteral("NEXT_NUMBER");
} // namespace

void frmORVEX::startMessages()
{
    aprs::MessageTraffic::Station station;
    station.callsign = [this] { return strCallsign(); };
    station.satelliteInView = [this] {
        const std::optional<clsSats::Look> look =
            tracking_->lookAt(tracking_->currentIndex(), orvex::Clock::nowJulianDate());
        return look && look->elevationDeg > 0;
    };
    station.nowMs = [] { return orvex::Clock::nowUtc().toMSecsSinceEpoch(); };
    const int firstNumber =
        cIni()->GetIniString(messagesSection, nextNumberKey, QStringLiteral("1")).toInt();
    messages_ = std::make_unique<aprs::MessageTraffic>(station, firstNumber);
    connect(aprsTraffic_.get(), &aprs::AprsTraffic::heard, messages_.get(),
            &aprs::MessageTraffic::heard);
    connect(messages_.get(), &aprs::MessageTraffic::transmit, this,
            [this](const QString &path, const QString &info) {
                const qint16 port = TerminalRules::transmitPort(cIni()->GetIniString(
                    QStringLiteral("TERMINAL"), QStringLiteral("PORT"), QStringLiteral("1")));
                SendUnproto(port, strCallsign(), strAprsDest() + QLatin1Char(' ') + path, info);
            });
    // The next number is kept at once, so that a new run does not send a
    // number the other station has seen already.
    connect(messages_.get(), &aprs::MessageTraffic::changed, this,
            [this, saved = messages_->outbox().nextNumber()]() mutable {
                const int next = messages_->outbox().nextNumber();
                if (next == saved)
                    return;
                saved = next;
                cIni()->SaveIniString(messagesSection, nextNumberKey, QString::number(next));
            });

    igate_ = std::make_unique<aprs::IgateClient>(
        aprs::IgateSettings::read(*cIni()), [this] { return strCallsign(); }, station.nowMs);
    connect(aprsTraffic_.get(), &aprs::AprsTraffic::heard, igate_.get(), &aprs::IgateClient::heard);
    auto *igateStatus = new QLabel(this);
    igateStatus->setObjectName(QStringLiteral("igateStatus"));
    statusBar()->addPermanentWidget(igateStatus);
    connect(igate_.get(), &aprs::IgateClient::statusChanged, igateStatus, &QLabel::setText);
    igate_->start();
}

void frmORVEX::stopMessages()
{
    delete messagesWindow_;
    igate_.reset();
    messages_.reset();
}

void frmORVEX::noteSent(const QString &source, const QString &destination, const QString &info)
{
    if (messages_)
        messages_->sent(source, destination, info);
}

void frmORVEX::showMessages()
{
    if (!messages_)
        return;
    if (!messagesWindow_) {
        messagesWindow_ = new aprs::ConversationWindow(*messages_, this);
        orvex::closeOnEscape(messagesWindow_);
    }
    orvex::showToolWindow(messagesWindow_, this);
}
