// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "tracking/SkyViewModel.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QDoubleSpinBox;
class QLabel;
class QTimer;
class SkyPlot;
class clsIni;
class clsSats;

// The sky view: the current or next pass of the tracked satellite as a
// polar plot, with the countdown, the pass's figures and the Doppler
// correction of a downlink and an uplink frequency, updated every second.
// Times follow the program's local time option.
class SkyViewWindow : public QWidget
{
    Q_OBJECT
public:
    // `ini` keeps the two frequencies (section SKYVIEW); it may be null.
    SkyViewWindow(clsSats &sats, clsIni *ini, QWidget *parent = nullptr);
    ~SkyViewWindow() override;

    void setSatellite(const QString &name);
    // Element sets or station changed.
    void invalidate();
    // Looks at the clock and shows the moment (the timer calls it each second).
    void refresh();

    const tracking::SkyView &view() const { return view_; }

private:
    QString timeText(double jd) const;
    QLabel *addRow(class QFormLayout *form, const QString &caption, const QString &name);
    void saveFrequencies();

    clsSats &sats_;
    clsIni *ini_;
    std::unique_ptr<tracking::SkyViewModel> model_;
    tracking::SkyView view_;
    QString satellite_;
    SkyPlot *plot_;
    QTimer *timer_;
    QLabel *title_, *countdown_, *aos_, *tca_, *los_, *maxElevation_, *duration_;
    QLabel *range_, *rangeRate_, *sunlight_;
    QDoubleSpinBox *downlink_, *uplink_;
    QLabel *downShift_, *downTune_, *upShift_, *upTune_;
};
