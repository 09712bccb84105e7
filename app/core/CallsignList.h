// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "settings/clsCallsign.h"

#include <QList>

class clsIni;

// The satellite's callsigns and the side each belongs to, kept in the
// CALLSIGNS section of the settings file (key = callsign, value = side).
class CallsignList
{
public:
    explicit CallsignList(clsIni &ini);

    // Replaces the section with the default list.
    void InitCallsigns();
    // Reads the section; an empty or missing section is repaired first.
    void LoadCallsigns();

    QList<clsCallsign> cCallsigns() const { return list_; }
    // Replaces the list and rewrites the section at once.
    void setCCallsigns(const QList<clsCallsign> &list);

    // Exact, case-sensitive lookups from the first entry.
    bool contains(const QString &callsign) const;
    // 1 for side B, else 0 (also for a callsign not in the list).
    int intSideForCallsign(const QString &callsign) const;

    static QList<clsCallsign> defaultList();

private:
    void SaveCallsigns();
    const clsCallsign *find(const QString &callsign) const;

    clsIni &ini_;
    QList<clsCallsign> list_;
};

// The APRS destination address of this software: "APZ3" and two base-36
// digits of major*100 + minor*10 + revision.
QString aprsDestination(int major, int minor, int revision);
