// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

class clsIni;
class clsSats;

// A station heard through the satellite, as the map marks it.
struct MapStation
{
    QString callsign;
    double latitudeDeg = 0;  // north positive
    double longitudeDeg = 0; // east positive
    bool thisPass = false;   // heard on the pass in progress or the last one
};

// What the map window needs of the main window. The main window implements
// it (the signatures are its own members'); the map holds a reference for
// its whole life.
class MapHost
{
public:
    virtual ~MapHost() = default;

    // The one orbit object of the program; nullptr when there is none, and
    // then the map has no positions to draw.
    virtual clsSats *cSats() const = 0;
    // The settings file the map keeps its position in (section SETUP);
    // nullptr when there is none, and then the position is not kept.
    virtual clsIni *cIni() const = 0;
    // The program folder, with a trailing separator.
    virtual QString strAppPath() const = 0;
    // The map picture; the main window finds the installed one.
    virtual QString mapPictureFile() const { return strAppPath() + QStringLiteral("world.gif"); }
    // The current satellite: 0 ORVEX, 1 the ISS.
    virtual qint16 intObjIndex() const = 0;
    // The name by which the current satellite is asked of cSats().
    virtual QString strObject() const = 0;
    // The current satellite's display name, e.g. "ORVEX" or "ISS".
    virtual QString MakeLocationCaption() const = 0;
    // Switches to the other satellite; the main window then calls the map's
    // SatHasChanged().
    virtual void ChangeSat() = 0;
    // The stations heard via the satellite on this pass and over the last
    // hours that the settings give, with their last positions; drawn beside
    // the footprint.
    virtual QList<MapStation> heardStations() const { return {}; }
};
