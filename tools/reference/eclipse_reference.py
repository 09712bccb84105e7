#!/usr/bin/python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Umbra intervals computed independently of the orbit engine, as test data.

Positions: python-sgp4 (WGS-72, TEME). Sun: ERFA's epv00 (the Earth's
heliocentric and barycentric state from the VSOP2000-based series), with
aberration (eraAb) for the apparent direction, taken from GCRS to TEME by the
IAU 1976/1980 precession-nutation (eraPnm80) and the equation of the equinoxes
(eraEqeq94). Shadow: the umbra cone tangent to a spherical Earth (6378.137 km)
and Sun (696,000 km), tested by the satellite's distance from the shadow axis.
Edges are found on a 10 s scan and refined by bisection to 0.1 ms.

usage: eclipse_reference.py ELEMENTS SCENARIO... > eclipse-reference.txt
SCENARIO is "NAME|START|DAYS[|EDGE]" with START as YYYY-MM-DDTHH:MM:SSZ and EDGE
umbra (the default), centre (the shadow of a point Sun, as skyfield's is_sunlit
has it) or penumbra. For umbra scenarios the centre's edges are compared with
the umbra's on standard error.
"""
import math
import sys
from datetime import datetime, timedelta, timezone

import erfa
import numpy as np
from sgp4.api import WGS72, Satrec

EARTH_RADIUS_KM = 6378.137
SUN_RADIUS_KM = 696000.0
AU_KM = 149597870.7
TT_MINUS_UTC_S = 69.184  # 37 leap seconds + 32.184 s, valid 2017 onwards
SCAN_STEP_S = 10.0
TOLERANCE_S = 1e-4


def read_elements(path):
    lines = [l.rstrip("\n") for l in open(path) if l.strip()]
    sets = {}
    for i in range(len(lines) - 2):
        if lines[i + 1].startswith("1 ") and lines[i + 2].startswith("2 "):
            sets[lines[i].strip()] = Satrec.twoline2rv(lines[i + 1], lines[i + 2], WGS72)
    return sets


def jd_of(text):
    t = datetime.strptime(text, "%Y-%m-%dT%H:%M:%SZ").replace(tzinfo=timezone.utc)
    return 2440587.5 + t.timestamp() / 86400.0


def iso(jd):
    ms = round((jd - 2440587.5) * 86400000.0)
    t = datetime(1970, 1, 1, tzinfo=timezone.utc) + timedelta(milliseconds=ms)
    return t.strftime("%Y-%m-%dT%H:%M:%S.") + "%03dZ" % (t.microsecond // 1000)


def sun_teme_km(jd_utc):
    """Apparent geocentric Sun, km, TEME."""
    tt1, tt2 = 2400000.5, jd_utc - 2400000.5 + TT_MINUS_UTC_S / 86400.0
    pvh, pvb = erfa.epv00(tt1, tt2)
    earth_helio = np.array(pvh[0].tolist())
    earth_bary_velocity = np.array(pvb[1].tolist()) / (299792.458 * 86400.0 / AU_KM)
    sun = -earth_helio
    distance = np.linalg.norm(sun)
    bm1 = math.sqrt(1.0 - float(np.dot(earth_bary_velocity, earth_bary_velocity)))
    apparent = erfa.ab(sun / distance, earth_bary_velocity, distance, bm1)
    to_true_of_date = erfa.pnm80(tt1, tt2)
    to_teme = erfa.rz(erfa.eqeq94(tt1, tt2), to_true_of_date)
    return to_teme @ apparent * distance * AU_KM


def position_km(sat, jd):
    whole = math.floor(jd - 0.5) + 0.5
    error, r, _ = sat.sgp4(whole, jd - whole)
    if error:
        raise RuntimeError("sgp4 error %d at %s" % (error, iso(jd)))
    return np.array(r)


def in_shadow(sat, jd, sun_radius_km):
    """The satellite inside the cone tangent to the Earth and a Sun of this radius
    (0: a point Sun; negative: the penumbra's cone, tangent on opposite sides)."""
    r = position_km(sat, jd)
    sun = sun_teme_km(jd)
    distance = np.linalg.norm(sun)
    axis = -sun / distance  # from the Earth's centre away from the Sun
    along = float(np.dot(r, axis))  # km behind the Earth's centre
    if along <= 0:
        return False
    off_axis = float(np.linalg.norm(r - along * axis))
    # Cone half angle and the shadow's radius at `along`.
    half_angle = math.asin((sun_radius_km - EARTH_RADIUS_KM) / distance)
    # The cone touches the Earth where its generator is tangent: its radius at
    # the plane through the Earth's centre is R / cos(half angle).
    radius = EARTH_RADIUS_KM / math.cos(half_angle) - along * math.tan(half_angle)
    return off_axis < radius


def edges(sat, jd0, jd1, sun_radius_km):
    step = SCAN_STEP_S / 86400.0
    found = []
    previous_jd, previous = jd0, in_shadow(sat, jd0, sun_radius_km)
    start_in_shadow = previous
    while previous_jd < jd1:
        jd = min(previous_jd + step, jd1)
        current = in_shadow(sat, jd, sun_radius_km)
        if current != previous:
            a, b = previous_jd, jd
            while (b - a) * 86400.0 > TOLERANCE_S:
                m = 0.5 * (a + b)
                if in_shadow(sat, m, sun_radius_km) == previous:
                    a = m
                else:
                    b = m
            found.append((0.5 * (a + b), current))
        previous_jd, previous = jd, current
    return start_in_shadow, found


def intervals(sat, start, end, sun_radius_km):
    period_days = 2.0 * math.pi / sat.no_kozai / 1440.0
    overhang = min(0.5 * period_days + 1.0 / 1440.0, 2.0)
    open_at_start, found = edges(sat, start - overhang, end + overhang, sun_radius_km)
    entry = start - overhang if open_at_start else None
    result = []
    for jd, entering in found:
        if entering:
            entry = jd
        elif entry is not None:
            if jd >= start and entry <= end:
                result.append((entry, jd))
            entry = None
    return result


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    sets = read_elements(sys.argv[1])
    print("# Umbra intervals of the element sets in station.txt, for the eclipse search tests.")
    print("# Made by tools/reference/eclipse_reference.py (python-sgp4 positions, ERFA epv00")
    print("# Sun, conical umbra of spherical Earth 6378.137 km and Sun 696,000 km, 0.1 ms).")
    print("# A scenario line: \"@ NAME|START|DAYS[|EDGE]\" (EDGE umbra if not given, centre or")
    print("# penumbra); then per eclipse overlapping it: ENTRY EXIT")
    for scenario in sys.argv[2:]:
        name, start_text, days, *edge = scenario.split("|")
        sun_radius = {"umbra": SUN_RADIUS_KM, "centre": 0.0, "penumbra": -SUN_RADIUS_KM}[
            edge[0] if edge else "umbra"]
        sat = sets[name]
        start = jd_of(start_text)
        end = start + float(days)
        print("@ " + scenario)
        umbra = intervals(sat, start, end, sun_radius)
        for entry, exit_ in umbra:
            print(iso(entry), iso(exit_))
        centre = intervals(sat, start, end, 0.0) if sun_radius == SUN_RADIUS_KM else []
        if len(centre) == len(umbra) and umbra:
            later = [(u[0] - c[0]) * 86400.0 for u, c in zip(umbra, centre)]
            earlier = [(c[1] - u[1]) * 86400.0 for u, c in zip(umbra, centre)]
            print("%s: umbra entry %.2f..%.2f s after, exit %.2f..%.2f s before the Sun's centre"
                  % (name, min(later), max(later), min(earlier), max(earlier)), file=sys.stderr)


if __name__ == "__main__":
    main()
