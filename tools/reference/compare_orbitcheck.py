#!/usr/bin/python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Largest differences between orbitcheck and a reference file of this folder.

usage: compare_orbitcheck.py ORBITCHECK ELEMENT_DIR eclipse|doppler REFERENCE
"""
import subprocess
import sys
from datetime import datetime


def seconds(text):
    return datetime.strptime(text, "%Y-%m-%dT%H:%M:%S.%fZ").timestamp()


def scenarios(path):
    current = None
    for line in open(path):
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        if line.startswith("@ "):
            current = (line[2:].split("|"), [])
            yield current
        else:
            current[1].append(line.split())


def main():
    tool, folder, kind, reference = sys.argv[1:5]
    for fields, rows in list(scenarios(reference)):
        ours = subprocess.run([tool, kind, folder] + fields, capture_output=True, text=True,
                              check=True).stdout.split("\n")
        ours = [l.split() for l in ours if l]
        if kind == "eclipse":
            worst = max([abs(seconds(a[i]) - seconds(b[i])) for a, b in zip(ours, rows)
                         for i in (0, 1)], default=0.0)
            print("%-45s %3d/%3d intervals, worst edge %.3f s"
                  % ("|".join(fields), len(ours), len(rows), worst))
        else:
            worst = [max(abs(float(a[i]) - float(b[i])) for a, b in zip(ours, rows))
                     for i in (1, 2, 3)]
            print("%-70s %3d/%3d rows, range %.4f km, rate %.7f km/s, Doppler %.4f Hz"
                  % ("|".join(fields), len(ours), len(rows), *worst))


if __name__ == "__main__":
    main()
