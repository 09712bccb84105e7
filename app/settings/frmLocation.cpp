// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/frmLocation.h"

#include "settings/StationCoordinates.h"
#include "settings/StationSettings.h"
#include "shared/ORXUtil.h"
#include "ui/DialogSupport.h"
#include "ui/FocusLeaveGuard.h"
#include "ui/Help.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

#include <tuple>

namespace {

QLineEdit *makeBox(QWidget *parent, const char *name, int maxLength)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(maxLength);
    orvex::selectAllOnFocus(box);
    return box;
}

int coordinateKey(int code)
{
    code = ORXUtil::UpperCaseKey(code);
    const bool accepted = code <= 13 || (code >= '0' && code <= '9') ||
                          (code >= 'A' && code <= 'Z') || code == ' ' || code == '.';
    return accepted ? code : -1;
}

} // namespace

frmLocation::frmLocation(StationSettings &settings, QWidget *parent)
    : QDialog(parent), settings_(settings)
{
    setWindowTitle(QStringLiteral("Station Information"));

    txtLat = makeBox(this, "txtLat", 9);
    txtLong = makeBox(this, "txtLong", 10);
    txtCallsign = makeBox(this, "txtCallsign", 9);
    txtComment = makeBox(this, "txtComment", 43);
    labLocator = new QLabel(this);
    labLocator->setObjectName(QStringLiteral("labLocator"));
    orvex::makeOkCancel(this, cmdOk, cmdCancel);

    auto *grid = new QGridLayout;
    orvex::addFieldRow(grid, 0, QStringLiteral("Latitude"), txtLat);
    orvex::addFieldRow(grid, 1, QStringLiteral("Longitude"), txtLong);
    orvex::addFieldRow(grid, 2, QStringLiteral("Callsign"), txtCallsign);
    orvex::addFieldRow(grid, 3, QStringLiteral("Comment"), txtComment);
    // How each coordinate is understood, shown while it is typed, so that
    // decimal degrees typed as degrees and minutes cannot pass unnoticed.
    for (auto [label, name, row] : {std::tuple{&latitudeMeaning_, "latitudeMeaning", 0},
                                    std::tuple{&longitudeMeaning_, "longitudeMeaning", 1}}) {
        *label = new QLabel(this);
        (*label)->setObjectName(QLatin1String(name));
        (*label)->setMinimumWidth(
            (*label)->fontMetrics().horizontalAdvance(QStringLiteral("not a longitude  ")));
        grid->addWidget(*label, row, 2);
    }
    grid->addWidget(new QLabel(QStringLiteral("Locator"), this), 4, 0);
    grid->addWidget(labLocator, 4, 1);
    orvex::layOutFormDialog(this, grid, 5, cmdOk, cmdCancel);
    txtComment->setMinimumWidth(txtComment->fontMetrics().averageCharWidth() * 45);
    setTabOrder(txtLat, txtLong);
    setTabOrder(txtLong, txtCallsign);
    setTabOrder(txtCallsign, txtComment);
    setTabOrder(txtComment, cmdOk);
    setTabOrder(cmdOk, cmdCancel);

    orvex::filterKeys(txtLat, coordinateKey);
    orvex::filterKeys(txtLong, coordinateKey);
    orvex::filterKeys(txtCallsign, orvex::callsignKey);

    guard_ = new FocusLeaveGuard(this);
    guard_->exempt(cmdCancel);
    guard_->addCheck(txtCallsign, [this] { return checkCallsign(); });
    guard_->addCheck(txtLat, [this] {
        if (!ValidateLatLong(this, txtLat, false, true))
            return false;
        UpdateLocator();
        return true;
    });
    guard_->addCheck(txtLong, [this] {
        if (!ValidateLatLong(this, txtLong, true, true))
            return false;
        UpdateLocator();
        return true;
    });

    connect(txtLat, &QLineEdit::textChanged, this, &frmLocation::showMeaning);
    connect(txtLong, &QLineEdit::textChanged, this, &frmLocation::showMeaning);
    connect(cmdOk, &QPushButton::clicked, this, &frmLocation::cmdOkClicked);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this,
            [this] { showHelpTopic(this, QStringLiteral("station_information")); });

    // Form load.
    orvex::centreOnScreen(this);
    txtLat->setText(orvex::coordinateDisplayText(settings_.strLat(), false));
    txtLong->setText(orvex::coordinateDisplayText(settings_.strLong(), true));
    txtComment->setText(settings_.strComment());
    txtCallsign->setText(settings_.strCallsign());
    UpdateLocator();
    showMeaning();
}

void frmLocation::showMeaning()
{
    latitudeMeaning_->setText(orvex::coordinateMeaning(txtLat->text(), false));
    longitudeMeaning_->setText(orvex::coordinateMeaning(txtLong->text(), true));
    const auto lat = orvex::coordinateFromInput(txtLat->text(), false, false);
    const auto lon = orvex::coordinateFromInput(txtLong->text(), true, false);
    if (!lat || !lon)
        return;
    const auto latitude =
        static_cast<float>(ORXUtil::LatToDegrees(orvex::coordinateStoredText(*lat, false)));
    const auto longitude =
        static_cast<float>(ORXUtil::LongToDegrees(orvex::coordinateStoredText(*lon, true)));
    labLocator->setText(orvex::locatorFromMinutes(latitude * 60, longitude * 60));
}

bool frmLocation::ValidateLatLong(QWidget *owner, QLineEdit *box, bool longitude, bool emptyAllowed)
{
    const auto display = orvex::coordinateFromInput(box->text(), longitude, emptyAllowed);
    if (!display) {
        orvex::showExclamationMessage(
            owner, QStringLiteral("I can't make that into a valid ") +
                       (longitude ? QStringLiteral("longitude") : QStringLiteral("latitude")) +
                       QLatin1Char('.'));
        box->setFocus(Qt::OtherFocusReason);
        return false;
    }
    if (*display != box->text())
        box->setText(*display);
    return true;
}

void frmLocation::UpdateLocator()
{
    const QString lat = orvex::coordinateStoredText(txtLat->text(), false);
    const QString lon = orvex::coordinateStoredText(txtLong->text(), true);
    if (lat.isEmpty() || lon.isEmpty())
        return;
    const auto latitude = static_cast<float>(ORXUtil::LatToDegrees(lat));
    const auto longitude = static_cast<float>(ORXUtil::LongToDegrees(lon));
    labLocator->setText(orvex::locatorFromMinutes(latitude * 60, longitude * 60));
}

bool frmLocation::checkCallsign()
{
    const QString text = txtCallsign->text();
    if (text.isEmpty() || ORXUtil::IsValidCallsign(text))
        return true;
    orvex::showStopMessage(this, QStringLiteral("That is not a valid callsign."));
    txtCallsign->setFocus(Qt::OtherFocusReason);
    return false;
}

void frmLocation::cmdOkClicked()
{
    if (!guard_->checkFocusedBox())
        return;
    settings_.setStrLat(orvex::coordinateStoredText(txtLat->text(), false));
    settings_.setStrLong(orvex::coordinateStoredText(txtLong->text(), true));
    settings_.setStrCallsign(txtCallsign->text());
    settings_.setStrComment(txtComment->text().trimmed());
    settings_.setStrLoc(labLocator->text());
    accept();
}
