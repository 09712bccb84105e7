# SPDX-License-Identifier: GPL-2.0-or-later
"""Element sets for the demo station: ORVEX and the ISS with today's epoch.

Three-line form: the name line, then the two 69-column element lines, each
ending in its mod-10 check digit (digits count their value, '-' counts 1).
"""

import datetime
import math

# First line of the demo's element file. The program uses any other file's set
# of the same satellite before these invented ones, whatever their epochs, so
# that a real download is never shadowed by the demo.
DEMO_MARKER = '# DEMO ELEMENTS: invented by the ORVEX demo station, not for tracking'


def checksum(line):
    """Check digit of the first 68 columns of an element line."""
    total = 0
    for ch in line[:68]:
        if ch.isdigit():
            total += int(ch)
        elif ch == '-':
            total += 1
    return total % 10


def exponent_field(value):
    """An 8-column field in the assumed-decimal form ' 12345-4' (0.12345e-4)."""
    if value == 0:
        return ' 00000-0'
    sign = '-' if value < 0 else ' '
    magnitude = abs(value)
    exponent = math.floor(math.log10(magnitude)) + 1
    mantissa = round(magnitude / 10 ** exponent * 100000)
    if mantissa >= 100000:  # 0.999995 rounds up to the next decade
        mantissa //= 10
        exponent += 1
    return '%s%05d%s%d' % (sign, mantissa, '-' if exponent < 0 else '+', abs(exponent))


def first_derivative_field(value):
    """The 10-column field of half the mean motion's first derivative: '-.00002182'."""
    text = '%.8f' % abs(value)          # '0.00002182'
    return ('-' if value < 0 else ' ') + text[1:]


def epoch_field(moment):
    """YYDDD.DDDDDDDD of a UTC datetime."""
    start = datetime.datetime(moment.year, 1, 1, tzinfo=datetime.timezone.utc)
    days = (moment - start).total_seconds() / 86400.0 + 1.0
    return '%02d%012.8f' % (moment.year % 100, days)


def element_lines(catalogue, designator, epoch, ndot, nddot, bstar, element_number,
                  inclination, raan, eccentricity, perigee, anomaly, mean_motion, revolution):
    """The two element lines of one set, check digits included.

    Angles in degrees, mean motion in revolutions per day, ndot and nddot as
    they are written (half and a sixth of the derivatives, rev/day^2 and ^3).
    """
    line1 = '1 %05dU %-8s %s %s %s %s 0 %4d' % (
        catalogue, designator, epoch_field(epoch), first_derivative_field(ndot),
        exponent_field(nddot), exponent_field(bstar), element_number % 10000)
    ecc = ('%.7f' % eccentricity)[2:]
    line2 = '2 %05d %8.4f %8.4f %s %8.4f %8.4f %11.8f%5d' % (
        catalogue, inclination, raan % 360.0, ecc, perigee % 360.0, anomaly % 360.0,
        mean_motion, revolution % 100000)
    assert len(line1) == 68 and len(line2) == 68, (line1, line2)
    return line1 + str(checksum(line1)), line2 + str(checksum(line2))


def sun_right_ascension(moment):
    """Apparent right ascension of the sun in degrees (low-precision almanac formula)."""
    j2000 = datetime.datetime(2000, 1, 1, 12, tzinfo=datetime.timezone.utc)
    d = (moment - j2000).total_seconds() / 86400.0
    mean_longitude = math.radians((280.460 + 0.9856474 * d) % 360.0)
    mean_anomaly = math.radians((357.528 + 0.9856003 * d) % 360.0)
    ecliptic_longitude = (mean_longitude + math.radians(1.915) * math.sin(mean_anomaly)
                          + math.radians(0.020) * math.sin(2 * mean_anomaly))
    obliquity = math.radians(23.439 - 0.0000004 * d)
    ra = math.atan2(math.cos(obliquity) * math.sin(ecliptic_longitude),
                    math.cos(ecliptic_longitude))
    return math.degrees(ra) % 360.0


def demo_element_text(today=None):
    """The text of Keps/demo.txt: the marker line, then ORVEX (26931) and the ISS (25544),
    epoch today 00:00 UTC."""
    if today is None:
        today = datetime.datetime.now(datetime.timezone.utc).date()
    epoch = datetime.datetime(today.year, today.month, today.day, tzinfo=datetime.timezone.utc)
    day_number = (today - datetime.date(2000, 1, 1)).days

    # ORVEX: a sun-synchronous orbit of about 570 km with its ascending node at
    # 22:30 local solar time (the descending node at 10:30), so its passes fall
    # at the hours such satellites keep.
    orvex_raan = sun_right_ascension(epoch) + (22.5 - 12.0) * 15.0
    orvex = element_lines(26931, '01043C', epoch, 0.00000512, 0.0, 0.000065, 999,
                          97.6012, orvex_raan, 0.0011873, 84.4671, 275.7904,
                          14.98021546, 40000 + day_number * 15 % 50000)

    # The ISS: 51.64 degrees, about 420 km, the node walking back 5 degrees a day.
    iss_raan = 210.0 - 5.0 * (day_number % 72)
    iss = element_lines(25544, '98067A', epoch, 0.00016717, 0.0, 0.00029621, 999,
                        51.6412, iss_raan, 0.0005472, 33.4155, 326.7301,
                        15.50103472, int(day_number * 15.5) % 100000)

    return '%s\nORVEX\n%s\n%s\nISS (ZARYA)\n%s\n%s\n' % ((DEMO_MARKER,) + orvex + iss)
