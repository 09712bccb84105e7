// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "tracking/DopplerTuning.h"
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
class TrackingContext;

// The sky view: the current or next pass of the tracked satellite as a
// polar plot, with the countdown, the pass's figures, where the satellite
// stands now, and the Doppler correction of a downlink and an uplink
// frequency, updated every second. It follows the tracking context; times
// follow the program's local time option.
class SkyViewWindow : public QWidget
{
    Q_OBJECT
public:
    // `ini` keeps the two frequencies (section SKYVIEW); it may be null.
    SkyViewWindow(TrackingContext &context, clsIni *ini, QWidget *parent = nullptr);
    ~SkyViewWindow() override;

    // Looks at the clock and shows the moment (the timer calls it each second).
    void refresh();
    // Another part's figures below the sky view's own (the radio's, say).
    void addSection(QWidget *section);

    const tracking::SkyView &view() const { return view_; }

signals:
    // The operator set other channels for the current satellite.
    void frequenciesChanged();

private:
    void follow();
    QLabel *addRow(class QFormLayout *form, const QString &caption, const QString &name);
    void saveFrequencies();

    TrackingContext &context_;
    clsSats &sats_;
    clsIni *ini_;
    std::unique_ptr<tracking::SkyViewModel> model_;
    tracking::DopplerTuning tuning_;
    tracking::SkyView view_;
    QString satellite_;
    SkyPlot *plot_;
    QTimer *timer_;
    QLabel *title_, *countdown_, *aos_, *tca_, *los_, *maxElevation_, *duration_;
    QLabel *lookNow_, *range_, *rangeRate_, *sunlight_;
    QDoubleSpinBox *downlink_, *uplink_;
    QLabel *downShift_, *downTune_, *upShift_, *upTune_;
    class QVBoxLayout *side_;
};
