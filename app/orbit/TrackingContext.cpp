// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/TrackingContext.h"

TrackingContext::TrackingContext(clsSats &sats, QObject *parent) : QObject(parent), sats_(sats) {}

void TrackingContext::setSatellites(const SatTable &satellites)
{
    satellites_ = satellites;
    emit changed();
}

void TrackingContext::setCurrent(int index)
{
    if (index == current_ || index < 0 || index >= static_cast<int>(satellites_.size()))
        return;
    current_ = index;
    emit changed();
}

void TrackingContext::setStation(double latitudeDeg, double longitudeDeg)
{
    latitudeDeg_ = latitudeDeg;
    longitudeDeg_ = longitudeDeg;
    stationKnown_ = latitudeDeg != 0 && longitudeDeg != 0;
    emit changed();
}

const SatObject &TrackingContext::satellite(int index) const
{
    return satellites_.at(static_cast<size_t>(index));
}

QString TrackingContext::trackedName() const
{
    return stationKnown_ ? satellite(current_).name : QString();
}

bool TrackingContext::canLookAt(int index) const
{
    return stationKnown_ && index >= 0 && index < static_cast<int>(satellites_.size()) &&
           satellite(index).elementSetFound;
}

std::optional<clsSats::Look> TrackingContext::lookAt(int index, double jd) const
{
    if (!canLookAt(index))
        return std::nullopt;
    return sats_.lookAt(satellite(index).name, jd);
}

bool TrackingContext::usesDemoElements(int index) const
{
    const std::optional<ElementProvenance> set = sats_.elementProvenance(satellite(index).name);
    return set && set->demo;
}
