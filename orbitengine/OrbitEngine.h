// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "orbitengine/CivilTime.h"
#include "orbitengine/Doppler.h"
#include "orbitengine/Eclipse.h"
#include "orbitengine/ElementCatalogue.h"
#include "orbitengine/Geometry.h"
#include "orbitengine/Passes.h"
#include "orbitengine/Sgp4.h"
#include "orbitengine/Status.h"
#include "orbitengine/Tle.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The orbit engine behind clsSats: element sets from a folder, positions and
// pass lists for a station. Plain C++; every failure is a Status.
namespace orbit {

// The engine's time value: a Julian date, UTC.
using EngineTime = double;

struct Position
{
    std::int16_t inView = 0; // nonzero when the geometric elevation is above 0
    double azimuth = 0;      // radians, from north through east
    double elevation = 0;    // radians
    double longitude = 0;    // radians east, sub-satellite point, [0, 2 pi)
    double latitude = 0;     // radians, geodetic
    double altitudeKm = 0;   // above the WGS-84 ellipsoid
    double rangeKm = 0;      // station to satellite
};

class OrbitEngine
{
public:
    // Indexes every element file of the folder (replacing the sets held so
    // far); a set is read in full when first asked for. Files or sets that
    // cannot be read are skipped; see skippedSets(). Fails only when the
    // folder itself cannot be listed.
    Status SetElementFolder(const std::string &path);
    // Degrees, north positive, -90 to 90.
    Status SetObserverLatitude(double degrees);
    // Degrees east, 0 up to (not including) 360; -180 to 0 is taken as well.
    Status SetObserverLongitude(double degrees);
    // Date (days since 1899-12-30 00:00 UTC) to the engine's time value.
    static EngineTime ToEngineTime(double date) { return date + julianDateOfDateZero; }
    static double FromEngineTime(EngineTime jd) { return jd - julianDateOfDateZero; }

    // Where the named satellite is at `time`, seen from the station.
    Status GetPosition(const std::string &name, EngineTime time, Position &out);

    // The pass list text: records "{AOS LOS AZAOS MAXEL DURATION}" joined by ",".
    // AOS and LOS are UTC as yyyymmddhhnnss (AOS rounded to the second), AZAOS
    // the azimuth at AOS in degrees, MAXEL the highest elevation in degrees,
    // DURATION the seconds from the listed AOS to LOS. The passes that begin at
    // or after `startDate` (a Date, UTC), until at least `minPasses` are listed
    // and at least `minDays` days are covered; never more than 30 days.
    // The last two numbers are reserved: the program passes 0, and they are not read.
    Status ListPasses(const std::string &name, double startDate, int minPasses, int minDays,
                      int reserved1, int reserved2, std::string &text);

    // Every pass whose AOS lies in [startJd, endJd] (Julian dates, UTC).
    PassSearch findPasses(const std::string &name, EngineTime startJd, EngineTime endJd);

    // Range (km) and range rate (km/s, positive receding) from the station at `time`.
    Status GetRangeRate(const std::string &name, EngineTime time, RangeRate &out);
    // Sunlight, penumbra or umbra at `time`.
    Status GetIllumination(const std::string &name, EngineTime time, Illumination &out);
    // Shadow intervals overlapping [startJd, endJd] (Julian dates, UTC).
    EclipseSearch findEclipses(const std::string &name, EngineTime startJd, EngineTime endJd,
                               ShadowEdge edge = ShadowEdge::Umbra);

    // Element sets without a folder (tests, tools): adds the sets of one text.
    void addElementText(std::string_view text);
    void clearElementSets();
    // The set held for a name line (looked up trimmed, blanks folded); nullptr
    // if none or when it cannot be read.
    const ElementSet *findElementSet(const std::string &name) const;
    // Whether the named set can be used, or why not (not found, unreadable,
    // values no orbit has, a propagator that refuses it).
    Status elementStatus(const std::string &name) const;
    // File, name line, catalogue number and epoch of the set held for a name.
    std::optional<ElementSource> elementSource(const std::string &name) const;
    std::vector<std::string> names() const;
    const std::vector<std::string> &skippedSets() const { return catalogue_.skipped(); }
    const Observer &observer() const { return observer_; }

    // What the element sets cost to read and hold.
    const CatalogueCost &catalogueCost() const { return catalogue_.cost(); }
    void setMaxNamesPerFile(std::size_t count) { catalogue_.setMaxNamesPerFile(count); }
    // Counts every change of element sets or station, so that answers kept
    // by callers can tell that they are out of date.
    std::uint64_t revision() const { return revision_; }
    // Pass searches made so far.
    std::uint64_t passSearches() const { return passSearches_; }

private:
    LoadedElementSet *lookup(const std::string &name, Status &status) const;
    // The named satellite's TEME state (km, km/s) at `time`.
    Status stateAt(const std::string &name, EngineTime time, StateVector &state);

    ElementCatalogue catalogue_;
    std::uint64_t revision_ = 0;
    std::uint64_t passSearches_ = 0;
    double latitudeDeg_ = 0;
    double longitudeDeg_ = 0;
    Observer observer_ = makeObserver(0, 0);
};

} // namespace orbit
