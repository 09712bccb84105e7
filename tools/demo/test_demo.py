#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Checks of the demo station's element sets, telemetry and traffic, without Dire Wolf.

    python3 tools/demo/test_demo.py
"""

import datetime
import os
import random
import re
import sys
import unittest

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)

import agwpe       # noqa: E402
import elements   # noqa: E402
import telemetry  # noqa: E402

# A published element set (the usual worked example for the two-line format).
ISS_2008 = ('1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927',
            '2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537')

CALL = re.compile(r'^[A-Z0-9]{1,6}(-([0-9]|1[0-5]))?\*?$')


class ElementLines(unittest.TestCase):
    def test_check_digit_of_published_set(self):
        for line in ISS_2008:
            self.assertEqual(elements.checksum(line), int(line[68]))

    def test_minus_counts_one(self):
        self.assertEqual(elements.checksum('-' * 3 + ' ' * 65), 3)
        self.assertEqual(elements.checksum('9' * 68), (9 * 68) % 10)

    def test_published_fields_are_written_alike(self):
        epoch = datetime.datetime(2008, 9, 20, 12, 25, 40, 104000, tzinfo=datetime.timezone.utc)
        self.assertEqual(elements.epoch_field(epoch), ISS_2008[0][18:32])
        self.assertEqual(elements.first_derivative_field(-0.00002182), ISS_2008[0][33:43])
        self.assertEqual(elements.exponent_field(0.0), ISS_2008[0][44:52])
        self.assertEqual(elements.exponent_field(-0.11606e-4), ISS_2008[0][53:61])

    def test_exponent_field_rounding_into_next_decade(self):
        self.assertEqual(elements.exponent_field(0.0000999999), ' 10000-3')
        self.assertEqual(elements.exponent_field(0.5), ' 50000+0')

    def test_epoch_on_new_year_and_leap_day(self):
        utc = datetime.timezone.utc
        self.assertEqual(elements.epoch_field(datetime.datetime(2027, 1, 1, tzinfo=utc)),
                         '27001.00000000')
        self.assertEqual(elements.epoch_field(datetime.datetime(2028, 12, 31, 18, tzinfo=utc)),
                         '28366.75000000')


class DemoElementFile(unittest.TestCase):
    def setUp(self):
        self.day = datetime.date(2026, 12, 8)
        text = elements.demo_element_text(self.day).splitlines()
        self.marker, self.lines = text[0], text[1:]

    def test_marked_as_demo_data(self):
        self.assertTrue(self.marker.startswith('# DEMO ELEMENTS'), self.marker)

    def test_three_line_sets_with_names(self):
        self.assertEqual(len(self.lines), 6)
        self.assertEqual(self.lines[0], 'ORVEX')
        self.assertEqual(self.lines[3], 'ISS (ZARYA)')

    def test_columns_and_check_digits(self):
        for catalogue, line1, line2 in (('26931', *self.lines[1:3]), ('25544', *self.lines[4:6])):
            self.assertEqual((len(line1), len(line2)), (69, 69))
            self.assertTrue(line1.startswith('1 %sU ' % catalogue), line1)
            self.assertTrue(line2.startswith('2 %s ' % catalogue), line2)
            for line in (line1, line2):
                self.assertEqual(elements.checksum(line), int(line[68]), line)
            self.assertEqual(line1[18:32], '26342.00000000')

    def test_orbits(self):
        def orbit(line2):
            return float(line2[8:16]), float('0.' + line2[26:33]), float(line2[52:63])
        inclination, eccentricity, motion = orbit(self.lines[2])
        self.assertAlmostEqual(inclination, 97.6, delta=0.1)
        self.assertLess(eccentricity, 0.01)
        self.assertAlmostEqual(motion, 14.9, delta=0.2)
        inclination, eccentricity, motion = orbit(self.lines[5])
        self.assertAlmostEqual(inclination, 51.64, delta=0.01)
        self.assertLess(eccentricity, 0.01)
        self.assertAlmostEqual(motion, 15.5, delta=0.1)

    def test_every_day_of_a_year_gives_valid_lines(self):
        day = datetime.date(2027, 1, 1)
        while day.year == 2027:
            for line in elements.demo_element_text(day).splitlines()[2::3] + \
                    elements.demo_element_text(day).splitlines()[3::3]:
                self.assertEqual(len(line), 69, line)
                self.assertEqual(elements.checksum(line), int(line[68]), line)
            day += datetime.timedelta(days=1)

    def test_orvex_node_follows_the_sun(self):
        # Sun-synchronous: the node's angle to the sun stays the same through the year.
        def node_offset(day):
            raan = float(elements.demo_element_text(day).splitlines()[3][17:25])
            sun = elements.sun_right_ascension(
                datetime.datetime(day.year, day.month, day.day, tzinfo=datetime.timezone.utc))
            return (raan - sun) % 360.0
        self.assertAlmostEqual(node_offset(datetime.date(2027, 3, 20)), 157.5, delta=0.01)
        self.assertAlmostEqual(node_offset(datetime.date(2027, 9, 1)), 157.5, delta=0.01)


def load_formulas():
    table = {}
    with open(os.path.join(ROOT, 'data', 'formula.txt'), encoding='latin-1') as file:
        for line in file:
            if line[:1] in ('A', 'B'):
                side, mode, grid, row, a, b, c, d = [field.strip() for field in line.split(',')]
                table[(side, int(mode), grid, row)] = tuple(float(x) for x in (a, b, c, d))
    return table


def place(quantity):
    """Grid and row of a quantity named as in telemetry.CHANNELS."""
    kind, _, what = quantity.partition(' ')
    if kind == 'I':
        return 'CURRENT', what
    if kind == 'T':
        return 'TEMP', what
    return 'POWER', 'P Out' if kind == 'P' else what


class Telemetry(unittest.TestCase):
    def test_callsign_lists_are_the_default_list(self):
        self.assertEqual(len(telemetry.SIDE_A_CALLS) + len(telemetry.SIDE_B_CALLS), 33)
        self.assertIn('NODIGI', telemetry.SIDE_A_CALLS)
        self.assertIn('ORVEX-2', telemetry.SIDE_A_CALLS)
        self.assertIn('ORVEX', telemetry.SIDE_B_CALLS)
        self.assertNotIn('ORVEX-1', telemetry.SIDE_B_CALLS)

    def test_lines_of_a_round(self):
        craft = telemetry.Spacecraft(random.Random(5))
        for _ in range(10):
            frames = craft.frames()
            seen = set()
            for frame in frames:
                call, _, line = frame.partition('>TLM:')
                side = 'A' if call in telemetry.SIDE_A_CALLS else 'B'
                self.assertTrue(side == 'A' or call in telemetry.SIDE_B_CALLS, call)
                fields = line.split(',')
                self.assertEqual(len(fields), 9, line)
                self.assertTrue(set(fields[7]) <= {'0', '1'}, line)
                seen.add((side, 2 * int(fields[7][2]) + int(fields[7][3])))
                for raw in fields[1:5]:
                    self.assertTrue(raw.isdigit() and 0 <= int(raw) <= 255, line)
            self.assertEqual(seen, {(side, mode) for side in 'AB' for mode in range(4)})
            craft.advance()

    def test_calibrated_values_are_plausible(self):
        formulas = load_formulas()
        limits = {'CURRENT': (0, 400), 'TEMP': (-25, 60)}
        craft = telemetry.Spacecraft(random.Random(9))
        for _ in range(40):
            for (side, mode), quantities in telemetry.CHANNELS.items():
                for quantity in quantities:
                    grid, row = place(quantity)
                    a, b, c, d = formulas[(side, mode, grid, row)]
                    x = craft.raw(side, quantity)
                    value = ((a * x + b) * x + c) * x + d
                    low, high = {'Batt A': (7.2, 8.8), 'Batt B': (7.2, 8.8), 'P Out': (1, 2.2),
                                 '8V Reg': (7.7, 8.3)}.get(row, limits.get(grid))
                    if grid == 'CURRENT' and row == 'Batt':
                        low, high = -160, 130
                    self.assertTrue(low <= value <= high, (side, mode, quantity, x, value))
            craft.advance()

    def test_formula_file_gives_back_the_model_values(self):
        # The raw counts are the model's values through the inverse of formula.txt.
        formulas = load_formulas()
        craft = telemetry.Spacecraft(random.Random(4))
        craft.noise = lambda spread: 0.0
        for _ in range(12):
            for (side, mode), quantities in telemetry.CHANNELS.items():
                for quantity in quantities:
                    grid, row = place(quantity)
                    a, b, c, d = formulas[(side, mode, grid, row)]
                    x = craft.raw(side, quantity)
                    value = ((a * x + b) * x + c) * x + d
                    step = {'CURRENT': 4.1, 'TEMP': 0.6, 'POWER': 0.06}[grid]
                    self.assertAlmostEqual(value, craft.value(quantity), delta=step / 2 + 1e-9,
                                           msg=(side, mode, quantity, x))
            craft.advance()

    def test_values_change_between_rounds(self):
        craft = telemetry.Spacecraft(random.Random(2))
        first = [frame.split(',')[1:5] for frame in craft.frames()]
        craft.advance()
        second = [frame.split(',')[1:5] for frame in craft.frames()]
        self.assertGreaterEqual(sum(a != b for a, b in zip(first, second)), 4)


class Traffic(unittest.TestCase):
    def test_every_line_is_a_frame_in_monitor_form(self):
        count = 0
        with open(os.path.join(HERE, 'traffic.txt'), encoding='latin-1') as file:
            for line in file:
                line = line.rstrip('\n')
                if not line.strip() or line.startswith('#'):
                    continue
                count += 1
                head, sep, info = line.partition(':')
                self.assertTrue(sep and info, line)
                source, _, rest = head.partition('>')
                for call in [source] + rest.split(','):
                    self.assertRegex(call, CALL)
                self.assertLessEqual(len(info), 256, line)
                agwpe.unproto_frame(line)
        self.assertGreater(count, 10)


class Agwpe(unittest.TestCase):
    def frame(self, kind, call_from, call_to, data):
        raw = agwpe.encode(kind, 0, 0xF0, call_from, call_to, data)
        return agwpe.Frame(raw[:36], raw[36:])

    def test_header_layout(self):
        raw = agwpe.encode('m', 1, 0xF0, 'Q9AAA', 'CQ', b'xyz')
        self.assertEqual(len(raw), 39)
        self.assertEqual(raw[0], 1)
        self.assertEqual(raw[4:5], b'm')
        self.assertEqual(raw[6], 0xF0)
        self.assertEqual(raw[8:18], b'Q9AAA\0\0\0\0\0')
        self.assertEqual(raw[28:32], b'\x03\0\0\0')

    def test_unproto_with_and_without_path(self):
        plain = agwpe.unproto_frame('Q9AAA>CQ:hello')
        self.assertEqual(plain[4:5], b'M')
        self.assertEqual(plain[36:], b'hello')
        via = agwpe.unproto_frame('Q9AAA>APRS,ORVEX-1,WIDE2-1:>hi')
        self.assertEqual(via[4:5], b'V')
        self.assertEqual(via[36], 2)
        self.assertEqual(via[37:47], b'ORVEX-1\0\0\0')
        self.assertEqual(via[57:], b'>hi')

    def test_repeated_by_the_satellite(self):
        sent = self.frame('T', 'Q9XYZ', 'APRS',
                          b' 1:Fm Q9XYZ To APRS Via ORVEX-1,WIDE2-1 <UI pid=F0 Len=7 PF=0 '
                          b'>[01:44:21]\r>test\r\r\r\0')
        self.assertEqual(agwpe.repeated_by(sent, 'ORVEX-1'),
                         'Q9XYZ>APRS,ORVEX-1*,WIDE2-1:>test\r\r')

    def test_not_repeated_when_the_satellite_is_not_first(self):
        for header in (b' 1:Fm Q9XYZ To APRS <UI pid=F0 Len=2 PF=0 >[01:44:21]\rhi\r\0',
                       b' 1:Fm Q9XYZ To APRS Via WIDE1-1,ORVEX-1 <UI pid=F0 Len=2 PF=0 >[x]\rhi\r',
                       b' 1:Fm Q9XYZ To APRS Via ORVEX-10 <UI pid=F0 Len=2 PF=0 >[x]\rhi\r'):
            self.assertIsNone(agwpe.repeated_by(self.frame('T', 'Q9XYZ', 'APRS', header), 'ORVEX-1'))


if __name__ == '__main__':
    unittest.main()
