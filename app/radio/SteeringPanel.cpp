// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/SteeringPanel.h"

#include "radio/StationSteering.h"
#include "tracking/SkyViewModel.h"
#include "ui/ElidedLabel.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>

namespace radio {

namespace {

QString frequency(const std::optional<double> &hz)
{
    return hz ? tracking::frequencyText(*hz) : QStringLiteral("-");
}

// "computed 145.828 412 MHz, set 145.828 400 MHz, radio 145.828 400 MHz"
QString channelText(const ChannelView &channel)
{
    return QStringLiteral("computed %1, set %2, radio %3")
        .arg(frequency(channel.computedHz), frequency(channel.setHz),
             frequency(channel.reportedHz));
}

QString positionText(const std::optional<RotatorPosition> &position)
{
    return position ? QStringLiteral("az %1° el %2°")
                          .arg(position->azimuthDeg, 0, 'f', 1)
                          .arg(position->elevationDeg, 0, 'f', 1)
                    : QStringLiteral("-");
}

} // namespace

SteeringPanel::SteeringPanel(StationSteering &steering, QWidget *parent)
    : QGroupBox(QStringLiteral("Radio and rotator"), parent), steering_(steering)
{
    setObjectName(QStringLiteral("steeringPanel"));
    auto *form = new QFormLayout(this);
    radioLink_ = addRow(form, QStringLiteral("Radio"), "radioLink");
    downlink_ = addRow(form, QStringLiteral("  Downlink"), "downlinkTuning");
    uplink_ = addRow(form, QStringLiteral("  Uplink"), "uplinkTuning");
    offset_ = new ElidedLabel(this);
    offset_->setObjectName(QStringLiteral("dialOffset"));
    resetOffset_ = new QPushButton(QStringLiteral("&Reset"), this);
    resetOffset_->setObjectName(QStringLiteral("resetOffset"));
    resetOffset_->setToolTip(QStringLiteral("Back to the computed frequencies"));
    auto *offsetRow = new QHBoxLayout;
    offsetRow->addWidget(offset_, 1);
    offsetRow->addWidget(resetOffset_);
    form->addRow(QStringLiteral("  Your offset"), offsetRow);
    rotatorLink_ = addRow(form, QStringLiteral("Rotator"), "rotatorLink");
    beam_ = addRow(form, QStringLiteral("  Beam"), "beamPosition");
    plan_ = addRow(form, QStringLiteral("  Plan"), "passPlan");
    connect(resetOffset_, &QPushButton::clicked, this, [this] { steering_.radio().resetOffset(); });
    connect(&steering_, &StationSteering::changed, this, &SteeringPanel::refresh);
    refresh();
}

QLabel *SteeringPanel::addRow(QFormLayout *form, const QString &caption, const char *name)
{
    auto *label = new ElidedLabel(this);
    label->setObjectName(QLatin1String(name));
    form->addRow(caption, label);
    return label;
}

void SteeringPanel::refresh()
{
    const RadioView &radio = steering_.radio().view();
    const RotatorView &rotator = steering_.rotator().view();
    radioLink_->setText(radio.enabled ? radio.link : QStringLiteral("off (Options, Radio...)"));
    downlink_->setText(channelText(radio.downlink));
    uplink_->setText(radio.mode == RadioMode::Split ? channelText(radio.uplink)
                                                    : QStringLiteral("- (RX: the downlink only)"));
    const double offset = radio.downlink.offsetHz;
    offset_->setText(
        radio.mode == RadioMode::Split
            ? QStringLiteral("%1 down, %2 up")
                  .arg(tracking::shiftText(offset), tracking::shiftText(radio.uplink.offsetHz))
            : tracking::shiftText(offset));
    resetOffset_->setEnabled(offset != 0 || radio.uplink.offsetHz != 0);
    for (QLabel *label : {downlink_, uplink_, offset_})
        label->setEnabled(radio.enabled);
    rotatorLink_->setText(rotator.enabled ? rotator.link
                                          : QStringLiteral("off (Options, Rotator...)"));
    beam_->setText(QStringLiteral("wanted %1, reported %2")
                       .arg(positionText(rotator.wanted), positionText(rotator.reported)));
    plan_->setText(rotator.plan.isEmpty() ? QStringLiteral("-") : rotator.plan);
    for (QLabel *label : {beam_, plan_})
        label->setEnabled(rotator.enabled);
}

} // namespace radio
