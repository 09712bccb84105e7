// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "orbit/ElementProvenance.h"
#include "orbitengine/OrbitEngine.h"
#include "platform/DateTime.h"

#include <QString>
#include <QtGlobal>
#include <map>
#include <memory>
#include <optional>

// The one place of the program that knows about orbits: it owns the orbit
// engine and adds the clock, degrees, longitude folding, the degree-minute
// texts and the pass texts. All times handed to the engine are UTC.
class clsSats
{
public:
    // Where a satellite stands as the station sees it.
    struct Look
    {
        double azimuthDeg = 0; // from north through east, [0, 360)
        double elevationDeg = 0;
        double rangeKm = 0;
        double rangeRateKmPerS = 0; // positive while it recedes
    };

    clsSats();
    ~clsSats();
    clsSats(const clsSats &) = delete;
    clsSats &operator=(const clsSats &) = delete;

    // Julian date of a Date.
    double DateToJulianDate(orvex::Date date) const;

    // Times are shown (and GetNextPassTime answers) in local time when set.
    bool blnLocalTime() const { return localTime_; }
    void setBlnLocalTime(bool localTime) { localTime_ = localTime; }

    // The pass list text of the coming passes from now; "" on any error.
    QString strPassInfo(const QString &satelliteName);

    // Station position in degrees, north and east positive.
    orbit::Status setDblObsLat(double latitudeDeg);
    orbit::Status setDblObsLong(double longitudeDeg);

    // Where the satellite is at `datUtc`. Angles in degrees, longitude in
    // (-180, 180], altitude in km. With `nextPass` given, it receives "Now!"
    // while in view, else the next pass start as "hh:nn:ss" (display time).
    // A failed engine request comes back as the status (slots then zero).
    orbit::Status GetSatInfo(qint16 &inView, const QString &satelliteName, orvex::Date datUtc,
                             double &azimuthDeg, double &elevationDeg, double &longitudeDeg,
                             double &latitudeDeg, QString &longitudeText, QString &latitudeText,
                             double &altitudeKm, QString *nextPass = nullptr);

    // Start of the next pass after now, local or UTC as blnLocalTime says;
    // Date 0 on any error. The answer is kept until that pass begins (or the
    // element sets or the station change), so that the panel's refresh does
    // not search the passes again every few seconds.
    orvex::Date GetNextPassTime(const QString &satelliteName);

    // Now, UTC, from the program's clock.
    orvex::Date datGmtTime() const;
    // Now in the display time: local when blnLocalTime, else UTC.
    orvex::Date datTime() const;
    // The same instant as a local wall-clock Date, with the offset from UTC in
    // force at that instant. Never fails: on error the Date comes back unchanged.
    orvex::Date GmtToLocal(orvex::Date datUtc) const;

    // Folder of the element files; the engine reads them at once.
    orbit::Status setStrKeplerPath(const QString &folder);

    // File, name line, catalogue number and epoch of the set a satellite is
    // computed from; empty when no set has that name.
    std::optional<ElementProvenance> elementProvenance(const QString &satelliteName) const;
    // Why the satellite's set cannot be used ("" when it can).
    QString elementProblem(const QString &satelliteName) const;

    // What the sky view, the alarms, the history's shading, the sharing and
    // the radio ask of the orbits; times are Julian dates UTC, names the
    // element sets' name lines.
    // The satellite's look angles, range and range rate at `jd`; nothing when
    // it cannot be placed.
    std::optional<Look> lookAt(const QString &satelliteName, double jd);
    // Range and range rate alone.
    std::optional<orbit::RangeRate> rangeRate(const QString &satelliteName, double jd);
    // Sunlight or the Earth's shadow at `jd`.
    std::optional<orbit::Illumination> illumination(const QString &satelliteName, double jd);
    // Every pass over the station whose AOS lies in [fromJd, toJd].
    orbit::PassSearch passes(const QString &satelliteName, double fromJd, double toJd);
    // The umbra spans that overlap [fromJd, toJd].
    orbit::EclipseSearch shadows(const QString &satelliteName, double fromJd, double toJd);
    // Changes with every change of element sets or station.
    std::uint64_t elementRevision() const { return engine_->revision(); }
    // A Julian date UTC as the operator reads times: "HH:mm:ss" in local
    // time when blnLocalTime, else "HH:mm:ss UTC".
    QString clockText(double jd) const;

    // The engine itself, for the orbit subsystem's own windows and for tools.
    orbit::OrbitEngine &engine() { return *engine_; }

private:
    friend struct SatsTestAccess;

    // Azimuth at a UTC time, nearest whole degree (halves to even); empty on failure.
    std::optional<qint16> intAzimuthAt(const QString &satelliteName, orvex::Date datUtc);
    // Degrees east into (-180, 180]: above 180 less 360, exactly 180 stays.
    static double foldLongitude(double longitudeDeg);
    static void FormatLatLong(double longitudeDeg, double latitudeDeg, QString &longitudeText,
                              QString &latitudeText);
    // One line of the pass list; `start` receives the display start. Empty on failure.
    QString strFormatPass(const QString &satelliteName, const QString &record, orvex::Date &start);
    static orvex::SystemTime DateToSystemTime(orvex::Date date);
    static orvex::Date SystemTimeToDate(const orvex::SystemTime &time);

    // The next pass start last found for a satellite, UTC, while it is valid.
    struct KeptNextPass
    {
        std::uint64_t engineRevision = 0;
        orvex::Date askedAt = 0;
        orvex::Date start = 0;
    };

    std::unique_ptr<orbit::OrbitEngine> engine_;
    std::map<QString, KeptNextPass> nextPasses_;
    bool localTime_ = false;
    double radToDeg_;
};
