// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/frmAgwpeSetup.h"

#include "settings/AgwpePort.h"
#include "settings/StationSettings.h"
#include "shared/NumberText.h"
#include "ui/DialogSupport.h"
#include "ui/FocusLeaveGuard.h"
#include "ui/Help.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

namespace {

} // namespace

frmAgwpeSetup::frmAgwpeSetup(StationSettings &settings, QWidget *parent)
    : QDialog(parent), settings_(settings)
{
    setWindowTitle(QStringLiteral("AGWPE Setup"));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const auto makeBox = [&](const char *name, int maxLength) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QLatin1String(name));
        box->setFont(fixed);
        box->setMaxLength(maxLength);
        return box;
    };
    txtHostAddr = makeBox("txtHostAddr", 80);
    txtPort = makeBox("txtPort", 5);
    txtLoginId = makeBox("txtLoginId", 80);
    txtPassword = makeBox("txtPassword", 80);
    txtPassword->setEchoMode(QLineEdit::Password);
    txtHostAddr->setMinimumWidth(QFontMetrics(fixed).averageCharWidth() * 40);
    orvex::makeOkCancel(this, cmdOk, cmdCancel);

    auto *grid = new QGridLayout;
    orvex::addFieldRow(grid, 0, QStringLiteral("Host address"), txtHostAddr);
    orvex::addFieldRow(grid, 1, QStringLiteral("Port"), txtPort);
    orvex::addFieldRow(grid, 2, QStringLiteral("Log-in Id"), txtLoginId);
    orvex::addFieldRow(grid, 3, QStringLiteral("Password"), txtPassword);
    orvex::layOutFormDialog(this, grid, 4, cmdOk, cmdCancel);
    setTabOrder(txtHostAddr, txtPort);
    setTabOrder(txtPort, txtLoginId);
    setTabOrder(txtLoginId, txtPassword);
    setTabOrder(txtPassword, cmdOk);
    setTabOrder(cmdOk, cmdCancel);

    orvex::selectAllOnFocus(txtHostAddr);
    orvex::selectAllOnFocus(txtPort);
    orvex::selectAllOnFocus(txtPassword);
    orvex::filterKeys(txtPort, orvex::digitKey);
    guard_ = new FocusLeaveGuard(this);
    guard_->exempt(cmdCancel);
    guard_->addCheck(txtHostAddr, [this] { return checkHost(); });
    guard_->addCheck(txtPort, [this] { return checkPort(); });

    connect(cmdOk, &QPushButton::clicked, this, &frmAgwpeSetup::cmdOkClicked);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this,
            [this] { showHelpTopic(this, QStringLiteral("agwpe_setup")); });

    // Form load.
    orvex::centreOnScreen(this);
    txtHostAddr->setText(settings_.strAgwHost());
    strOldHost = settings_.strAgwHost().toUpper();
    txtPort->setText(orvex::generalNumber(settings_.intAgwPort()));
    intOldPort = settings_.intAgwPort();
    txtLoginId->setText(settings_.strAgwLoginId());
    strOldLoginId = settings_.strAgwLoginId();
    txtPassword->setText(settings_.strAgwPassword());
    strOldPassword = settings_.strAgwPassword();
}

bool frmAgwpeSetup::checkHost()
{
    if (!txtHostAddr->text().trimmed().isEmpty())
        return true;
    orvex::showStopMessage(this, QStringLiteral("'Host address' cannot be blank."));
    txtHostAddr->setFocus(Qt::OtherFocusReason);
    return false;
}

bool frmAgwpeSetup::checkPort()
{
    if (orvex::agwPortFromText(txtPort->text()))
        return true;
    orvex::showStopMessage(this,
                           QStringLiteral("'Port' must be a numeric value between 1 and 32767"));
    txtPort->setFocus(Qt::OtherFocusReason);
    return false;
}

void frmAgwpeSetup::cmdOkClicked()
{
    if (!guard_->checkFocusedBox())
        return;
    settings_.setStrAgwHost(txtHostAddr->text().trimmed());
    settings_.setStrAgwPassword(txtPassword->text().trimmed());
    settings_.setStrAgwLoginId(txtLoginId->text().trimmed());
    // Checked when the box was left; a box never visited holds the stored port.
    const auto port = orvex::roundToInt16(orvex::leadingNumber(txtPort->text()));
    settings_.setIntAgwPort(port.value_or(intOldPort));

    if (settings_.strAgwHost().toUpper() != strOldHost ||
        settings_.strAgwPassword() != strOldPassword ||
        settings_.strAgwLoginId() != strOldLoginId || settings_.intAgwPort() != intOldPort)
        settings_.AgwReconnect();
    accept();
}
