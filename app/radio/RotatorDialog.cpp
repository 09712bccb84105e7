// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/RotatorDialog.h"

#include "radio/DaemonFields.h"
#include "ui/DialogSupport.h"
#include "ui/Help.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>

namespace {
QDoubleSpinBox *degreesBox(QWidget *parent, const char *name, double low, double high, double value)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(low, high);
    box->setDecimals(1);
    box->setSuffix(QStringLiteral("°"));
    box->setValue(value);
    return box;
}

QWidget *pair(QWidget *parent, QWidget *first, QWidget *second)
{
    auto *both = new QWidget(parent);
    auto *row = new QHBoxLayout(both);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(first);
    row->addWidget(new QLabel(QStringLiteral("to"), both));
    row->addWidget(second);
    first->setParent(both);
    second->setParent(both);
    return both;
}
} // namespace

RotatorDialog::RotatorDialog(const radio::RotatorSettings &settings, QWidget *parent)
    : QDialog(parent), settings_(settings),
      enabled_(new QCheckBox(QStringLiteral("&Turn the rotator during passes"), this)),
      minElevation_(degreesBox(this, "minElevation", 0, 90, settings.minElevationDeg)),
      preposition_(new QSpinBox(this)),
      parkAzimuth_(degreesBox(this, "parkAzimuth", -360, 720, settings.parkAzimuthDeg)),
      parkElevation_(degreesBox(this, "parkElevation", -90, 180, settings.parkElevationDeg)),
      minAzimuth_(degreesBox(this, "minAzimuth", -360, 360, settings.limits.minAzimuthDeg)),
      maxAzimuth_(degreesBox(this, "maxAzimuth", 0, 720, settings.limits.maxAzimuthDeg)),
      lowestElevation_(
          degreesBox(this, "lowestElevation", -90, 90, settings.limits.minElevationDeg)),
      highestElevation_(
          degreesBox(this, "highestElevation", 0, 180, settings.limits.maxElevationDeg)),
      daemon_(new DaemonFields(this, QStringLiteral("rotctld"), QStringLiteral("rotctl"),
                               QStringLiteral("rotator"), settings.host, settings.port,
                               settings.daemon))
{
    setObjectName(QStringLiteral("RotatorDialog"));
    setWindowTitle(QStringLiteral("Rotator"));
    enabled_->setObjectName(QStringLiteral("enabled"));
    enabled_->setChecked(settings.enabled);
    preposition_->setObjectName(QStringLiteral("preposition"));
    preposition_->setRange(0, 3600);
    preposition_->setSuffix(QStringLiteral(" s before AOS"));
    preposition_->setValue(settings.prepositionSeconds);

    QPushButton *ok = nullptr;
    QPushButton *cancel = nullptr;
    orvex::makeOkCancel(this, ok, cancel);
    auto *grid = new QGridLayout;
    int row = 0;
    grid->addWidget(enabled_, row++, 0, 1, 2);
    orvex::addFieldRow(grid, row++, QStringLiteral("&Follow above"), minElevation_);
    orvex::addFieldRow(grid, row++, QStringLiteral("Turn to AOS a&zimuth"), preposition_);
    orvex::addFieldRow(grid, row++, QStringLiteral("Park a&zimuth"), parkAzimuth_);
    orvex::addFieldRow(grid, row++, QStringLiteral("Park &elevation"), parkElevation_);
    orvex::addFieldRow(grid, row++, QStringLiteral("&Azimuth range"),
                       pair(this, minAzimuth_, maxAzimuth_));
    orvex::addFieldRow(grid, row++, QStringLiteral("E&levation range"),
                       pair(this, lowestElevation_, highestElevation_));
    auto *rangeNote =
        new QLabel(QStringLiteral("The range is used when rotctld does not tell its own."), this);
    grid->addWidget(rangeNote, row++, 1);
    row = daemon_->addRows(grid, row);
    orvex::layOutFormDialog(this, grid, row, ok, cancel);

    connect(ok, &QPushButton::clicked, this, &RotatorDialog::okClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this,
            [this] { showHelpTopic(this, QStringLiteral("rotator")); });
}

void RotatorDialog::okClicked()
{
    const auto refuse = [this](QWidget *field, const QString &text) {
        orvex::showStopMessage(this, text);
        field->setFocus(Qt::OtherFocusReason);
    };
    if (maxAzimuth_->value() - minAzimuth_->value() < 90) {
        refuse(maxAzimuth_, QStringLiteral("The azimuth range must span at least 90°, such as "
                                           "0° to 360° or -180° to 180°."));
        return;
    }
    if (highestElevation_->value() - lowestElevation_->value() < 10) {
        refuse(highestElevation_, QStringLiteral("The elevation range must span at least 10°, "
                                                 "such as 0° to 90°."));
        return;
    }
    if (!daemon_->check())
        return;
    radio::RotatorSettings settings = settings_;
    settings.enabled = enabled_->isChecked();
    settings.minElevationDeg = minElevation_->value();
    settings.prepositionSeconds = preposition_->value();
    settings.parkAzimuthDeg = parkAzimuth_->value();
    settings.parkElevationDeg = parkElevation_->value();
    settings.limits = {minAzimuth_->value(), maxAzimuth_->value(), lowestElevation_->value(),
                       highestElevation_->value()};
    settings.host = daemon_->host();
    settings.port = daemon_->port();
    settings.daemon = daemon_->settings();
    settings_ = settings;
    accept();
}
