// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "tracking/PassAlarmPlan.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QSpinBox;

// The pass alarm settings: on/off, how long before AOS, from which maximum
// elevation, and the commands run at AOS and LOS with their margin.
class AlarmSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AlarmSettingsDialog(const tracking::AlarmSettings &settings,
                                 QWidget *parent = nullptr);
    tracking::AlarmSettings settings() const;

private:
    QCheckBox *enabled_;
    QSpinBox *lead_, *minElevation_, *margin_;
    QLineEdit *aosCommand_, *losCommand_;
};
