// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "radio/RotatorSettings.h"

#include <QDialog>

class DaemonFields;
class QCheckBox;
class QDoubleSpinBox;
class QSpinBox;

// Options, Rotator...: whether the rotator follows the passes, from which
// elevation, how long before AOS it turns to the AOS azimuth, where it
// parks, its range (for a rotctld that does not tell it), and where rotctld
// is or which rotator the program starts it for. OK refuses bad input with
// a message; the settings come back through settings().
class RotatorDialog : public QDialog
{
    Q_OBJECT
public:
    explicit RotatorDialog(const radio::RotatorSettings &settings, QWidget *parent = nullptr);
    radio::RotatorSettings settings() const { return settings_; }

private:
    void okClicked();

    radio::RotatorSettings settings_;
    QCheckBox *enabled_;
    QDoubleSpinBox *minElevation_;
    QSpinBox *preposition_;
    QDoubleSpinBox *parkAzimuth_, *parkElevation_;
    QDoubleSpinBox *minAzimuth_, *maxAzimuth_, *lowestElevation_, *highestElevation_;
    DaemonFields *daemon_;
};
