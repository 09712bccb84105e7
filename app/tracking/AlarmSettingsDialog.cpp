// SPDX-License-Identifier: GPL-2.0-or-later
#include "tracking/AlarmSettingsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <cmath>

AlarmSettingsDialog::AlarmSettingsDialog(const tracking::AlarmSettings &settings, QWidget *parent)
    : QDialog(parent), enabled_(new QCheckBox(QStringLiteral("&Warn before passes"), this)),
      lead_(new QSpinBox(this)), minElevation_(new QSpinBox(this)), margin_(new QSpinBox(this)),
      aosCommand_(new QLineEdit(settings.aosCommand, this)),
      losCommand_(new QLineEdit(settings.losCommand, this))
{
    setObjectName(QStringLiteral("AlarmSettingsDialog"));
    setWindowTitle(QStringLiteral("Pass Alarms"));
    enabled_->setObjectName(QStringLiteral("enabled"));
    enabled_->setChecked(settings.enabled);
    lead_->setObjectName(QStringLiteral("lead"));
    lead_->setRange(0, 24 * 60);
    lead_->setSuffix(QStringLiteral(" min before AOS"));
    lead_->setValue(settings.leadMinutes);
    minElevation_->setObjectName(QStringLiteral("minElevation"));
    minElevation_->setRange(0, 90);
    minElevation_->setSuffix(QStringLiteral("°"));
    minElevation_->setValue(static_cast<int>(std::lround(settings.minElevationDeg)));
    margin_->setObjectName(QStringLiteral("margin"));
    margin_->setRange(0, 3600);
    margin_->setSuffix(QStringLiteral(" s"));
    margin_->setValue(settings.marginSeconds);
    aosCommand_->setObjectName(QStringLiteral("aosCommand"));
    losCommand_->setObjectName(QStringLiteral("losCommand"));

    auto *form = new QFormLayout(this);
    form->addRow(enabled_);
    form->addRow(QStringLiteral("&Lead time"), lead_);
    form->addRow(QStringLiteral("Passes &reaching"), minElevation_);
    form->addRow(QStringLiteral("Command at &AOS"), aosCommand_);
    form->addRow(QStringLiteral("Command at L&OS"), losCommand_);
    form->addRow(QStringLiteral("&Margin"), margin_);
    auto *hint = new QLabel(
        QStringLiteral("The commands start the margin before AOS and after LOS, with ORVEX_SAT,\n"
                       "ORVEX_AOS, ORVEX_LOS, ORVEX_MAXEL and ORVEX_AOS_AZ in their environment."),
        this);
    hint->setWordWrap(true);
    form->addRow(hint);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

tracking::AlarmSettings AlarmSettingsDialog::settings() const
{
    tracking::AlarmSettings settings;
    settings.enabled = enabled_->isChecked();
    settings.leadMinutes = lead_->value();
    settings.minElevationDeg = minElevation_->value();
    settings.aosCommand = aosCommand_->text().trimmed();
    settings.losCommand = losCommand_->text().trimmed();
    settings.marginSeconds = margin_->value();
    return settings;
}
