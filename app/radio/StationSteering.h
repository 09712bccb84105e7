// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "radio/RadioController.h"
#include "radio/RotatorController.h"

#include <QObject>
#include <optional>

class TrackingContext;
class clsIni;

// The radio and the rotator of the station, following the tracking context:
// the current satellite's channels and passes, again at every change of
// satellite, station or element sets, with the settings of sections RADIO
// and ROTATOR.
namespace radio {

// The current satellite of `context` as the controllers see it: its passes
// and where it stands, while the station is known.
TrackInput trackOf(TrackingContext &context);

class StationSteering : public QObject
{
    Q_OBJECT
public:
    StationSteering(TrackingContext &context, clsIni &ini, QObject *parent = nullptr);

    RadioController &radio() { return radio_; }
    RotatorController &rotator() { return rotator_; }

    // The settings changed (the dialogs, the sky view's channels): read them again.
    void settingsChanged();

    // One line each for the status bar; empty while switched off.
    QString radioStatus() const;
    QString rotatorStatus() const;

signals:
    void changed();

private:
    void follow();

    struct Followed
    {
        int satellite;
        SatelliteFrequencies channels;
    };

    TrackingContext &context_;
    clsIni &ini_;
    std::optional<Followed> followed_;
    RadioController radio_;
    RotatorController rotator_;
};

} // namespace radio
