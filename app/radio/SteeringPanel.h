// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QGroupBox>

class QFormLayout;
class QLabel;
class QPushButton;

namespace radio {

class StationSteering;

// What the radio and the rotator are doing, for the sky view: each link's
// state, the channels' frequencies as computed, as set and as the radio
// reports them, the operator's offset with its reset, and the beam's
// position wanted and reported with the pass's plan.
class SteeringPanel : public QGroupBox
{
    Q_OBJECT
public:
    explicit SteeringPanel(StationSteering &steering, QWidget *parent = nullptr);

    void refresh();

private:
    QLabel *addRow(QFormLayout *form, const QString &caption, const char *name);

    StationSteering &steering_;
    QLabel *radioLink_, *downlink_, *uplink_, *offset_;
    QLabel *rotatorLink_, *beam_, *plan_;
    QPushButton *resetOffset_;
};

} // namespace radio
