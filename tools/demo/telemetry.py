# SPDX-License-Identifier: GPL-2.0-or-later
"""Telemetry frames of a simulated ORVEX for the demo station.

A telemetry line has nine comma-separated fields:

    T#042,118,097,201,033,140,061,10110000,0731
    label ch0 ch1 ch2 ch3 --- --- bits     ---

Fields 2 to 5 are the raw values (0 to 255) of the four channels; the third
and fourth digits of field 8 give the mode (0 to 3), which with the side of
the sending callsign says what the channels measure. Fields 6, 7 and 9 carry
values the decoder does not show (here two spare channels and the minutes
since the side last reset).

The raw values come from a small model of the spacecraft, so that the grids
show plausible engineering values through data/formula.txt: a sun vector that
turns with the satellite's spin, eclipses every few rounds, panel currents of
the lit faces, temperatures that follow the light, a battery that charges in
the sun and discharges in the shade.
"""

import math

# The satellite's callsigns, by side (the program's default callsign list).
SIDE_A_CALLS = (['Q9ZZZ'] + ['Q9ZZZ-%d' % n for n in range(1, 16)]
                + ['ORVEX-1', 'ORVEX-2', 'NODIGI'])
SIDE_B_CALLS = ['ORVEX'] + ['ORVEX-%d' % n for n in range(3, 16)]

# What each channel measures, by side and mode.
CHANNELS = {
    ('A', 0): ('I X+', 'I Z+', 'I Y+', 'I X-'),
    ('A', 1): ('T Y+', 'T Batt', 'T Xmtr', 'T Z+'),
    ('A', 2): ('T X+', 'T Stack', 'I Y-', 'I Batt'),
    ('A', 3): ('V Batt A', 'V Batt B', 'P Out', 'V 8V Reg'),
    ('B', 0): ('I X-', 'I Z-', 'I Y-', 'I X+'),
    ('B', 1): ('T Y-', 'T Batt', 'T Xmtr', 'T Z-'),
    ('B', 2): ('T X-', 'T Stack', 'I Y+', 'I Batt'),
    ('B', 3): ('V Batt A', 'V Batt B', 'P Out', 'V 8V Reg'),
}

# Inverse calibration: engineering value to raw count, per side (the gains of
# data/formula.txt; temperatures go through the thermistor polynomial).
CURRENT_GAIN = {'A': 1.96, 'B': 1.9992}          # mA per count
BATTERY_GAIN = {'A': 4.0, 'B': 4.08}             # mA per count, offset -512 mA
VOLT_GAIN = {'A': 0.0588, 'B': 0.05998}          # V per count
POWER_GAIN = {'A': 0.008, 'B': 0.00816}          # W per count
REGULATOR_GAIN = 0.0392                          # V per count
THERMISTOR = {'A': (-0.0000012, 0.0008, -0.55, 75.0), 'B': (-0.0000012, 0.0008, -0.561, 76.0)}

FACE_NORMALS = {'X+': (1, 0, 0), 'X-': (-1, 0, 0), 'Y+': (0, 1, 0),
                'Y-': (0, -1, 0), 'Z+': (0, 0, 1), 'Z-': (0, 0, -1)}


def clamp_raw(value):
    return max(0, min(255, int(round(value))))


def temperature_raw(side, celsius):
    a, b, c, d = THERMISTOR[side]
    return min(range(256), key=lambda x: abs(((a * x + b) * x + c) * x + d - celsius))


def bits_field(mode, sunlit, charging):
    return '%d%d%d%d1100' % (int(sunlit), int(charging), mode >> 1, mode & 1)


class Spacecraft:
    def __init__(self, rng):
        self.rng = rng
        self.round = 0
        self.spin = rng.uniform(0, 2 * math.pi)
        self.orbit = rng.uniform(0, 2 * math.pi)
        self.sequence = rng.randrange(1000)
        self.minutes = {'A': rng.randrange(200, 9000), 'B': rng.randrange(200, 9000)}

    def advance(self):
        """One round later: the satellite has spun and moved on in its orbit."""
        self.round += 1
        self.spin += math.radians(self.rng.uniform(35, 65))
        self.orbit += math.radians(self.rng.uniform(50, 80))
        for side in self.minutes:
            self.minutes[side] += 2

    def sunlit(self):
        return math.cos(self.orbit) > -0.55

    def sun_vector(self):
        tilt = math.radians(25)
        return (math.cos(self.spin) * math.cos(tilt), math.sin(self.spin) * math.cos(tilt),
                math.sin(tilt))

    def noise(self, spread):
        return self.rng.gauss(0, spread)

    def value(self, quantity):
        """The engineering value of a quantity named as in CHANNELS."""
        kind, _, what = quantity.partition(' ')
        lit = self.sunlit()
        sun = self.sun_vector()
        if kind == 'I' and what in FACE_NORMALS:
            normal = FACE_NORMALS[what]
            cosine = max(0.0, sum(s * n for s, n in zip(sun, normal))) if lit else 0.0
            return max(0.0, 310.0 * cosine + abs(self.noise(3)))
        if kind == 'I':   # battery, positive while charging
            return (70.0 if lit else -95.0) + self.noise(12)
        if kind == 'T' and what in FACE_NORMALS:
            normal = FACE_NORMALS[what]
            cosine = max(0.0, sum(s * n for s, n in zip(sun, normal))) if lit else 0.0
            return (4.0 if lit else -8.0) + 28.0 * cosine + self.noise(1.5)
        if kind == 'T':
            base = {'Batt': 17.0, 'Xmtr': 31.0, 'Stack': 22.0}[what]
            return base + (2.0 if lit else -3.0) + self.noise(0.8)
        if kind == 'P':
            return 1.55 + self.noise(0.08)
        if what == '8V Reg':
            return 8.0 + self.noise(0.03)
        return (8.25 if lit else 7.85) + self.noise(0.05)   # battery volts

    def raw(self, side, quantity):
        kind, _, what = quantity.partition(' ')
        value = self.value(quantity)
        if kind == 'T':
            return temperature_raw(side, value)
        if kind == 'I' and what == 'Batt':
            return clamp_raw((value + 512.0) / BATTERY_GAIN[side])
        if kind == 'I':
            return clamp_raw(value / CURRENT_GAIN[side])
        if kind == 'P':
            return clamp_raw(value / POWER_GAIN[side])
        if what == '8V Reg':
            return clamp_raw(value / REGULATOR_GAIN)
        return clamp_raw(value / VOLT_GAIN[side])

    def line(self, side, mode):
        """One telemetry line of the given side and mode."""
        self.sequence = (self.sequence + 1) % 1000
        raws = [self.raw(side, quantity) for quantity in CHANNELS[(side, mode)]]
        spare = [self.rng.randrange(256), self.rng.randrange(256)]
        lit = self.sunlit()
        return 'T#%03d,%s,%s,%04d' % (
            self.sequence, ','.join('%03d' % value for value in raws + spare),
            bits_field(mode, lit, lit), self.minutes[side] % 10000)

    def frames(self):
        """This round's telemetry: both sides, all four modes, in monitor form."""
        result = []
        for side, calls in (('A', SIDE_A_CALLS), ('B', SIDE_B_CALLS)):
            for mode in range(4):
                call = calls[(self.round * 4 + mode) % len(calls)]
                result.append('%s>TLM:%s' % (call, self.line(side, mode)))
        return result
