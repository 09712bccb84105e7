// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "orbit/SatObject.h"
#include "orbit/clsSats.h"

#include <QObject>
#include <optional>

// What the station tracks, held in one place: the two satellites (name,
// catalogue number, whether an element set was found), which one is
// current, where the station is, and the revision of the element sets. The
// parts that follow the satellite (the sky view, the pass alarms, the
// history's shading, the sharing, the radio) subscribe to changed(); the
// main window only reports what happened.
class TrackingContext : public QObject
{
    Q_OBJECT
public:
    explicit TrackingContext(clsSats &sats, QObject *parent = nullptr);

    clsSats &sats() const { return sats_; }

    // What happened, as the main window learns of it.
    // The Keps folder was scanned (after the engine read it, when it did).
    void setSatellites(const SatTable &satellites);
    void setCurrent(int index); // Change Sat
    // Degrees, north and east positive; known when both are nonzero.
    void setStation(double latitudeDeg, double longitudeDeg);

    const SatObject &satellite(int index) const;
    int currentIndex() const { return current_; }
    bool stationKnown() const { return stationKnown_; }
    double stationLatitudeDeg() const { return latitudeDeg_; }
    double stationLongitudeDeg() const { return longitudeDeg_; }
    std::uint64_t elementRevision() const { return sats_.elementRevision(); }

    // The satellite whose passes over the station are followed: the current
    // one while the station is known; empty otherwise.
    QString trackedName() const;
    // Whether satellite `index` can be placed over the station (its set was
    // found and the station is known), and where it stands at `jd` (UTC).
    bool canLookAt(int index) const;
    std::optional<clsSats::Look> lookAt(int index, double jd) const;
    // Whether satellite `index` is computed from the demo station's invented sets.
    bool usesDemoElements(int index) const;

signals:
    // The satellite, the station or the element sets changed.
    void changed();

private:
    clsSats &sats_;
    SatTable satellites_;
    int current_ = 0;
    bool stationKnown_ = false;
    double latitudeDeg_ = 0;
    double longitudeDeg_ = 0;
};
