#!/usr/bin/python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Range, range rate and Doppler computed independently of the orbit engine.

skyfield's EarthSatellite (python-sgp4, WGS-72) and a WGS-84 station at sea
level, both taken to the GCRS by skyfield (IAU 2000A nutation, no polar
motion), with UT1 = UTC (a constant TT - UT1 of 69.184 s). The range rate is
the relative velocity along the line of sight; a signal sent at FREQ by the
satellite is received at FREQ * c / (c + range rate).

usage: doppler_reference.py ELEMENTS SCENARIO... > doppler-reference.txt
SCENARIO is "NAME|LAT|LON|START|SECONDS|STEP|FREQ_HZ", START as YYYY-MM-DDTHH:MM:SSZ.
"""
import sys
from datetime import datetime, timedelta, timezone

import numpy as np
from skyfield.api import EarthSatellite, load, wgs84

SPEED_OF_LIGHT_KM_S = 299792.458


def read_elements(path, ts):
    lines = [l.rstrip("\n") for l in open(path) if l.strip()]
    sets = {}
    for i in range(len(lines) - 2):
        if lines[i + 1].startswith("1 ") and lines[i + 2].startswith("2 "):
            sets[lines[i].strip()] = EarthSatellite(lines[i + 1], lines[i + 2], lines[i].strip(), ts)
    return sets


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    ts = load.timescale(delta_t=69.184)  # TT - UTC from 2017 on: UT1 = UTC
    sets = read_elements(sys.argv[1], ts)
    print("# Range, range rate and Doppler of the element sets in station.txt, for the tests.")
    print("# Made by tools/reference/doppler_reference.py (skyfield %s, python-sgp4, UT1 = UTC)."
          % __import__("skyfield").__version__)
    print("# A scenario line: \"@ NAME|LAT|LON|START|SECONDS|STEP|FREQ_HZ\"; then per step:")
    print("# TIME RANGE_KM RANGE_RATE_KM_S DOPPLER_HZ (received less sent; receding positive rate)")
    for scenario in sys.argv[2:]:
        name, lat, lon, start_text, seconds, step, frequency = scenario.split("|")
        sat = sets[name]
        station = wgs84.latlon(float(lat), float(lon), elevation_m=0.0)
        start = datetime.strptime(start_text, "%Y-%m-%dT%H:%M:%SZ").replace(tzinfo=timezone.utc)
        print("@ " + scenario)
        offsets = np.arange(0.0, float(seconds) + 1e-9, float(step))
        for offset in offsets:
            when = start + timedelta(seconds=float(offset))
            t = ts.from_datetime(when)
            relative = (sat - station).at(t)
            r = relative.position.km
            v = relative.velocity.km_per_s
            distance = float(np.linalg.norm(r))
            rate = float(np.dot(r, v)) / distance
            shift = float(frequency) * (SPEED_OF_LIGHT_KM_S / (SPEED_OF_LIGHT_KM_S + rate) - 1.0)
            print("%s.%03dZ %.4f %.7f %.4f" % (when.strftime("%Y-%m-%dT%H:%M:%S"),
                                               when.microsecond // 1000, distance, rate, shift))


if __name__ == "__main__":
    main()
